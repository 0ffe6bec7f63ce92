#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "DisplayText.h"
#include "InputList.h"

namespace lintrel {
namespace {

using Texts = std::vector<std::string>;

TEST(DisplayText, ShowsABlankAndTheNameAfterTheLastSeparator) {
    struct Case {
        const char* name;
        const char* path;
        const char* display;
    };
    const Case cases[] = {
        {"a file shows its name", "/home/u/plans/Floor1.dxf", " Floor1.dxf"},
        {"a name of three characters shows the end of its folder", "/abc/dxf", " abc/dxf"},
        {"a separator among the last four characters is passed over", "/x/ab/dxf", " ab/dxf"},
        {"a separator as the fifth-last character is found", "/x/a/.dxf", " .dxf"},
        {"a one-letter name", "/plans/a.dxf", " a.dxf"},
        {"a path without separator shows whole", "plan.dxf", " plan.dxf"},
        {"a path too short to search shows whole", "/dxf", " /dxf"},
        {"a backslash is an ordinary character here", "C:\\plans\\Floor1.dxf",
         " C:\\plans\\Floor1.dxf"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(displayText(c.path), c.display) << c.name;
    }
}

// The order the list always had: every entry appended, then the whole list sorted again by its
// exchange sort on ASCII-lower-cased paths. Kept here as the measure of the insertion.
void exchangeSort(Texts& paths) {
    auto lower = [](std::string text) {
        for (char& c : text) {
            c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        }
        return text;
    };
    for (std::size_t i = 0; i + 1 < paths.size(); ++i) {
        for (std::size_t j = i + 1; j < paths.size(); ++j) {
            if (lower(paths[i]) > lower(paths[j])) {
                std::swap(paths[i], paths[j]);
            }
        }
    }
}

Texts listed(const InputList& list) {
    Texts paths;
    for (int k = 1; k <= list.dwgCount(); ++k) {
        paths.push_back(list.dwgPath(k));
        EXPECT_EQ(list.dwgDisplay(k), displayText(list.dwgPath(k))) << "the row follows its path";
    }
    return paths;
}

TEST(InputList, OrdersByLowerCasedPathInTheExchangeSortsOrder) {
    struct Case {
        const char* name;
        Texts paths;
        Texts sorted;
    };
    const Case cases[] = {
        {"one entry stays", {"/a.dxf"}, {"/a.dxf"}},
        {"names in one folder are ordered",
         {"/d/z.dxf", "/d/a.dxf", "/d/m.dxf"},
         {"/d/a.dxf", "/d/m.dxf", "/d/z.dxf"}},
        {"the folder decides before the name", {"/b/a.dxf", "/a/z.dxf"}, {"/a/z.dxf", "/b/a.dxf"}},
        {"upper and lower case sort together",
         {"/c.dxf", "/B.dxf", "/a.dxf"},
         {"/a.dxf", "/B.dxf", "/c.dxf"}},
        {"a key that is a prefix of another comes first",
         {"/plan.dxf.dxf", "/plan.dxf"},
         {"/plan.dxf", "/plan.dxf.dxf"}},
        {"keys equal but for case are not exchanged", {"/b.dxf", "/B.dxf"}, {"/b.dxf", "/B.dxf"}},
        {"keys equal but for case keep either order", {"/B.dxf", "/b.dxf"}, {"/B.dxf", "/b.dxf"}},
        {"the exchanges decide between keys equal but for case",
         {"/B.dxf", "/b.dxf", "/a.dxf"},
         {"/a.dxf", "/b.dxf", "/B.dxf"}},
        {"only ASCII letters are lower-cased", {"/_.dxf", "/A.dxf"}, {"/_.dxf", "/A.dxf"}},
        {"bytes above ASCII come after every letter",
         {"/\xC3\xA9.dxf", "/z.dxf"},
         {"/z.dxf", "/\xC3\xA9.dxf"}},
    };
    for (const auto& c : cases) {
        InputList list;
        for (const auto& path : c.paths) {
            list.accept(path);
        }
        EXPECT_EQ(listed(list), c.sorted) << c.name;
    }
}

TEST(InputList, PutsEveryFileWhereTheExchangeSortPutIt) {
    // Short names of few letters in both cases, so that many keys are equal but for case.
    std::mt19937 random(17);
    for (int round = 0; round < 200; ++round) {
        InputList list;
        Texts expected;
        for (int n = 0; n < 40; ++n) {
            std::string path = "/";
            for (int length = 1 + static_cast<int>(random() % 3); length > 0; --length) {
                path += "aAbB"[random() % 4];
            }
            if (list.contains(path)) {
                continue;
            }
            list.accept(path);
            expected.push_back(path);
            exchangeSort(expected);
            ASSERT_EQ(listed(list), expected) << "round " << round << ", after " << path;
        }
        for (const auto& path : expected) {
            EXPECT_TRUE(list.contains(path)) << path;
        }
    }
}

}  // namespace
}  // namespace lintrel

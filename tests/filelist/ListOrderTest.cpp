#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DisplayText.h"
#include "ListSort.h"

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

TEST(Sort, OrdersByLowerCasedPathInItsExchangeOrder) {
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
        Texts paths = c.paths;
        Texts tags;
        for (const auto& path : paths) {
            tags.push_back("tag " + path);
        }
        sort(paths.size(), paths, tags);
        EXPECT_EQ(paths, c.sorted) << c.name;
        Texts expectedTags;
        for (const auto& path : c.sorted) {
            expectedTags.push_back("tag " + path);
        }
        EXPECT_EQ(tags, expectedTags) << c.name << ": the companion follows";
    }
}

TEST(Sort, LeavesEntriesBeyondNumCountAlone) {
    Texts paths = {"/c.dxf", "/b.dxf", "/a.dxf"};
    Texts rows = {" c.dxf", " b.dxf", " a.dxf"};
    sort(2, paths, rows);
    EXPECT_EQ(paths, (Texts{"/b.dxf", "/c.dxf", "/a.dxf"}));
    EXPECT_EQ(rows, (Texts{" b.dxf", " c.dxf", " a.dxf"}));
}

}  // namespace
}  // namespace lintrel

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "Admission.h"
#include "FakeWindow.h"
#include "InputList.h"
#include "ListEvents.h"
#include "Reachability.h"
#include "TempDir.h"

namespace lintrel {
namespace {

namespace fs = std::filesystem;
using testing::FakeWindow;
using testing::TempDir;
using Texts = std::vector<std::string>;

std::string headerOf(const std::string& version) {
    return "  0\r\nSECTION\r\n  2\r\nHEADER\r\n  9\r\n$ACADVER\r\n  1\r\n" + version + "\r\n";
}

// A folder of drawings to drop, each written under the name it is dropped by.
class Drawings {
public:
    std::string add(const std::string& name, const std::string& version = "AC1015") {
        fs::create_directories((m_dir.path() / name).parent_path());
        return m_dir.write(name, headerOf(version));
    }
    std::string pathOf(const std::string& name) const { return (m_dir.path() / name).string(); }

private:
    TempDir m_dir;
};

DropPayload filesDropped(Texts paths) {
    return {true, std::move(paths)};
}

Texts listedPaths(const InputList& list) {
    Texts paths;
    for (int k = 1; k <= list.dwgCount(); ++k) {
        paths.push_back(list.dwgPath(k));
    }
    return paths;
}

Texts listedRows(const InputList& list) {
    Texts rows;
    for (int k = 1; k <= list.dwgCount(); ++k) {
        rows.push_back(list.dwgDisplay(k));
    }
    return rows;
}

TEST(List1_OLEDragDrop, ListsDrawingsSortedAndCountsThem) {
    Drawings drawings;
    auto z = drawings.add("z.dxf");
    auto a = drawings.add("a.dxf");
    auto m = drawings.add("m.dxf", "AC1018");
    InputList list;
    FakeWindow window;
    List1_OLEDragDrop(list, window, filesDropped({z, a, m}));
    EXPECT_EQ(listedPaths(list), (Texts{a, m, z}));
    EXPECT_EQ(listedRows(list), (Texts{" a.dxf", " m.dxf", " z.dxf"}));
    EXPECT_EQ(window.listRows, (Texts{" a.dxf", " m.dxf", " z.dxf"}));
    EXPECT_EQ(window.messages, Texts{});
    EXPECT_EQ(window.caption("DATACount"), " 003");
}

TEST(List1_OLEDragDrop, TestsTheNameByItsLastThreeCharacters) {
    struct Case {
        const char* name;
        const char* file;
        std::string refusal;  // empty: listed
    };
    const Case cases[] = {
        {"a lower-case dxf ending is taken", "b.dxf", ""},
        {"an upper-case DXF ending is taken", "A.DXF", ""},
        {"a mixed-case ending is refused", "c.Dxf", " は、DXFファイルではありません。"},
        {"an ending dXF is refused", "c.dXF", " は、DXFファイルではありません。"},
        {"a name ending in dxf without a dot is probed and taken", "plandxf", ""},
        {"a dxf before another extension is refused", "d.dxf.bak",
         " は、DXFファイルではありません。"},
        {"a dwg drawing is refused", "e.dwg", " は、DXFファイルではありません。"},
    };
    for (const auto& c : cases) {
        Drawings drawings;
        auto path = drawings.add(c.file);
        InputList list;
        FakeWindow window;
        List1_OLEDragDrop(list, window, filesDropped({path}));
        EXPECT_EQ(window.messages, c.refusal.empty() ? Texts{} : Texts{path + c.refusal}) << c.name;
        EXPECT_EQ(list.dwgCount(), c.refusal.empty() ? 1 : 0) << c.name;
    }
}

TEST(List1_OLEDragDrop, RefusesAPathAlreadyListedButNotTheSameFileInOtherCase) {
    Drawings drawings;
    auto lower = drawings.add("p.dxf");
    auto upper = drawings.add("P.dxf");
    InputList list;
    FakeWindow window;
    List1_OLEDragDrop(list, window, filesDropped({lower, lower}));
    List1_OLEDragDrop(list, window, filesDropped({lower, upper}));
    EXPECT_EQ(window.messages, (Texts{lower + " は、すでに選択されています。",
                                      lower + " は、すでに選択されています。"}));
    EXPECT_EQ(listedPaths(list), (Texts{lower, upper}));
    EXPECT_EQ(window.caption("DATACount"), " 002");
}

TEST(List1_OLEDragDrop, GivesEachRefusalItsOwnMessageInDropOrder) {
    Drawings drawings;
    auto r14 = drawings.add("old/r14.dxf", "AC1014");
    auto good = drawings.add("good.dxf");
    auto v2007 = drawings.add("new/2007.dxf", "AC1021");
    auto unknown = drawings.add("x/future.dxf", "AC1032");
    fs::create_directory(drawings.pathOf("folder.dxf"));
    auto folder = drawings.pathOf("folder.dxf");
    InputList list;
    FakeWindow window;
    List1_OLEDragDrop(list, window, filesDropped({r14, "notes.txt", good, v2007, unknown, folder}));
    EXPECT_EQ(window.messages, (Texts{
                                   r14 + " は、AutoCAD R14/LT98/LT97 DXFファイルです。",
                                   "notes.txt は、DXFファイルではありません。",
                                   v2007 + " は、AutoCAD 2007/LT2007 DXFファイルです。",
                                   unknown + " は、形式不明な DXFファイルです。",
                                   folder + " は、フォルダです。",
                               }));
    EXPECT_EQ(listedPaths(list), Texts{good});
    EXPECT_EQ(window.listRows, Texts{" good.dxf"});
}

// Notes what List1 shows whenever a message is shown, and how many rows were ever appended.
class ListWatchingWindow : public FakeWindow {
public:
    void listAppend(std::string_view row) override {
        FakeWindow::listAppend(row);
        ++appended;
    }
    void showMessage(std::string_view prompt) override {
        FakeWindow::showMessage(prompt);
        rowsAtMessages.push_back(listRows);
    }
    int appended = 0;
    std::vector<Texts> rowsAtMessages;
};

TEST(List1_OLEDragDrop, ShowsTheListAtEveryMessageAndBuildsItOnceAfterTheDrop) {
    Drawings drawings;
    auto b = drawings.add("b.dxf");
    auto a = drawings.add("a.dxf");
    auto c = drawings.add("c.dxf");
    InputList list;
    ListWatchingWindow window;
    List1_OLEDragDrop(list, window, filesDropped({b, a, "x.txt", c, "y.txt"}));
    EXPECT_EQ(window.rowsAtMessages,
              (std::vector<Texts>{{" a.dxf", " b.dxf"}, {" a.dxf", " b.dxf", " c.dxf"}}));
    EXPECT_EQ(window.listRows, (Texts{" a.dxf", " b.dxf", " c.dxf"}));
    EXPECT_EQ(window.appended, 5);
}

TEST(List1_OLEDragDrop, SortsByTheWholePathFolderFirst) {
    Drawings drawings;
    auto bA = drawings.add("b/a.dxf");
    auto aZ = drawings.add("a/z.dxf");
    auto upperB = drawings.add("B.dxf");
    auto lowerC = drawings.add("c.dxf");
    InputList list;
    FakeWindow window;
    List1_OLEDragDrop(list, window, filesDropped({lowerC, bA, upperB, aZ}));
    EXPECT_EQ(listedPaths(list), (Texts{aZ, upperB, bA, lowerC}));
    EXPECT_EQ(window.listRows, (Texts{" z.dxf", " B.dxf", " a.dxf", " c.dxf"}));
}

TEST(List1_OLEDragDrop, OnlyCountsWhenNothingIsTaken) {
    struct Case {
        const char* name;
        DropPayload payload;
    };
    const Case cases[] = {
        {"a file list whose every path is refused", {true, {"a.txt", "b.Dxf"}}},
        {"an empty file list", {true, {}}},
    };
    for (const auto& c : cases) {
        InputList list;
        FakeWindow window;
        List1_OLEDragDrop(list, window, c.payload);
        EXPECT_EQ(list.dwgCount(), 0) << c.name;
        EXPECT_EQ(window.listRows, Texts{}) << c.name;
        EXPECT_EQ(window.caption("DATACount"), " 000") << c.name;
    }
}

TEST(List1_OLEDragDrop, IgnoresPathsOfAPayloadWithoutFileList) {
    Drawings drawings;
    auto path = drawings.add("a.dxf");
    InputList list;
    FakeWindow window;
    List1_OLEDragDrop(list, window, {false, {path}});
    EXPECT_EQ(list.dwgCount(), 0);
    EXPECT_EQ(window.events, Texts{"caption DATACount= 000"});
}

TEST(DataCountCaption, ShowsABlankAndAtLeastThreeDigits) {
    struct Case {
        const char* name;
        int count;
        const char* caption;
    };
    const Case cases[] = {
        {"no file", 0, " 000"},           {"one file", 1, " 001"},
        {"nine files", 9, " 009"},        {"twelve files", 12, " 012"},
        {"99 files", 99, " 099"},         {"123 files", 123, " 123"},
        {"999 files", 999, " 999"},       {"1000 files show all digits", 1000, " 1000"},
        {"12345 files", 12345, " 12345"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(dataCountCaption(c.count), c.caption) << c.name;
    }
}

TEST(LISTClear_Click, EmptiesTheListAndResetsTheResultLabels) {
    Drawings drawings;
    auto path = drawings.add("a.dxf");
    InputList list;
    FakeWindow window;
    List1_OLEDragDrop(list, window, filesDropped({path}));
    window.events.clear();
    LISTClear_Click(list, window);
    EXPECT_EQ(list.dwgCount(), 0);
    EXPECT_EQ(window.listRows, Texts{});
    EXPECT_EQ(window.events, (Texts{
                                 "caption DATACount=",
                                 "caption Label1=0",
                                 "caption Label2=0",
                                 "caption Label3=0",
                                 "caption Label4=0",
                                 "caption Label5=0",
                                 "caption Label6=0",
                                 "caption Label12=0",
                                 "caption Label18=0",
                                 "caption Label22=0",
                                 "caption Label25=0",
                                 "caption Label46=0",
                                 "caption Label47=0",
                                 "visible Label47=0",
                                 "caption Label54=0",
                                 "caption Label32=",
                                 "caption Label52=0.00",
                                 "visible Label55=0",
                             }));
}

TEST(LISTClear_Click, LetsTheSameFilesBeDroppedAgain) {
    Drawings drawings;
    auto path = drawings.add("a.dxf");
    InputList list;
    FakeWindow window;
    List1_OLEDragDrop(list, window, filesDropped({path}));
    LISTClear_Click(list, window);
    List1_OLEDragDrop(list, window, filesDropped({path}));
    EXPECT_EQ(window.messages, Texts{});
    EXPECT_EQ(window.listRows, Texts{" a.dxf"});
    EXPECT_EQ(window.caption("DATACount"), " 001");
}

TEST(AdmitPaths, GivesAMissingFileAndAFolderTheirOwnMessages) {
    Drawings drawings;
    fs::create_directory(drawings.pathOf("folder.dxf"));
    const std::string missing = drawings.pathOf("missing.dxf");
    const std::string underAFile = drawings.add("file.dxf") + "/inner.dxf";
    InputList list;
    EXPECT_EQ(admitPaths(list, {missing, drawings.pathOf("folder.dxf"), underAFile}),
              (Texts{missing + " は、見つかりません。",
                     drawings.pathOf("folder.dxf") + " は、フォルダです。",
                     underAFile + " は、見つかりません。"}));
}

TEST(ReachabilityRefusal, NamesWhatKeepsAFileFromBeingRead) {
    const struct {
        const char* name;
        PathLook look;
        std::string_view refusal;
    } cases[] = {
        {"a readable file", {0, false, true, 0}, ""},
        {"a missing file", {ENOENT, false, false, 0}, kMissingFile},
        {"a path through a file", {ENOTDIR, false, false, 0}, kMissingFile},
        {"a folder that cannot be searched", {EACCES, false, false, 0}, kUnreadableFile},
        {"a file without read permission", {0, false, true, EACCES}, kUnreadableFile},
        {"a folder", {0, true, false, 0}, kFolder},
        {"a pipe, judged by the version probe", {0, false, false, 0}, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(reachabilityRefusal(c.look), c.refusal) << c.name;
    }
    EXPECT_EQ(kUnreadableFile, " は、読み取りできません。読み取り権限を確認して下さい。");
}

TEST(AdmitPaths, RunsTheDropTestsWithoutAWindow) {
    Drawings drawings;
    auto good = drawings.add("good.DXF");
    auto old = drawings.add("old.dxf", "AC1006");
    InputList list;
    auto refusals = admitPaths(list, {old, good, "plan.dwg", good});
    EXPECT_EQ(refusals, (Texts{old + " は、AutoCAD R10 DXFファイルです。",
                               "plan.dwg は、DXFファイルではありません。",
                               good + " は、すでに選択されています。"}));
    EXPECT_EQ(listedPaths(list), Texts{good});
    EXPECT_EQ(listedRows(list), Texts{" good.DXF"});
}

}  // namespace
}  // namespace lintrel

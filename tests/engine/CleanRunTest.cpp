#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <regex>
#include <string>

#include "CleanRun.h"
#include "Controls.h"
#include "Drawing.h"
#include "FakeWindow.h"
#include "TempDir.h"

namespace lintrel {
namespace {

using testing::drawing;
using testing::FakeWindow;
using testing::record;
using testing::TempDir;

const std::string kThreeTexts = record("TEXT", {{"  1", "a"}}) + record("TEXT", {{"  1", "b"}}) +
                                record("TEXT", {{"  1", "c"}});

struct PreconditionCase {
    const char* name;
    std::function<void(FakeWindow&)> setUp;
    const char* message;
    std::map<std::string, std::string> textsAfter;
};

void untickAll(FakeWindow& window) {
    for (auto box : control::kCheckBoxes) {
        window.tick(box, false);
    }
}

TEST(CleanRun, ChecksItsPreconditionsInOrder) {
    const PreconditionCase cases[] = {
        {"an empty list is reported first, even with nothing ticked",
         [](FakeWindow& w) {
             w.paths.clear();
             w.displays.clear();
             w.listRows.clear();
             untickAll(w);
         },
         "ファイルを選択して下さい。",
         {}},
        {"nothing ticked", [](FakeWindow& w) { untickAll(w); }, "処理項目を選択して下さい。", {}},
        {"only the size rule with every length empty or zero",
         [](FakeWindow& w) {
             untickAll(w);
             w.tick(control::Check5, true);
             w.texts["Text2"] = ".";
             w.texts["Text3"] = "0";
         },
         "処理項目ファイルを選択して下さい。",
         {{"Text1", "0"}, {"Text2", "0"}, {"Text3", "0"}, {"Text4", "0"}}},
        {"a pasted text that is not a number",
         [](FakeWindow& w) { w.texts["Text5"] = "1-2"; },
         "ダブり線の削除の「線間ズレ」に数値を入力して下さい。（入力値: 1-2）",
         {{"Text5", "1-2"}, {"Text6", "0"}, {"Text8", "0"}, {"Text9", "0"}}},
        {"a number beyond single precision",
         [](FakeWindow& w) { w.texts["Text5"] = "1e300"; },
         "ダブり線の削除の「線間ズレ」に扱える範囲の数値を入力して下さい。（入力値: 1e300）",
         {{"Text5", "1e300"}}},
        {"a number beyond double precision",
         [](FakeWindow& w) {
             w.tick(control::Check5, true);
             w.texts["Text1"] = "1e400";
         },
         "長さ による削除の「垂直・水平線」の長さに扱える範囲の数値を入力して下さい。（入力値: "
         "1e400）",
         {{"Text1", "1e400"}}},
    };
    for (const auto& c : cases) {
        TempDir dir;
        FakeWindow window;
        window.addFile(dir.write("a.dxf", drawing("")));
        c.setUp(window);
        RunReport report = CleanRun(window).run();
        EXPECT_EQ(report.outcome, RunOutcome::Refused) << c.name;
        EXPECT_EQ(window.messages, std::vector<std::string>{c.message}) << c.name;
        EXPECT_TRUE(window.isEnabled(control::Check1)) << c.name;
        EXPECT_FALSE(std::filesystem::exists(dir.path() / "a-Cut.dxf")) << c.name;
        for (const auto& [box, text] : c.textsAfter) {
            EXPECT_EQ(window.text(box), text) << c.name << " " << box;
        }
    }
}

TEST(CleanRun, StartsWhenASizeTextDiffersFromZeroAsText) {
    TempDir dir;
    FakeWindow window;
    window.addFile(dir.write("a.dxf", drawing("")));
    untickAll(window);
    window.tick(control::Check5, true);
    window.texts["Text1"] = "0.0";
    EXPECT_EQ(CleanRun(window).run().outcome, RunOutcome::Completed);
}

TEST(CleanRun, LocksTheWindowAndGivesItBackWithTotalsAndTime) {
    TempDir dir;
    FakeWindow window;
    window.addFile(dir.write("a.dxf", drawing(kThreeTexts)));
    window.addFile(dir.write("b.dxf", drawing(kThreeTexts)));
    std::vector<std::string> labelOneDuringRun;
    window.onYield = [&](FakeWindow& w) {
        EXPECT_FALSE(w.isEnabled(control::Check13));
        EXPECT_FALSE(w.isEnabled(control::Command3));
        EXPECT_FALSE(w.isEnabled(control::List1));
        EXPECT_FALSE(w.isVisible(control::Start));
        EXPECT_TRUE(w.isVisible(control::Command1));
        if (labelOneDuringRun.empty() || labelOneDuringRun.back() != w.caption("Label1")) {
            labelOneDuringRun.push_back(w.caption("Label1"));
        }
    };
    RunReport report = CleanRun(window).run();

    EXPECT_EQ(report.outcome, RunOutcome::Completed);
    EXPECT_EQ(window.messages, std::vector<std::string>{"完了しました。"});
    EXPECT_EQ(labelOneDuringRun, (std::vector<std::string>{"0", "1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(window.caption("Label12"), "6");
    EXPECT_TRUE(std::regex_match(window.caption("Label32"), std::regex("[0-9]+\\.[0-9] Sec")));
    EXPECT_EQ(window.windowCaption, "   Lintrel");
    for (auto name : {control::Check12, control::Check13, control::Text9, control::Command3,
                      control::List1, control::LISTClear, control::Option1_1}) {
        EXPECT_TRUE(window.isEnabled(name)) << name;
    }
    EXPECT_TRUE(window.isVisible(control::Start));
    EXPECT_FALSE(window.isVisible(control::Command1));
    EXPECT_FALSE(window.isVisible(control::ProgressBar1));
    // Set before each read, the bar climbs towards 100 within each file, never past it.
    const auto& bar = window.progressValues;
    EXPECT_EQ(std::adjacent_find(bar.begin(), bar.end(), std::greater<>()) - bar.begin(),
              std::find(bar.begin() + 1, bar.end(), 0) - bar.begin() - 1);
    EXPECT_GT(window.progressValues.back(), 80);
    EXPECT_LE(window.progressValues.back(), 100);
    EXPECT_EQ(report.files.size(), 2U);
    EXPECT_EQ(report.files[1].counters.TextDeleteCount, 3);
}

TEST(CleanRun, ShowsEachFileInTheCaptionWhileItWorks) {
    TempDir dir;
    FakeWindow window;
    window.addFile(dir.write("plan.dxf", drawing("")));
    CleanRun(window).run();
    auto busy =
        std::find(window.events.begin(), window.events.end(), "window   plan.dxf < 処理中 >");
    ASSERT_NE(busy, window.events.end());
    EXPECT_EQ(*std::next(busy), "visible Label55=0");
    EXPECT_EQ(*std::next(busy, 2), "visible Label47=0");
}

TEST(CleanRun, InterruptDiscardsTheCurrentOutputOnly) {
    TempDir dir;
    FakeWindow window;
    for (const char* name : {"a.dxf", "b.dxf", "c.dxf"}) {
        window.addFile(dir.write(name, drawing(kThreeTexts)));
    }
    std::filesystem::copy_file(dir.path() / "a.dxf", dir.path() / "b-Cut.dxf");
    const std::string olderCopy = testing::readBytes(dir.path() / "b-Cut.dxf");
    window.onYield = [](FakeWindow& w) {
        if (w.windowCaption.find("b.dxf") != std::string::npos && w.caption("Label1") == "4") {
            w.interrupt = true;
        }
    };
    RunReport report = CleanRun(window).run();

    EXPECT_EQ(report.outcome, RunOutcome::Interrupted);
    EXPECT_TRUE(window.messages.empty());
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "a-Cut.dxf"));
    EXPECT_EQ(testing::readBytes(dir.path() / "b-Cut.dxf"), olderCopy);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "c-Cut.dxf"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 5);
    EXPECT_TRUE(window.isVisible(control::Start));
    EXPECT_FALSE(window.isVisible(control::ProgressBar1));
    EXPECT_EQ(window.caption("Label52"), "0.00");
    EXPECT_EQ(window.caption("Label1"), "4");
    EXPECT_EQ(window.caption("Label12"), "0");
    EXPECT_TRUE(window.isEnabled(control::Check12));
}

TEST(CleanRun, StopsAtADamagedFileAndNamesIt) {
    TempDir dir;
    FakeWindow window;
    window.addFile(dir.write("a.dxf", drawing(kThreeTexts)));
    window.addFile(dir.write("b.dxf", "  0\r\nSECTION\r\n  2\r\nHEADER\r\n"));
    window.addFile(dir.write("c.dxf", drawing(kThreeTexts)));
    RunReport report = CleanRun(window).run();

    EXPECT_EQ(report.outcome, RunOutcome::Failed);
    EXPECT_EQ(window.messages, std::vector<std::string>{" b.dxfは壊れている可能性があります。　"});
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "a-Cut.dxf"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "b-Cut.dxf"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "c-Cut.dxf"));
    EXPECT_TRUE(window.isVisible(control::Start));
    EXPECT_TRUE(window.isEnabled(control::Command3));
    EXPECT_EQ(window.caption("Label12"), "0");
}

}  // namespace
}  // namespace lintrel

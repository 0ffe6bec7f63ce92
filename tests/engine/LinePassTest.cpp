#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "CleanRun.h"
#include "Controls.h"
#include "Drawing.h"
#include "FakeWindow.h"
#include "LinePass.h"
#include "TempDir.h"

namespace lintrel {
namespace {

using testing::crlf;
using testing::drawing;
using testing::FakeWindow;
using testing::lineRecord;
using testing::record;
using testing::TempDir;

// Only the line analysis runs; duplicates and joins as asked.
FakeWindow lineWindow(bool duplicates, bool joins) {
    FakeWindow window;
    for (auto box : control::kCheckBoxes) {
        window.tick(box, false);
    }
    window.tick(control::Check7, duplicates);
    window.tick(control::Check9, joins);
    window.tick(control::Check10, true);
    window.tick(control::Check11, true);
    return window;
}

TEST(LinePass, PairsEachVerdictWithItsOwnRecordWhateverSurroundsIt) {
    const std::string first = lineRecord("0", "0", "10", "0");
    const std::string second = lineRecord("0", "5", "10", "5");
    // Records and values that a careless reader would take for LINE records, or miss as such.
    // The HATCH has no rule; its value "  0" is a value all the same, hiding no LINE.
    auto confusing = [](const char* y) {
        return record("TEXT", {{"  1", "LINE"}, {"  7", "  0"}, {"  1", "  0"}}) +
               record("MTEXT", {{"  1", "  0"}, {"  3", "LINE"}}) +
               crlf({"  0", "HATCH", "  8", "LINE", " 70", "  0", " 10", "7", " 20", y, " 11", "8",
                     " 21", "9", "  0", "SPLINE", "  1", "LINE"}) +
               record("LWPOLYLINE", {{"  8", "LINE"}, {" 90", "0"}});
    };
    auto entities = first + confusing("1") + first + second + confusing("2") + second;
    auto kept = first + confusing("1") + second + confusing("2");

    TempDir dir;
    FakeWindow window = lineWindow(true, false);
    window.addFile(dir.write("mixed.dxf", drawing(entities)));
    RunReport report = CleanRun(window).run();
    ASSERT_EQ(report.outcome, RunOutcome::Completed);
    EXPECT_EQ(testing::readBytes(dir.path() / "mixed-Cut.dxf"), drawing(kept));
    EXPECT_EQ(window.caption("Label25"), "2");
    EXPECT_EQ(window.caption("Label47"), "4");
}

TEST(LinePass, WritesAJoinedLineWithTheTableCoordinates) {
    TempDir dir;
    FakeWindow window = lineWindow(false, true);
    window.texts["Text9"] = "2";
    auto entities = lineRecord("0", "0", "10", "0") + lineRecord("12.0", "0", "20", "0");
    window.addFile(dir.write("join.dxf", drawing(entities)));
    ASSERT_EQ(CleanRun(window).run().outcome, RunOutcome::Completed);
    EXPECT_EQ(testing::readBytes(dir.path() / "join-Cut.dxf"),
              drawing(lineRecord("20", "0", "0", "0")));
    EXPECT_EQ(window.caption("Label54"), "1");
    EXPECT_EQ(window.caption("Label52"), "100.00");
    EXPECT_EQ(window.caption("Label12"), "1");
}

TEST(LinePass, JoinsLinesWhoseCodesArePaddedOtherwiseAndKeepsTheirCodeLines) {
    TempDir dir;
    FakeWindow window = lineWindow(false, true);
    window.texts["Text9"] = "2";
    auto oddLine = [](std::string_view x1, std::string_view x2) {
        return crlf({" 0", "LINE", "8", "0", "10", x1, "020", "0", "\t11", x2, " 21 ", "0"});
    };
    window.addFile(dir.write("join.dxf", drawing(oddLine("0", "10") + oddLine("12", "20"))));
    ASSERT_EQ(CleanRun(window).run().outcome, RunOutcome::Completed);
    EXPECT_EQ(testing::readBytes(dir.path() / "join-Cut.dxf"), drawing(oddLine("20", "0")));
    EXPECT_EQ(window.caption("Label54"), "1");
}

TEST(LinePass, CountsAJoinedLineThatTheSizeRuleDeletesAsSize) {
    TempDir dir;
    FakeWindow window = lineWindow(false, true);
    window.tick(control::Check5, true);
    window.texts["Text9"] = "2";
    window.texts["Text1"] = "20";
    auto entities = lineRecord("0", "0", "10", "0") + lineRecord("12", "0", "20", "0");
    window.addFile(dir.write("join.dxf", drawing(entities)));
    ASSERT_EQ(CleanRun(window).run().outcome, RunOutcome::Completed);
    EXPECT_EQ(testing::readBytes(dir.path() / "join-Cut.dxf"), drawing(""));
    EXPECT_EQ(window.caption("Label54"), "1");
    EXPECT_EQ(window.caption("Label5"), "1");
    EXPECT_EQ(window.caption("Label12"), "2");
}

TEST(LinePass, AccumulatesCountsOverTheFilesOfARun) {
    TempDir dir;
    FakeWindow window = lineWindow(true, false);
    auto line = lineRecord("0", "0", "10", "0");
    for (const char* name : {"a.dxf", "b.dxf"}) {
        window.addFile(dir.write(name, drawing(line + line + line + line)));
    }
    std::vector<std::string> shown;
    window.onYield = [&](FakeWindow& w) {
        if (shown.empty() || shown.back() != w.caption("Label25")) {
            shown.push_back(w.caption("Label25"));
        }
    };
    ASSERT_EQ(CleanRun(window).run().outcome, RunOutcome::Completed);
    EXPECT_EQ(shown.back(), "6");
    EXPECT_NE(std::find(shown.begin(), shown.end(), "3"), shown.end());
    EXPECT_EQ(window.caption("Label12"), "6");
}

TEST(LinePass, StopsTheRunWhenInterruptedDuringTheAnalysis) {
    TempDir dir;
    FakeWindow window = lineWindow(true, true);
    window.addFile(dir.write(
        "a.dxf", drawing(lineRecord("0", "0", "1", "0") + lineRecord("0", "1", "1", "1"))));
    window.onYield = [](FakeWindow& w) {
        if (w.caption("Label52") == "50.00") {
            w.interrupt = true;
        }
    };
    EXPECT_EQ(CleanRun(window).run().outcome, RunOutcome::Interrupted);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "a-Cut.dxf"));
    EXPECT_EQ(window.caption("Label52"), "0.00");
    EXPECT_FALSE(window.isVisible(control::Label63));
    EXPECT_TRUE(window.messages.empty());
}

}  // namespace
}  // namespace lintrel

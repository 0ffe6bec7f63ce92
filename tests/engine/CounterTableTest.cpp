#include <gtest/gtest.h>

#include <set>
#include <string>

#include "CleanRun.h"
#include "CounterTable.h"
#include "Drawing.h"
#include "FakeWindow.h"
#include "TempDir.h"

namespace lintrel {
namespace {

using testing::drawing;
using testing::FakeWindow;
using testing::lineRecord;
using testing::record;
using testing::TempDir;

TEST(CounterTable, GivesEveryCounterItsOwnLabelAndKey) {
    std::set<ControlName> labels;
    std::set<std::string_view> keys;
    RunCounters ones;
    for (const auto& field : kCounterFields) {
        EXPECT_TRUE(labels.insert(field.label).second) << field.key;
        EXPECT_TRUE(keys.insert(field.key).second) << field.key;
        EXPECT_EQ(ones.*field.member, 0) << field.key << " shares its member with another row";
        ones.*field.member = 1;
    }
    EXPECT_EQ(total(ones), 11);
    EXPECT_EQ(ones + ones, (RunCounters{2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2}));
}

// A drawing with one duplicate line, one TEXT and one XLINE, which the defaults all remove.
const std::string kOneOfEach =
    drawing(lineRecord("0", "0", "10", "0") + lineRecord("0", "0", "10", "0") +
            record("TEXT", {{"  1", "x"}}) + record("XLINE", {}));

TEST(CounterTable, TheWindowShowsRunTotalsAndTheReportEachFilesOwn) {
    TempDir dir;
    FakeWindow window;
    window.addFile(dir.write("a.dxf", kOneOfEach));
    window.addFile(dir.write("b.dxf", kOneOfEach));

    RunReport report = CleanRun(window).run();

    ASSERT_EQ(report.outcome, RunOutcome::Completed);
    RunCounters each;
    each.DuplicateCount = 1;
    each.TextDeleteCount = 1;
    each.XLineDeleteCount = 1;
    ASSERT_EQ(report.files.size(), 2U);
    EXPECT_EQ(report.files[0].counters, each);
    EXPECT_EQ(report.files[1].counters, each);
    EXPECT_EQ(report.counters, each + each);
    EXPECT_EQ(window.caption("Label25"), "2");
    EXPECT_EQ(window.caption("Label1"), "2");
    EXPECT_EQ(window.caption("Label46"), "2");
    EXPECT_EQ(window.caption("Label54"), "0");
    EXPECT_EQ(window.caption("Label12"), "6");
}

}  // namespace
}  // namespace lintrel

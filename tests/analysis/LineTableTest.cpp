#include <gtest/gtest.h>

#include <string>

#include "LineTable.h"
#include "LineTables.h"

namespace lintrel {
namespace {

using testing::describeRows;
using testing::DrawnLine;
using testing::makeTable;

struct OrientCase {
    const char* name;
    DrawnLine line;
    double lineCorrection;
    const char* row;
};

TEST(CorrectAndOrient, PutsTheRightOrUpperEndFirstAfterCorrecting) {
    const OrientCase cases[] = {
        {"a horizontal line listed right to left keeps its order",
         {10, 0, 0, 0},
         0,
         "kept (10,0)-(0,0)"},
        {"a horizontal line listed left to right is turned", {0, 3, 10, 3}, 0, "kept (10,3)-(0,3)"},
        {"a vertical line listed upwards is turned", {2, 0, 2, 9}, 0, "kept (2,9)-(2,0)"},
        {"a vertical line listed downwards keeps its order", {2, 9, 2, 0}, 0, "kept (2,9)-(2,0)"},
        {"a slanted line listed left end first is turned whole",
         {0, 5, 10, 0},
         0,
         "kept (10,0)-(0,5)"},
        {"a slanted line listed right end first keeps its order",
         {10, 5, 0, 0},
         0,
         "kept (10,5)-(0,0)"},
        {"a zero-length line stays", {3, 3, 3, 3}, 0, "kept (3,3)-(3,3)"},
        {"the correction moves the first end onto the second end's X",
         {5, 0, 5.005, 10},
         0.01,
         "kept (5.005,10)-(5.005,0)"},
        {"listed the other way round the line lies at the other X",
         {5.005, 0, 5, 10},
         0.01,
         "kept (5,10)-(5,0)"},
        {"the correction moves the first end onto the second end's Y",
         {0, 2.005, 10, 2},
         0.01,
         "kept (10,2)-(0,2)"},
        {"a difference equal to the correction is corrected",
         {1, 0, 1.5, 10},
         0.5,
         "kept (1.5,10)-(1.5,0)"},
        {"a difference beyond the correction stays slanted",
         {1, 0, 1.5, 10},
         0.4,
         "kept (1.5,10)-(1,0)"},
        {"no correction leaves a nearly vertical line slanted",
         {5, 0, 5.0001, 10},
         0,
         "kept (5.0001,10)-(5,0)"},
        {"both corrections make a zero-length line at the second end",
         {0, 0, 0.005, 0.005},
         0.01,
         "kept (0.005,0.005)-(0.005,0.005)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(describeRows(makeTable({c.line}, c.lineCorrection)),
                  std::vector<std::string>{c.row});
    }
}

TEST(NameTable, GivesEqualNamesOneIdAndTellsLetterCaseApart) {
    NameTable names;
    const auto upper = names.intern("A");
    EXPECT_EQ(names.intern(""), NameTable::kEmpty);
    EXPECT_NE(upper, NameTable::kEmpty);
    EXPECT_EQ(names.intern("A"), upper);
    EXPECT_NE(names.intern("a"), upper);
    EXPECT_NE(names.intern("A "), upper);
    EXPECT_EQ(names.name(upper), "A");
    EXPECT_EQ(names.name(NameTable::kEmpty), "");
}

TEST(NameTable, ForgetsEveryNameButTheEmptyOneWhenCleared) {
    NameTable names;
    names.intern("WALLS");
    names.intern("DOORS");
    names.clear();
    const auto first = names.intern("DOORS");
    EXPECT_EQ(first, NameTable::kEmpty + 1);
    EXPECT_EQ(names.name(first), "DOORS");
    EXPECT_EQ(names.intern(""), NameTable::kEmpty);
}

TEST(LineTable, StartsTheNextFileEmptyWhenCleared) {
    LineTable table = makeTable({{0, 0, 10, 0, "WALLS", "DASHED"}, {0, 0, 0, 10}});
    table[1].state = LineState::Deleted;
    table.clear();
    EXPECT_EQ(table.size(), 0);
    EXPECT_EQ(table.stateOf(1), LineState::Kept);
    const LineRow& row = table.append();
    EXPECT_EQ(row.state, LineState::Kept);
    EXPECT_EQ(row.LayerName, NameTable::kEmpty);
    EXPECT_EQ(table.names().intern("WALLS"), NameTable::kEmpty + 1);
}

TEST(LineTable, KeepsRecordsBeyondTheTable) {
    LineTable table = makeTable({{0, 0, 10, 0}});
    table[1].state = LineState::Deleted;
    EXPECT_EQ(table.stateOf(1), LineState::Deleted);
    EXPECT_EQ(table.stateOf(0), LineState::Kept);
    EXPECT_EQ(table.stateOf(2), LineState::Kept);
}

}  // namespace
}  // namespace lintrel

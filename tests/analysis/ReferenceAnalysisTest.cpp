#include <gtest/gtest.h>

#include "AnalysisCases.h"
#include "LineAnalysis.h"
#include "LineTables.h"
#include "RunInterrupted.h"

namespace lintrel {
namespace {

using testing::describeRows;
using testing::makeTable;
using testing::RecordingObserver;

TEST(ReferenceAnalysis, GivesTheDesignedVerdicts) {
    testing::expectVerdicts(analyseLinesReference, testing::designedCases());
}

LineRules duplicatesAndJoins() {
    LineRules rules;
    rules.removeDuplicates = true;
    rules.joinLines = true;
    rules.JoinGap = 1;
    return rules;
}

TEST(ReferenceAnalysis, StopsAtTheRowWhoseAnnouncementIsInterrupted) {
    // Row 2 goes in row 1's turn, so row 3 is the second row announced; row 4 would delete it.
    LineTable table = makeTable({{0, 0, 10, 0}, {2, 0, 5, 0}, {0, 0, 0, 10}, {0, 0, 0, 10}});
    RunCounters counters;
    RecordingObserver observer(2);
    EXPECT_THROW(analyseLinesReference(table, duplicatesAndJoins(), counters, observer),
                 RunInterrupted);
    EXPECT_EQ(observer.rows, (std::vector<int>{1, 3}));
    EXPECT_EQ(describeRows(table),
              (std::vector<std::string>{"kept (10,0)-(0,0)", "deleted", "kept (0,10)-(0,0)",
                                        "kept (0,10)-(0,0)"}));
    EXPECT_EQ(counters.DuplicateCount, 1);
}

TEST(ReferenceAnalysis, ShowsTheCountsReachedBeforeEachRow) {
    LineTable table =
        makeTable({{0, 0, 10, 0}, {2, 0, 5, 0}, {10, 0, 12, 0}, {0, 5, 0, 9}, {0, 9, 0, 12}});
    RunCounters counters;
    RecordingObserver observer;
    analyseLinesReference(table, duplicatesAndJoins(), counters, observer);
    EXPECT_EQ(observer.rows, (std::vector<int>{1, 4}));
    EXPECT_EQ(observer.duplicateCounts, (std::vector<int>{0, 1}));
    EXPECT_EQ(observer.joinCounts, (std::vector<int>{0, 1}));
    EXPECT_EQ(counters.JoinCount, 2);
}

TEST(ReferenceAnalysis, AddsToTheCountsOfEarlierFiles) {
    RunCounters counters;
    for (int file = 0; file < 2; ++file) {
        LineTable table = makeTable({{0, 0, 10, 0}, {0, 0, 10, 0}, {10, 0, 11, 0}});
        RecordingObserver observer;
        analyseLinesReference(table, duplicatesAndJoins(), counters, observer);
    }
    EXPECT_EQ(counters.DuplicateCount, 2);
    EXPECT_EQ(counters.JoinCount, 2);
}

TEST(ReferenceAnalysis, LeavesEveryRowAloneWhenNeitherRuleIsOn) {
    LineTable table = makeTable({{0, 0, 10, 0}, {0, 0, 10, 0}, {3, 3, 7, 7}, {3, 3, 7, 7}});
    RunCounters counters;
    RecordingObserver observer;
    analyseLinesReference(table, LineRules{}, counters, observer);
    EXPECT_EQ(observer.rows, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(describeRows(table),
              (std::vector<std::string>{"kept (10,0)-(0,0)", "kept (10,0)-(0,0)",
                                        "kept (7,7)-(3,3)", "kept (7,7)-(3,3)"}));
}

}  // namespace
}  // namespace lintrel

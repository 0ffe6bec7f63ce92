#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "AnalysisCases.h"
#include "CounterTable.h"
#include "LineAnalysis.h"
#include "LineTables.h"
#include "RandomTables.h"
#include "RunInterrupted.h"

namespace lintrel {
namespace {

using testing::AnalysisCase;
using testing::describeRows;
using testing::DrawnLine;
using testing::duplicates;
using testing::joins;
using testing::joinsAndDuplicates;
using testing::makeTable;
using testing::RecordingObserver;
using testing::sameLayer;
using testing::sameLineType;

TEST(FastAnalysis, GivesTheDesignedVerdicts) {
    testing::expectVerdicts(testing::analyseFast, testing::designedCases());
}

TEST(FastAnalysis, GivesTheDesignedVerdictsOnOneThread) {
    testing::expectVerdicts(testing::analyseAlone, testing::designedCases());
}

// What the indexes could get wrong: the candidates they leave out, the order they give back.
std::vector<AnalysisCase> indexCases() {
    return {
        {"a piece within the join offset but beyond the duplicate offset is joined",
         joinsAndDuplicates(0.5F, 0, 0.1F),
         {{0, 0, 10, 0}, {10, 0.5, 20, 0.5}, {2, 0.05, 5, 0.05}, {0, 0.6, 10, 0.6}},
         {"lengthened (20,0)-(0,0)", "deleted", "deleted", "kept (10,0.6)-(0,0.6)"},
         "duplicates 1, joins 1, turns 1 4"},
        {"a piece within the duplicate offset but beyond the join offset is deleted",
         joinsAndDuplicates(0, 5, 1),
         {{0, 0, 10, 0}, {10, 0.9, 12, 0.9}, {2, 0.9, 5, 0.9}},
         {"kept (10,0)-(0,0)", "kept (12,0.9)-(10,0.9)", "deleted"},
         "duplicates 1, joins 0, turns 1 2"},
        {"a piece that reaches row i only across the gap below it is joined",
         joins(0, 2),
         {{10, 0, 20, 0}, {0, 0, 8.5, 0}},
         {"lengthened (20,0)-(0,0)", "deleted"},
         "duplicates 0, joins 1, turns 1"},
        {"an earlier vertical row further across acts before a nearer later one",
         joinsAndDuplicates(0, 0, 0.1F),
         {{0, 0, 0, 10}, {0.05, -5, 0.05, 20}, {0, 10, 0, 15}},
         {"deleted", "kept (0.05,20)-(0.05,-5)", "deleted"},
         "duplicates 2, joins 0, turns 1 2"},
        {"a falling and a rising slope that both round to zero are collinear",
         duplicates(0),
         {{0, 0, 1000, 0.02}, {0, 0.02, 1000, 0}},
         {"deleted", "kept (1000,0)-(0,0.02)"},
         "duplicates 1, joins 0, turns 1 2"},
        {"rows meet only rows of their own layer and linetype",
         sameLayer(sameLineType(duplicates(0))),
         {{0, 0, 10, 0, "A"}, {0, 0, 10, 0, "B"}, {0, 0, 10, 0, "A", "DASHED"}, {0, 0, 10, 0, "A"}},
         {"kept (10,0)-(0,0)", "kept (10,0)-(0,0)", "kept (10,0)-(0,0)", "deleted"},
         "duplicates 1, joins 0, turns 1 2 3"},
    };
}

TEST(FastAnalysis, FindsTheActingCandidatesInFileOrder) {
    testing::expectVerdicts(analyseLinesReference, indexCases());
    testing::expectVerdicts(testing::analyseFast, indexCases());
    testing::expectVerdicts(testing::analyseAlone, indexCases());
}

struct LargeCase {
    const char* name;
    LineRules rules;
    std::vector<DrawnLine> lines;
    int survivor;  // the only row left, written as
    const char* row;
    int duplicates;
    int joins;
    std::size_t turns;
};

std::vector<DrawnLine> copies(const DrawnLine& line, int count) {
    return std::vector<DrawnLine>(static_cast<std::size_t>(count), line);
}

int deletedRows(const LineTable& table) {
    int deleted = 0;
    for (int row = 1; row <= table.size(); ++row) {
        deleted += table[row].isDeleted() ? 1 : 0;
    }
    return deleted;
}

// Unit pieces of one horizontal line from 0 to count, in a fixed shuffled order.
std::vector<DrawnLine> shuffledPieces(int count) {
    std::vector<DrawnLine> pieces;
    for (int x = 0; x < count; ++x) {
        pieces.push_back({static_cast<double>(x), 0, x + 1.0, 0});
    }
    std::shuffle(pieces.begin(), pieces.end(), std::mt19937(7));
    return pieces;
}

// A horizontal line with pieces inside it, more than one batch of them.
std::vector<DrawnLine> lineWithPiecesInside(int count) {
    std::vector<DrawnLine> lines{{0, 0, 100, 0}};
    for (int k = 0; k < count; ++k) {
        lines.push_back({k + 1.0, 0, k + 1.5, 0});
    }
    return lines;
}

TEST(FastAnalysis, LeavesOneRowOfLongRunsOfCandidates) {
    const LargeCase cases[] = {
        {"a thousand identical vertical lines leave the last", duplicates(0),
         copies({0, 0, 0, 10}, 1000), 1000, "kept (0,10)-(0,0)", 999, 0, 1000},
        {"a thousand identical horizontal lines leave the first", duplicates(0),
         copies({0, 0, 10, 0}, 1000), 1, "kept (10,0)-(0,0)", 999, 0, 1},
        {"five hundred shuffled pieces of a line join into the first", joinsAndDuplicates(0, 0, 0),
         shuffledPieces(500), 1, "lengthened (500,0)-(0,0)", 0, 499, 1},
        {"forty pieces inside a line go in its turn", duplicates(0), lineWithPiecesInside(40), 1,
         "kept (100,0)-(0,0)", 40, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (auto analyse : {analyseLinesReference, testing::analyseFast, testing::analyseAlone}) {
            LineTable table = makeTable(c.lines);
            RunCounters counters;
            RecordingObserver observer;
            analyse(table, c.rules, counters, observer);
            std::vector<std::string> rows(c.lines.size(), "deleted");
            rows[static_cast<std::size_t>(c.survivor - 1)] = c.row;
            EXPECT_EQ(describeRows(table), rows);
            EXPECT_EQ(counters.DuplicateCount, c.duplicates);
            EXPECT_EQ(counters.JoinCount, c.joins);
            EXPECT_EQ(observer.rows.size(), c.turns);
        }
    }
}

// Interrupts at the first breath taken inside a turn; the indexes are built, breathing too,
// before the first turn.
class BreathObserver : public RowObserver {
public:
    void beforeRow(int row, const RunCounters&) override { announced.push_back(row); }
    void duringRow(int row, const RunCounters&) override {
        if (announced.empty()) {
            return;
        }
        breaths.push_back(row);
        throw RunInterrupted{};
    }

    std::vector<int> announced;
    std::vector<int> breaths;
};

// Interrupts at its nth breath, counting those taken while the indexes are built.
class StopAtBreath : public RowObserver {
public:
    explicit StopAtBreath(int stopAt) : m_stopAt(stopAt) {}
    void beforeRow(int row, const RunCounters&) override { announced.push_back(row); }
    void duringRow(int, const RunCounters&) override {
        if (++breaths == m_stopAt) {
            throw RunInterrupted{};
        }
    }

    std::vector<int> announced;
    int breaths = 0;

private:
    int m_stopAt;
};

// Unit pieces of one horizontal line from 0 to count, shuffled, far too many for one breath:
// the first of them swallows all the others in its turn.
void appendShuffledPieces(LineTable& table, int count) {
    std::vector<int> starts(static_cast<std::size_t>(count));
    std::iota(starts.begin(), starts.end(), 0);
    std::shuffle(starts.begin(), starts.end(), std::mt19937(3));
    for (const int x : starts) {
        LineRow& row = table.append();
        row.X1 = x + 1;
        row.X2 = x;
    }
}

TEST(FastAnalysis, BreathesAndStopsInTheMiddleOfALongTurn) {
    // Row 1 swallows every other piece in its own turn: far more work than one breath allows.
    constexpr int kPieces = 200'000;
    LineTable table;
    appendShuffledPieces(table, kPieces);
    RunCounters counters;
    BreathObserver observer;
    EXPECT_THROW(testing::analyseFast(table, joins(0, 0), counters, observer), RunInterrupted);
    EXPECT_EQ(observer.announced, std::vector<int>{1});
    EXPECT_EQ(observer.breaths, std::vector<int>{1});
    EXPECT_LT(counters.JoinCount, kPieces - 1);
}

TEST(FastAnalysis, BreathesAndStopsWhileTheSecondThreadTakesALongTurn) {
    // Row 1 is the calling thread's only row; row 2 swallows every other piece in the helper's
    // turn, far longer than the calling thread may wait without a breath.
    constexpr int kPieces = 400'000;
    LineTable table;
    table.append() = LineRow{-5, 1, -5, 0};
    appendShuffledPieces(table, kPieces);
    RunCounters counters;
    BreathObserver observer;
    EXPECT_THROW(testing::analyseShared(table, joins(0, 0), counters, observer), RunInterrupted);
    EXPECT_EQ(observer.announced, std::vector<int>{1});
    EXPECT_EQ(observer.breaths, std::vector<int>{1});
    // However far the helper got before it stopped, each piece it swallowed is counted.
    EXPECT_EQ(counters.JoinCount, deletedRows(table));
    EXPECT_LT(counters.JoinCount, kPieces - 1);
}

TEST(FastAnalysis, BreathesAndStopsWhileTheIndexesAreBuilt) {
    using Analyse = void (*)(LineTable&, const LineRules&, RunCounters&, RowObserver&);
    struct Case {
        const char* name;
        bool zeroLengthFirst;
        int pieces;
        Analyse analyse;
        int stopAt;  // the breath that stops the run
    };
    const Case cases[] = {
        // Row 1, zero-length, is the calling thread's: it waits for the helper to start its
        // turns, which it does only once its index over the many horizontal rows is built. The
        // first breath comes as the calling thread's own index is built; the second, 10 ms on,
        // finds it waiting.
        {"waiting for the other thread's index", true, 400'000, testing::analyseShared, 2},
        // Only horizontal rows: both threads build their one index, sorting it for most of
        // that time.
        {"both threads building the index of one axis", false, 1'000'000, testing::analyseFast, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LineTable table;
        if (c.zeroLengthFirst) {
            table.append() = LineRow{-5, 0, -5, 0};
        }
        appendShuffledPieces(table, c.pieces);
        StopAtBreath observer(c.stopAt);
        RunCounters counters;
        EXPECT_THROW(c.analyse(table, joins(0, 0), counters, observer), RunInterrupted);
        EXPECT_TRUE(observer.announced.empty());
        EXPECT_EQ(observer.breaths, c.stopAt);
        EXPECT_EQ(counters.JoinCount, 0);
    }
}

TEST(FastAnalysis, BreathesAndStopsWhileTheSlantedRowsAreTaken) {
    // Row 1 is the calling thread's only row; the copies of one slanted line after it keep the
    // third thread busy far longer than the calling thread may wait without a breath.
    constexpr int kCopies = 1'000'000;
    LineTable table;
    table.append() = LineRow{-5, 1, -5, 0};
    for (int k = 0; k < kCopies; ++k) {
        table.append() = LineRow{2, 1, 0, 0};
    }
    RunCounters counters;
    BreathObserver observer;
    EXPECT_THROW(testing::analyseShared(table, duplicates(0), counters, observer), RunInterrupted);
    EXPECT_EQ(observer.announced, std::vector<int>{1});
    EXPECT_EQ(observer.breaths, std::vector<int>{1});
    EXPECT_EQ(counters.DuplicateCount, deletedRows(table));
    EXPECT_LT(counters.DuplicateCount, kCopies - 1);
}

TEST(FastAnalysis, StopsWhileItBuildsItsIndexes) {
    LineTable table;
    for (int k = 0; k < 30'000; ++k) {
        for (const LineRow& row : {LineRow{1.0 * k, 1, 1.0 * k, 0},  // vertical
                                   LineRow{1, 1.0 * k, 0, 1.0 * k},  // horizontal
                                   LineRow{1, 1.0 * k, 0, 0}}) {     // slanted
            table.append() = row;
        }
    }
    struct StopAtOnce : RowObserver {
        void beforeRow(int, const RunCounters&) override { ++announced; }
        void duringRow(int, const RunCounters&) override { throw RunInterrupted{}; }
        int announced = 0;
    } observer;
    // Two threads build the indexes, and no turn starts before both are built. (With the turns
    // shared out, a helper may take turns of its own before the calling thread first breathes.)
    RunCounters counters;
    EXPECT_THROW(analyseLines(table, joinsAndDuplicates(0.1F, 1, 0.1F), counters, observer,
                              ThreadBudget{2, false}),
                 RunInterrupted);
    EXPECT_EQ(observer.announced, 0);
    EXPECT_EQ(total(counters), 0);
}

TEST(FastAnalysis, StopsAtTheSameAnnouncementAsTheReference) {
    testing::RandomCase stopped;
    stopped.rules = joinsAndDuplicates(0.1F, 1, 0.1F);
    stopped.lines = {{0, 0, 10, 0}, {2, 0, 5, 0},   {0, 0, 0, 10}, {0, 0, 0, 10},
                     {0, 0, 5, 5},  {10, 0, 11, 0}, {0, 0, 5, 5},  {7, 7, 7, 7}};
    testing::AnalysisComparison comparison;
    for (stopped.stopAt = 1; stopped.stopAt <= 8; ++stopped.stopAt) {
        SCOPED_TRACE(stopped.stopAt);
        EXPECT_EQ(comparison.compare(stopped), "");
    }
}

}  // namespace
}  // namespace lintrel

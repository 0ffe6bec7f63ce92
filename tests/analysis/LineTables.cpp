#include "LineTables.h"

#include <bit>
#include <cstdint>
#include <sstream>

#include "Numbers.h"
#include "RunInterrupted.h"

namespace lintrel::testing {

LineTable makeTable(const std::vector<DrawnLine>& lines, double lineCorrection) {
    LineTable table;
    fillTable(table, lines, lineCorrection);
    return table;
}

void fillTable(LineTable& table, const std::vector<DrawnLine>& lines, double lineCorrection) {
    table.clear();
    for (const DrawnLine& line : lines) {
        LineRow& row = table.append();
        row.X1 = line.x1;
        row.Y1 = line.y1;
        row.X2 = line.x2;
        row.Y2 = line.y2;
        row.LayerName = table.names().intern(line.layer);
        row.LineTypeName = table.names().intern(line.lineType);
        correctAndOrient(row, lineCorrection);
    }
}

LineRules duplicates(float offset) {
    LineRules rules;
    rules.removeDuplicates = true;
    rules.DuplicateOffset = widened(offset);
    return rules;
}

LineRules joins(float offset, float gap) {
    LineRules rules;
    rules.joinLines = true;
    rules.JoinOffset = widened(offset);
    rules.JoinGap = widened(gap);
    return rules;
}

LineRules joinsAndDuplicates(float joinOffset, float gap, float duplicateOffset) {
    LineRules rules = joins(joinOffset, gap);
    rules.removeDuplicates = true;
    rules.DuplicateOffset = widened(duplicateOffset);
    return rules;
}

LineRules sameLayer(LineRules rules) {
    rules.sameLayerOnly = true;
    return rules;
}

LineRules sameLineType(LineRules rules) {
    rules.sameLineTypeOnly = true;
    return rules;
}

std::vector<std::string> describeRows(const LineTable& table) {
    std::vector<std::string> rows;
    for (int n = 1; n <= table.size(); ++n) {
        const LineRow& row = table[n];
        if (row.isDeleted()) {
            rows.push_back("deleted");
            continue;
        }
        rows.push_back(std::string(row.state == LineState::Kept ? "kept" : "lengthened") + " (" +
                       formatCoordinate(row.X1) + "," + formatCoordinate(row.Y1) + ")-(" +
                       formatCoordinate(row.X2) + "," + formatCoordinate(row.Y2) + ")");
    }
    return rows;
}

namespace {

bool isSame(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

std::string describeRow(const LineRow& row) {
    std::ostringstream text;
    text.precision(17);
    text << "state " << static_cast<int>(row.state) << " (" << row.X1 << "," << row.Y1 << ")-("
         << row.X2 << "," << row.Y2 << ")";
    return text.str();
}

}  // namespace

std::string firstDifference(const LineTable& expected, const LineTable& actual) {
    if (expected.size() != actual.size()) {
        return "the tables hold " + std::to_string(expected.size()) + " and " +
               std::to_string(actual.size()) + " rows";
    }
    for (int n = 1; n <= expected.size(); ++n) {
        const LineRow& want = expected[n];
        const LineRow& got = actual[n];
        if (got.state != want.state || !isSame(got.X1, want.X1) || !isSame(got.Y1, want.Y1) ||
            !isSame(got.X2, want.X2) || !isSame(got.Y2, want.Y2)) {
            return "row " + std::to_string(n) + ": expected " + describeRow(want) + ", got " +
                   describeRow(got);
        }
    }
    return {};
}

void analyseFast(LineTable& table, const LineRules& rules, RunCounters& counters,
                 RowObserver& observer) {
    analyseLines(table, rules, counters, observer, ThreadBudget{3, false});
}

void analyseAlone(LineTable& table, const LineRules& rules, RunCounters& counters,
                  RowObserver& observer) {
    analyseLines(table, rules, counters, observer, ThreadBudget{1, false});
}

void analyseShared(LineTable& table, const LineRules& rules, RunCounters& counters,
                   RowObserver& observer) {
    analyseLines(table, rules, counters, observer, ThreadBudget{3, true});
}

void RecordingObserver::beforeRow(int row, const RunCounters& counters) {
    rows.push_back(row);
    duplicateCounts.push_back(counters.DuplicateCount);
    joinCounts.push_back(counters.JoinCount);
    if (static_cast<int>(rows.size()) == m_stopAt) {
        throw RunInterrupted{};
    }
}

}  // namespace lintrel::testing

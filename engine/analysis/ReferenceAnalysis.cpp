// The line analysis written as the plain scan that defines it: every row examined in file order
// compares itself with every other row in file order. Quadratic, and worse with joins; kept as
// the yardstick that analyseLines() is tested against.

#include "AnalysisTurns.h"
#include "LineAnalysis.h"
#include "PairRules.h"

namespace lintrel {
namespace {

// Whether row pos takes part in row i's scan: alive, of a fitting kind, allowed by the filters.
bool isCandidate(const LineRow& row, const LineRow& piece, const LineRules& rules) {
    if (piece.isDeleted() || !passesFilters(row, piece, rules)) {
        return false;
    }
    return row.isSlanted() ? piece.isSlanted() : runsAlong(piece, axisOf(row));
}

// Row i vertical or horizontal: the join test, then the duplicate test, against every candidate;
// after a join the scan starts again from the first row.
void scanStraight(LineTable& table, int i, const LineRules& rules, RunCounters& counters) {
    LineRow& row = table[i];
    const Axis axis = axisOf(row);
    int pos = 1;
    while (pos <= table.size()) {
        LineRow& piece = table[pos];
        if (pos == i || !isCandidate(row, piece, rules)) {
            ++pos;
            continue;
        }
        const Span pieceSpan = spanOf(piece, axis);
        const auto action = straightAction(axis, spanOf(row, axis), pieceSpan, rules);
        carryOut(action, row, piece, pieceSpan, axis, counters);
        if (action == StraightAction::DeleteRow) {
            return;
        }
        pos = isJoin(action) ? 1 : pos + 1;
    }
}

// Row i slanted: deleted by the first collinear candidate that covers it; it deletes no other.
// The candidate's slope and intercept are only worked out when it covers row i: they are slow to
// round and decide nothing otherwise.
void scanSlanted(LineTable& table, int i, const LineRules& rules, RunCounters& counters) {
    LineRow& row = table[i];
    const SlantKey key = slantKeyOf(row);
    for (int pos = 1; pos <= table.size(); ++pos) {
        const LineRow& piece = table[pos];
        if (pos != i && isCandidate(row, piece, rules) && coversByX(piece, row) &&
            isCollinear(key, slantKeyOf(piece))) {
            deleteDuplicate(row, counters);
            return;
        }
    }
}

}  // namespace

void analyseLinesReference(LineTable& table, const LineRules& rules, RunCounters& counters,
                           RowObserver& observer) {
    takeTurns(
        table, rules, counters, observer, [&](int i) { scanStraight(table, i, rules, counters); },
        [&](int i) { scanSlanted(table, i, rules, counters); });
}

}  // namespace lintrel

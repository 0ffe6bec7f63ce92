#include "PairRules.h"

#include <cassert>
#include <cmath>

#include "Numbers.h"

namespace lintrel {

Axis axisOf(const LineRow& row) {
    assert(!row.isSlanted() && "only vertical and horizontal rows have an axis");
    return row.isVertical() ? Axis::Vertical : Axis::Horizontal;
}

bool runsAlong(const LineRow& row, Axis axis) {
    return axis == Axis::Vertical ? row.X1 == row.X2 : row.Y1 == row.Y2;
}

Span spanOf(const LineRow& row, Axis axis) {
    return axis == Axis::Vertical ? Span{row.Y2, row.Y1, row.X1} : Span{row.X2, row.X1, row.Y1};
}

bool passesFilters(const LineRow& a, const LineRow& b, const LineRules& rules) {
    return (!rules.sameLayerOnly || a.LayerName == b.LayerName) &&
           (!rules.sameLineTypeOnly || a.LineTypeName == b.LineTypeName);
}

std::uint64_t filterKey(const LineRow& row, const LineRules& rules) {
    const std::uint64_t layer = rules.sameLayerOnly ? row.LayerName : NameTable::kEmpty;
    const std::uint64_t lineType = rules.sameLineTypeOnly ? row.LineTypeName : NameTable::kEmpty;
    return layer << 32 | lineType;
}

bool isJoin(StraightAction action) {
    return action == StraightAction::JoinHigh || action == StraightAction::JoinLow;
}

void carryOut(StraightAction action, LineRow& row, LineRow& piece, const Span& pieceSpan, Axis axis,
              RunCounters& counters) {
    switch (action) {
        case StraightAction::JoinHigh:
        case StraightAction::JoinLow: {
            // Only the end moves: row i keeps its across-coordinate, names and other groups.
            if (action == StraightAction::JoinHigh) {
                (axis == Axis::Vertical ? row.Y1 : row.X1) = pieceSpan.high;
            } else {
                (axis == Axis::Vertical ? row.Y2 : row.X2) = pieceSpan.low;
            }
            row.state = LineState::Lengthened;
            piece.state = LineState::Deleted;
            piece.isJoinedPiece = true;
            ++counters.JoinCount;
            break;
        }
        case StraightAction::DeletePiece:
            deleteDuplicate(piece, counters);
            break;
        case StraightAction::DeleteRow:
            deleteDuplicate(row, counters);
            break;
        case StraightAction::None:
            break;
    }
}

void deleteDuplicate(LineRow& row, RunCounters& counters) {
    row.state = LineState::Deleted;
    ++counters.DuplicateCount;
}

SlantKey slantKeyOf(const LineRow& row) {
    return slantKeyOf(row, roundFixed);
}

bool isCollinear(const SlantKey& a, const SlantKey& b) {
    return a.slope == b.slope && a.intercept == b.intercept;
}

bool coversByX(const LineRow& piece, const LineRow& row) {
    return piece.X1 >= row.X1 && piece.X2 <= row.X2;
}

}  // namespace lintrel

#pragma once

#include <cmath>
#include <cstdint>

#include "LineAnalysis.h"
#include "LineTable.h"

namespace lintrel {

// What the line analysis decides for one pair (row i, candidate pos), shared by the literal and
// the fast analysis so that both apply the very same comparisons.

// The direction a vertical or horizontal row i runs in; it decides which columns are compared.
enum class Axis { Vertical, Horizontal };

// A vertical or horizontal row seen along its axis: its two ends and where it lies across.
struct Span {
    double low = 0;
    double high = 0;
    double across = 0;
};

// Vertical for a vertical or zero-length row, horizontal for a horizontal one.
Axis axisOf(const LineRow& row);

// Whether a row can be a candidate of a row i running along the axis: vertical and zero-length
// rows for a vertical row i, horizontal and zero-length rows for a horizontal one.
bool runsAlong(const LineRow& row, Axis axis);

// Vertical: low Y2, high Y1, across X1. Horizontal: low X2, high X1, across Y1.
Span spanOf(const LineRow& row, Axis axis);

// Whether the same-layer and same-linetype filters let the two rows meet.
bool passesFilters(const LineRow& a, const LineRow& b, const LineRules& rules);

// Equal for two rows exactly when passesFilters() lets them meet.
std::uint64_t filterKey(const LineRow& row, const LineRules& rules);

// The outcome of the join test, then of the duplicate test, for a vertical or horizontal row i.
enum class StraightAction {
    None,
    JoinHigh,     // the piece reaches beyond row i's high end: row i takes the piece's high end
    JoinLow,      // the piece reaches beyond row i's low end: row i takes the piece's low end
    DeletePiece,  // the piece lies on row i
    DeleteRow,    // row i lies on the piece; its scan ends
};

// Defined here to be inlined into the index's scan, which asks it of every live entry it meets.
inline StraightAction straightAction(Axis axis, const Span& row, const Span& piece,
                                     const LineRules& rules) {
    if (rules.joinLines && piece.high - piece.low <= row.high - row.low &&
        std::fabs(row.across - piece.across) <= rules.JoinOffset) {
        if (row.high < piece.high && piece.low - rules.JoinGap <= row.high) {
            return StraightAction::JoinHigh;
        }
        if (row.high >= piece.high && row.low > piece.low &&
            row.low <= piece.high + rules.JoinGap) {
            return StraightAction::JoinLow;
        }
    }
    if (rules.removeDuplicates && std::fabs(row.across - piece.across) <= rules.DuplicateOffset) {
        // A vertical piece must lie strictly inside; a horizontal one may share an end.
        const bool pieceInside = axis == Axis::Vertical
                                     ? row.high > piece.high && row.low < piece.low
                                     : row.high >= piece.high && row.low <= piece.low;
        if (pieceInside) {
            return StraightAction::DeletePiece;
        }
        if (row.high <= piece.high && row.low >= piece.low) {
            return StraightAction::DeleteRow;
        }
    }
    return StraightAction::None;
}

bool isJoin(StraightAction action);

// Carries out an action and counts it: a join moves row i's end onto the piece's (pieceSpan is
// the piece's span, at hand in the caller), marks row i Lengthened and the piece Deleted; a
// duplicate verdict deletes the piece or row i.
void carryOut(StraightAction action, LineRow& row, LineRow& piece, const Span& pieceSpan, Axis axis,
              RunCounters& counters);

// Deletes a row that lies on another and counts it.
void deleteDuplicate(LineRow& row, RunCounters& counters);

// A slanted row's rounded slope ("0.0000") and intercept ("0.0").
struct SlantKey {
    double slope = 0;
    double intercept = 0;
};

SlantKey slantKeyOf(const LineRow& row);

// The same with a rounding of one's own, which must give exactly what roundFixed() gives.
template <class Round>
SlantKey slantKeyOf(const LineRow& row, Round&& round) {
    const double slope = round((row.Y1 - row.Y2) / (row.X1 - row.X2), 4);
    return {slope, round(row.Y1 - slope * row.X1, 1)};
}

// Exact equality of both numbers: the only sense in which two slanted rows are collinear.
bool isCollinear(const SlantKey& a, const SlantKey& b);

// Whether the piece covers the row by X range (ends may coincide).
bool coversByX(const LineRow& piece, const LineRow& row);

}  // namespace lintrel

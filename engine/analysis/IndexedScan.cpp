#include "IndexedScan.h"

#include <algorithm>
#include <cassert>
#include <stop_token>

#include "HelperThread.h"
#include "PairRules.h"

namespace lintrel {
namespace {

// Most turns meet one acting row or none; a row that swallows many pieces asks for more at once.
constexpr std::size_t kFirstBatch = 4;
constexpr std::size_t kLargestBatch = 256;

Axis otherAxis(Axis axis) {
    return axis == Axis::Vertical ? Axis::Horizontal : Axis::Vertical;
}

}  // namespace

void IndexedScan::buildIndexes(TurnPacer& pacer, const ThreadBudget& threads) {
    if (!threads.allows(2)) {
        buildStraightIndex(Axis::Vertical, pacer);
        buildStraightIndex(Axis::Horizontal, pacer);
        buildSlantedIndex(pacer);
        return;
    }
    if (needsStraightIndex(Axis::Vertical) != needsStraightIndex(Axis::Horizontal) &&
        !needsSlantedIndex()) {
        // One index to build (a line in a million pieces): the helper sorts half of it.
        const RunBoth both = sharingWithHelper(pacer);
        const Axis axis = needsStraightIndex(Axis::Vertical) ? Axis::Vertical : Axis::Horizontal;
        buildStraightIndex(axis, pacer, &both);
        return;
    }
    // The helper builds the horizontal and the slanted index.
    HelperThread helper = pacedHelper([this](TurnPacer& helperPacer) {
        buildStraightIndex(Axis::Horizontal, helperPacer);
        buildSlantedIndex(helperPacer);
    });
    buildStraightIndex(Axis::Vertical, pacer);
    helper.wait([&pacer] { pacer.breathe(); });
}

bool IndexedScan::needsStraightIndex(Axis axis) const {
    return (m_rules.joinLines || m_rules.removeDuplicates) && m_kinds.hasAlong(axis);
}

bool IndexedScan::needsSlantedIndex() const {
    return m_rules.removeDuplicates && m_kinds.count(RowKind::Slanted) > 0;
}

void IndexedScan::buildStraightIndex(Axis axis, TurnPacer& pacer, const RunBoth* both) {
    if (needsStraightIndex(axis)) {
        straightSlot(axis).emplace(m_table, m_kinds, m_rowEntries, axis, m_rules, pacer, both);
    }
}

void IndexedScan::buildSlantedIndex(TurnPacer& pacer) {
    if (needsSlantedIndex()) {
        m_slanted.emplace(m_table, m_kinds, m_rowEntries, m_rules, pacer);
    }
}

void IndexedScan::examineStraight(TurnLane& lane, int i) {
    lane.pacer().startTurn(i);
    const Axis axis = axisOf(m_table[i]);
    StraightLineIndex& index = straightIndex(axis);
    const StraightLineIndex::Turn turn = index.turnOf(i);
    std::size_t limit = kFirstBatch;
    for (;;) {
        index.findActing(turn, limit, lane.found());
        switch (carryOutFound(lane, i, axis)) {
            case Outcome::RowDeleted:
                return;
            case Outcome::SearchAgain:
                limit = kFirstBatch;
                break;
            case Outcome::AllCarriedOut:
                if (lane.found().size() < limit) {
                    return;
                }
                limit = std::min(2 * limit, kLargestBatch);
                break;
        }
        lane.pacer().step();
    }
}

// Deleting a piece leaves row i and every other candidate as they were, so the rows found stay
// valid until a join moves an end of row i, or a zero-length piece turns out to have been taken
// by the other lane's earlier turns.
IndexedScan::Outcome IndexedScan::carryOutFound(TurnLane& lane, int i, Axis axis) {
    LineRow& row = m_table[i];
    for (const StraightLineIndex::Candidate& piece : lane.found()) {
        if (piece.isShared && lane.isPaired()) {
            lane.waitForOtherPast(i);
            const LineRow& now = m_table[piece.row];
            if (now.isDeleted() || !runsAlong(now, axis)) {
                straightIndex(axis).remove(piece);
                return Outcome::SearchAgain;
            }
        }
        const auto action = straightAction(axis, spanOf(row, axis), piece.span, m_rules);
        assert(action != StraightAction::None && "the index finds only rows that act");
        carryOut(action, row, m_table[piece.row], piece.span, axis, lane.counters());
        if (action == StraightAction::DeleteRow) {
            removeRow(lane, i, axis);
            return Outcome::RowDeleted;
        }
        removePiece(lane, piece, axis);
        if (isJoin(action)) {
            refreshRow(lane, i, axis);
            return Outcome::SearchAgain;
        }
    }
    return Outcome::AllCarriedOut;
}

void IndexedScan::fetchAhead(Axis axis, int entryRow, int runRow) const {
    const std::optional<StraightLineIndex>& index =
        axis == Axis::Vertical ? m_vertical : m_horizontal;
    if (!index) {
        return;
    }
    if (entryRow != 0) {
        index->fetchEntry(entryRow);
    }
    if (runRow != 0) {
        index->fetchRun(runRow);
    }
}

void IndexedScan::examineSlanted(TurnLane& lane, int i) {
    lane.pacer().startTurn(i);
    if (m_slanted->isCovered(i)) {
        deleteDuplicate(m_table[i], lane.counters());
        m_slanted->remove(i);
    }
}

std::optional<StraightLineIndex>& IndexedScan::straightSlot(Axis axis) {
    return axis == Axis::Vertical ? m_vertical : m_horizontal;
}

StraightLineIndex& IndexedScan::straightIndex(Axis axis) {
    return *straightSlot(axis);
}

// An unpaired lane keeps the other axis's index up to date as well.
StraightLineIndex* IndexedScan::otherIndex(const TurnLane& lane, Axis axis) {
    std::optional<StraightLineIndex>& index = straightSlot(otherAxis(axis));
    return !lane.isPaired() && index ? &*index : nullptr;
}

void IndexedScan::removeRow(const TurnLane& lane, int row, Axis axis) {
    straightIndex(axis).remove(row);
    removeFromOther(lane, row, axis);
}

void IndexedScan::removePiece(const TurnLane& lane, const StraightLineIndex::Candidate& piece,
                              Axis axis) {
    straightIndex(axis).remove(piece);
    removeFromOther(lane, piece.row, axis);
}

// A row is held only by the indexes of the axes it runs along (refresh() sees to that), and
// looking up its entry in another would cost a cache miss for nothing.
void IndexedScan::removeFromOther(const TurnLane& lane, int row, Axis axis) {
    if (StraightLineIndex* other = otherIndex(lane, axis);
        other && runsAlong(m_table[row], otherAxis(axis))) {
        other->remove(row);
    }
}

void IndexedScan::refreshRow(const TurnLane& lane, int row, Axis axis) {
    straightIndex(axis).refresh(row);
    if (StraightLineIndex* other = otherIndex(lane, axis)) {
        other->refresh(row);  // a zero-length row that grew leaves it
    }
}

}  // namespace lintrel

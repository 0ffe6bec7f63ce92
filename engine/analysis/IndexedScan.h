#pragma once

#include <optional>

#include "CacheLine.h"
#include "LineAnalysis.h"
#include "SlantedLineIndex.h"
#include "StraightLineIndex.h"
#include "ThreadBudget.h"
#include "TurnLane.h"

namespace lintrel {

// The turns of the line analysis, each looking only at the candidates that can act on its row.
// A candidate that does nothing in the literal scan changes nothing when it is skipped; the ones
// that act are met in file order, and after every join the search starts again, as the scan does
// from its first row. StraightLineIndex and SlantedLineIndex say why the candidates they leave
// out cannot act.
class IndexedScan {
public:
    IndexedScan(LineTable& table, const RowKinds& kinds, const LineRules& rules)
        : m_table(table), m_kinds(kinds), m_rules(rules), m_rowEntries(table.size()) {}

    // Builds the indexes the rows need, two at once when the budget allows, taking steps of the
    // pacer (which may throw RunInterrupted).
    void buildIndexes(TurnPacer& pacer, const ThreadBudget& threads);
    // Builds one of them, when the rows need it; only turns of other kinds may run meanwhile.
    // With `both`, another thread takes half of the straight index's sort.
    void buildStraightIndex(Axis axis, TurnPacer& pacer, const RunBoth* both = nullptr);
    void buildSlantedIndex(TurnPacer& pacer);
    // Row i's turn, taken by the lane. Each throws RunInterrupted when the user interrupted
    // during the turn.
    void examineStraight(TurnLane& lane, int i);
    void examineSlanted(TurnLane& lane, int i);
    // Called by a lane of straight turns a few turns ahead: fetches into the cache what the turn
    // of `entryRow` reads first, and what the turn of `runRow` (nearer, its entry fetched already)
    // reads next; 0 for neither. The turns of a large drawing wait mostly on these reads, each
    // from anywhere in the index; fetched ahead, their waits overlap.
    void fetchAhead(Axis axis, int entryRow, int runRow) const;

private:
    enum class Outcome { AllCarriedOut, SearchAgain, RowDeleted };

    bool needsStraightIndex(Axis axis) const;
    bool needsSlantedIndex() const;
    Outcome carryOutFound(TurnLane& lane, int i, Axis axis);
    std::optional<StraightLineIndex>& straightSlot(Axis axis);
    StraightLineIndex& straightIndex(Axis axis);
    // A paired lane keeps only the index of its own axis up to date: the other lane's index
    // learns of a zero-length row's change when it meets the row.
    StraightLineIndex* otherIndex(const TurnLane& lane, Axis axis);
    void removeRow(const TurnLane& lane, int row, Axis axis);
    void removePiece(const TurnLane& lane, const StraightLineIndex::Candidate& piece, Axis axis);
    void removeFromOther(const TurnLane& lane, int row, Axis axis);
    void refreshRow(const TurnLane& lane, int row, Axis axis);

    LineTable& m_table;
    const RowKinds& m_kinds;
    const LineRules& m_rules;
    RowEntries m_rowEntries;  // shared by the three indexes
    // Built from the table as it was read, and kept up to date by every turn: a turn finds the
    // same candidates as in an index built from the table as it is then. Each may be built by a
    // thread of its own.
    alignas(kCacheLine) std::optional<StraightLineIndex> m_vertical;
    alignas(kCacheLine) std::optional<StraightLineIndex> m_horizontal;
    alignas(kCacheLine) std::optional<SlantedLineIndex> m_slanted;
};

}  // namespace lintrel

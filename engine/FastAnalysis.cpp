// The line analysis as the program runs it: the same turns in the same order as the literal scan,
// but each turn looks only at the candidates that can act on its row. A candidate that does
// nothing in the literal scan changes nothing when it is skipped; the ones that act are met in
// file order, and after every join the search starts again, as the scan does from its first row.
// StraightLineIndex and SlantedLineIndex say why the candidates they leave out cannot act.

#include <algorithm>
#include <atomic>
#include <cassert>
#include <chrono>
#include <exception>
#include <future>
#include <optional>
#include <thread>
#include <vector>

#include "AnalysisTurns.h"
#include "LineAnalysis.h"
#include "PairTests.h"
#include "SlantedLineIndex.h"
#include "StraightLineIndex.h"
#include "TurnPacer.h"

namespace lintrel {
namespace {

// Most turns meet one acting row or none; a row that swallows many pieces asks for more at once.
constexpr std::size_t kFirstBatch = 4;
constexpr std::size_t kLargestBatch = 256;

class IndexedScan {
public:
    IndexedScan(LineTable& table, const LineRules& rules, RunCounters& counters,
                RowObserver& observer)
        : m_table(table), m_rules(rules), m_counters(counters), m_pacer(observer, counters) {}

    // Builds the indexes the rows need, two at once. Throws AnalysisInterrupted.
    void buildIndexes();
    // Each throws AnalysisInterrupted when the user interrupted during the turn.
    void examineStraight(int i);
    void examineSlanted(int i);

private:
    enum class Outcome { AllCarriedOut, RowChanged, RowDeleted };

    Outcome carryOutFound(int i, Axis axis);
    std::optional<StraightLineIndex>& straightSlot(Axis axis);
    StraightLineIndex& straightIndex(Axis axis);
    void removeStraight(int row);
    void removePiece(const StraightLineIndex::Candidate& piece, Axis axis);
    void refreshStraight(int row);

    LineTable& m_table;
    const LineRules& m_rules;
    RunCounters& m_counters;
    TurnPacer m_pacer;
    // Built from the table as it was read, and kept up to date by every turn: a turn finds the
    // same candidates as in an index built from the table as it is then.
    std::optional<StraightLineIndex> m_vertical;
    std::optional<StraightLineIndex> m_horizontal;
    std::optional<SlantedLineIndex> m_slanted;
    std::vector<StraightLineIndex::Candidate> m_found;
};

// Tells a helper thread's pacer to stop once the calling thread has stopped.
class StopFlag : public RowObserver {
public:
    bool beforeRow(int, const RunCounters&) override { return !isRaised(); }
    bool duringRow(int, const RunCounters&) override { return !isRaised(); }
    void raise() { m_isRaised.store(true, std::memory_order_relaxed); }

private:
    bool isRaised() const { return m_isRaised.load(std::memory_order_relaxed); }
    std::atomic<bool> m_isRaised{false};
};

void IndexedScan::buildIndexes() {
    bool hasVertical = false;
    bool hasHorizontal = false;
    bool hasSlanted = false;
    for (int r = 1; r <= m_table.size(); ++r) {
        const LineRow& row = m_table[r];
        hasVertical = hasVertical || row.isVertical();
        hasHorizontal = hasHorizontal || row.isHorizontal();
        hasSlanted = hasSlanted || row.isSlanted();
    }
    const bool straight = m_rules.joinLines || m_rules.removeDuplicates;
    hasSlanted = hasSlanted && m_rules.removeDuplicates;

    // The helper builds the horizontal and the slanted index; only this thread talks to the
    // window, so the helper's pacer just watches for this thread to stop.
    StopFlag stop;
    TurnPacer helperPacer(stop, m_counters);
    std::exception_ptr helperFailure;
    std::promise<void> helperDone;
    std::future<void> helperBuilt = helperDone.get_future();
    std::jthread helper([&] {
        try {
            if (straight && hasHorizontal) {
                m_horizontal.emplace(m_table, Axis::Horizontal, m_rules, helperPacer);
            }
            if (hasSlanted) {
                m_slanted.emplace(m_table, m_rules, helperPacer);
            }
        } catch (...) {
            helperFailure = std::current_exception();
        }
        helperDone.set_value();
    });
    try {
        if (straight && hasVertical) {
            m_vertical.emplace(m_table, Axis::Vertical, m_rules, m_pacer);
        }
        while (helperBuilt.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
            m_pacer.breathe();
        }
    } catch (...) {
        stop.raise();
        throw;
    }
    if (helperFailure) {
        std::rethrow_exception(helperFailure);
    }
}

void IndexedScan::examineStraight(int i) {
    m_pacer.startTurn(i);
    const Axis axis = axisOf(m_table[i]);
    StraightLineIndex& index = straightIndex(axis);
    const StraightLineIndex::Turn turn = index.turnOf(i);
    std::size_t limit = kFirstBatch;
    for (;;) {
        index.findActing(turn, limit, m_found);
        switch (carryOutFound(i, axis)) {
            case Outcome::RowDeleted:
                return;
            case Outcome::RowChanged:
                limit = kFirstBatch;
                break;
            case Outcome::AllCarriedOut:
                if (m_found.size() < limit) {
                    return;
                }
                limit = std::min(2 * limit, kLargestBatch);
                break;
        }
        m_pacer.step();
    }
}

// Deleting a piece leaves row i and every other candidate as they were, so the rows found stay
// valid until a join moves an end of row i.
IndexedScan::Outcome IndexedScan::carryOutFound(int i, Axis axis) {
    LineRow& row = m_table[i];
    for (const StraightLineIndex::Candidate& piece : m_found) {
        const auto action = straightAction(axis, spanOf(row, axis), piece.span, m_rules);
        assert(action != StraightAction::None && "the index finds only rows that act");
        carryOut(action, row, m_table[piece.row], piece.span, axis, m_counters);
        if (action == StraightAction::DeleteRow) {
            removeStraight(i);
            return Outcome::RowDeleted;
        }
        removePiece(piece, axis);
        if (isJoin(action)) {
            refreshStraight(i);
            return Outcome::RowChanged;
        }
    }
    return Outcome::AllCarriedOut;
}

void IndexedScan::examineSlanted(int i) {
    m_pacer.startTurn(i);
    if (m_slanted->isCovered(i)) {
        deleteDuplicate(m_table[i], m_counters);
        m_slanted->remove(i);
    }
}

std::optional<StraightLineIndex>& IndexedScan::straightSlot(Axis axis) {
    return axis == Axis::Vertical ? m_vertical : m_horizontal;
}

StraightLineIndex& IndexedScan::straightIndex(Axis axis) {
    return *straightSlot(axis);
}

// A row is held only by the indexes of the axes it runs along (refresh() sees to that), and
// looking up its entry in another would cost a cache miss for nothing.
void IndexedScan::removeStraight(int row) {
    for (const Axis axis : {Axis::Vertical, Axis::Horizontal}) {
        if (std::optional<StraightLineIndex>& index = straightSlot(axis);
            index && runsAlong(m_table[row], axis)) {
            index->remove(row);
        }
    }
}

void IndexedScan::removePiece(const StraightLineIndex::Candidate& piece, Axis axis) {
    straightIndex(axis).remove(piece);
    const Axis other = axis == Axis::Vertical ? Axis::Horizontal : Axis::Vertical;
    if (std::optional<StraightLineIndex>& index = straightSlot(other);
        index && runsAlong(m_table[piece.row], other)) {
        index->remove(piece.row);
    }
}

void IndexedScan::refreshStraight(int row) {
    for (auto* index : {&m_vertical, &m_horizontal}) {
        if (*index) {
            (*index)->refresh(row);
        }
    }
}

}  // namespace

bool analyseLines(LineTable& table, const LineRules& rules, RunCounters& counters,
                  RowObserver& observer) {
    IndexedScan scan(table, rules, counters, observer);
    try {
        scan.buildIndexes();
        return takeTurns(
            table, rules, counters, observer, [&](int i) { scan.examineStraight(i); },
            [&](int i) { scan.examineSlanted(i); });
    } catch (const AnalysisInterrupted&) {
        return false;
    }
}

}  // namespace lintrel

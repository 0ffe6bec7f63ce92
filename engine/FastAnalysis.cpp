// The line analysis as the program runs it: the turns of the literal scan, each looking only at
// the candidates that can act on its row (IndexedScan), and on a large table taken by two threads
// at once (TurnLane).

#include <cstdint>
#include <exception>
#include <thread>
#include <utility>
#include <vector>

#include "AnalysisTurns.h"
#include "HugePages.h"
#include "IndexedScan.h"
#include "LineAnalysis.h"
#include "TurnLane.h"

namespace lintrel {
namespace {

// Below this many rows a second thread costs more than it saves, and so it does when it would
// take less than this share of the turns.
constexpr int kRowsForTwoThreads = 20000;
constexpr int kSmallestShareInverse = 4;

// Which thread takes a row's turn. A row keeps its kind until its own turn, so this is settled
// before the turns start.
enum class Owner : std::uint8_t {
    None,         // no rule examines it
    Calling,      // a vertical row
    CallingZero,  // a zero-length row: the helper's turns may touch it as well
    Helper,       // a horizontal or slanted row
};

using Owners = std::vector<Owner, HugePageAllocator<Owner>>;

Owners ownersOf(const LineTable& table, const LineRules& rules) {
    const bool straight = rules.joinLines || rules.removeDuplicates;
    Owners owners(static_cast<std::size_t>(table.size()) + 1, Owner::None);
    for (int i = 1; i <= table.size(); ++i) {
        const LineRow& row = table[i];
        Owner& owner = owners[static_cast<std::size_t>(i)];
        if (row.isSlanted()) {
            owner = rules.removeDuplicates ? Owner::Helper : Owner::None;
        } else if (straight) {
            owner = row.isHorizontal() ? Owner::Helper
                    : row.Y1 == row.Y2 ? Owner::CallingZero
                                       : Owner::Calling;
        }
    }
    return owners;
}

bool sharesWell(const Owners& owners) {
    std::size_t calling = 0;
    std::size_t helper = 0;
    for (const Owner owner : owners) {
        calling += owner == Owner::Calling || owner == Owner::CallingZero ? 1 : 0;
        helper += owner == Owner::Helper ? 1 : 0;
    }
    const std::size_t share = (calling + helper) / kSmallestShareInverse;
    return calling >= share && helper >= share;
}

// The vertical turns on the calling thread, which alone talks to the window, and the horizontal
// and slanted ones on a helper. Throws AnalysisInterrupted.
class TwoThreadTurns {
public:
    TwoThreadTurns(IndexedScan& scan, LineTable& table, Owners owners,
                   RunCounters& counters, RowObserver& observer)
        : m_scan(scan),
          m_table(table),
          m_counters(counters),
          m_observer(observer),
          m_owners(std::move(owners)),
          m_calling(observer, counters, m_shown),
          m_helper(m_stop, m_helperCounters, m_helperCounters) {
        m_calling.pairWith(m_helper);
    }

    bool run();

private:
    bool takeCallingTurns();
    void takeHelperTurns();
    const RunCounters& shown();

    IndexedScan& m_scan;
    LineTable& m_table;
    RunCounters& m_counters;
    RowObserver& m_observer;
    Owners m_owners;
    // What each thread writes as it goes lies on lines of its own, away from what the other
    // thread reads at every turn.
    static constexpr std::size_t kLine = 64;
    alignas(kLine) RunCounters m_shown;  // this thread's counts with the helper's, for the window
    alignas(kLine) RunCounters m_helperCounters;
    StopFlag m_stop;
    TurnLane m_calling;
    TurnLane m_helper;
};

bool TwoThreadTurns::run() {
    std::exception_ptr helperFailure;
    std::jthread helper([&] {
        try {
            takeHelperTurns();
        } catch (...) {
            helperFailure = std::current_exception();
        }
        m_helper.finish();
    });
    bool finished = false;
    std::exception_ptr failure;
    try {
        finished = takeCallingTurns();
        m_calling.finish();
        while (finished && !m_helper.isFinished()) {
            m_calling.pacer.step();  // the window breathes while the helper works on
            std::this_thread::yield();
        }
    } catch (...) {
        failure = std::current_exception();
    }
    m_calling.finish();
    if (!finished || failure) {
        m_stop.raise();
    }
    helper.join();
    // Whatever the helper did stands in the table, so it counts, finished or not.
    m_counters.DuplicateCount += m_helperCounters.DuplicateCount;
    m_counters.JoinCount += m_helperCounters.JoinCount;
    if (failure) {
        std::rethrow_exception(failure);
    }
    if (finished && helperFailure) {
        std::rethrow_exception(helperFailure);
    }
    return finished;
}

bool TwoThreadTurns::takeCallingTurns() {
    for (int i = 1; i <= m_table.size(); ++i) {
        const Owner owner = m_owners[static_cast<std::size_t>(i)];
        if (owner != Owner::Calling && owner != Owner::CallingZero) {
            continue;
        }
        m_calling.reach(i);
        if (owner == Owner::CallingZero) {
            m_calling.waitForOtherPast(i);  // one of the helper's earlier turns may take it
        }
        if (m_table[i].isDeleted()) {
            continue;
        }
        if (!m_observer.beforeRow(i, shown())) {
            return false;
        }
        m_scan.examineStraight(m_calling, i);
    }
    return true;
}

void TwoThreadTurns::takeHelperTurns() {
    for (int i = 1; i <= m_table.size(); ++i) {
        if (m_owners[static_cast<std::size_t>(i)] != Owner::Helper) {
            continue;
        }
        m_helper.reach(i);
        if (m_stop.isRaised()) {
            return;
        }
        if (m_table[i].isDeleted()) {
            continue;
        }
        if (m_table[i].isSlanted()) {
            m_scan.examineSlanted(m_helper, i);
        } else {
            m_scan.examineStraight(m_helper, i);
        }
        m_helper.publishCounts();
    }
}

const RunCounters& TwoThreadTurns::shown() {
    m_shown = m_counters;
    m_shown.DuplicateCount += m_helper.publishedDuplicates();
    m_shown.JoinCount += m_helper.publishedJoins();
    return m_shown;
}

bool analyse(LineTable& table, const LineRules& rules, RunCounters& counters, RowObserver& observer,
             bool onTwoThreads) {
    Owners owners;
    if (onTwoThreads || table.size() >= kRowsForTwoThreads) {
        owners = ownersOf(table, rules);
        onTwoThreads = onTwoThreads || sharesWell(owners);
    }
    IndexedScan scan(table, rules);
    TurnLane lane(observer, counters, counters);
    try {
        scan.buildIndexes(lane.pacer);
        if (onTwoThreads) {
            return TwoThreadTurns(scan, table, std::move(owners), counters, observer).run();
        }
        return takeTurns(
            table, rules, counters, observer, [&](int i) { scan.examineStraight(lane, i); },
            [&](int i) { scan.examineSlanted(lane, i); });
    } catch (const AnalysisInterrupted&) {
        return false;
    }
}

}  // namespace

bool analyseLines(LineTable& table, const LineRules& rules, RunCounters& counters,
                  RowObserver& observer) {
    return analyse(table, rules, counters, observer, false);
}

bool analyseLinesOnTwoThreads(LineTable& table, const LineRules& rules, RunCounters& counters,
                              RowObserver& observer) {
    return analyse(table, rules, counters, observer, true);
}

}  // namespace lintrel

// The line analysis as the program runs it: the turns of the literal scan, each looking only at
// the candidates that can act on its row (IndexedScan), and on a large table shared out among
// threads (SharedTurns).

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <exception>
#include <thread>

#include "AnalysisTurns.h"
#include "CacheLine.h"
#include "IndexedScan.h"
#include "LineAnalysis.h"
#include "RowKinds.h"
#include "TurnLane.h"

namespace lintrel {
namespace {

// Below this many rows sharing the turns out costs more than it saves, and so it does when one
// share would hold more than this part of them.
constexpr int kRowsForSharing = 20000;
constexpr int kLargestShareOf = 4;
constexpr int kLargestShareParts = 3;

bool takesStraight(const LineRules& rules) {
    return rules.joinLines || rules.removeDuplicates;
}

bool sharesWell(const RowKinds& kinds, const LineRules& rules) {
    const bool straight = takesStraight(rules);
    const std::array<int, 3> shares = {
        straight ? kinds.count(RowKind::Vertical) + kinds.count(RowKind::ZeroLength) : 0,
        straight ? kinds.count(RowKind::Horizontal) : 0,
        rules.removeDuplicates ? kinds.count(RowKind::Slanted) : 0};
    const int all = shares[0] + shares[1] + shares[2];
    const int largest = std::max({shares[0], shares[1], shares[2]});
    return static_cast<long long>(largest) * kLargestShareOf <=
           static_cast<long long>(all) * kLargestShareParts;
}

// Runs f, handing back what it threw.
template <class F>
std::exception_ptr failureOf(F f) {
    try {
        f();
        return nullptr;
    } catch (...) {
        return std::current_exception();
    }
}

// The turns shared out among three threads. The calling thread, which alone talks to the window,
// builds the vertical index and takes the vertical and zero-length rows; a helper builds the
// horizontal index and takes the horizontal rows (TurnLane says how the two keep to file order
// where their rows meet). Slanted rows act on nothing but themselves and meet only each other, so
// a third thread builds their index and takes their turns, in file order, all the while: the
// cores are its whenever the other two wait for each other. Throws AnalysisInterrupted.
class SharedTurns {
public:
    SharedTurns(IndexedScan& scan, LineTable& table, const RowKinds& kinds, const LineRules& rules,
                RunCounters& counters, RowObserver& observer)
        : m_scan(scan),
          m_table(table),
          m_kinds(kinds),
          m_rules(rules),
          m_counters(counters),
          m_observer(observer),
          m_calling(observer, counters, m_shown),
          m_horizontal(m_stop, m_horizontalCounters, m_horizontalCounters),
          m_slanted(m_stop, m_slantedCounters, m_slantedCounters) {
        m_calling.pairWith(m_horizontal);
    }

    bool run();

private:
    bool takeCallingShare();
    void takeHorizontalShare();
    void takeSlantedShare();
    const RunCounters& shown();

    IndexedScan& m_scan;
    LineTable& m_table;
    const RowKinds& m_kinds;
    const LineRules& m_rules;
    RunCounters& m_counters;
    RowObserver& m_observer;
    // What each thread writes as it goes lies on lines of its own, away from what the others
    // read at every turn.
    alignas(kCacheLine)
        RunCounters m_shown;  // this thread's counts with the others', for the window
    alignas(kCacheLine) RunCounters m_horizontalCounters;
    alignas(kCacheLine) RunCounters m_slantedCounters;
    StopFlag m_stop;
    std::atomic<int> m_helpersDone{0};
    TurnLane m_calling;
    TurnLane m_horizontal;
    TurnLane m_slanted;
};

bool SharedTurns::run() {
    std::exception_ptr horizontalFailure;
    std::exception_ptr slantedFailure;
    std::jthread horizontal([&] {
        horizontalFailure = failureOf([&] { takeHorizontalShare(); });
        m_horizontal.finish();  // the calling thread never waits for it again
        m_helpersDone.fetch_add(1, std::memory_order_release);
    });
    std::jthread slanted([&] {
        slantedFailure = failureOf([&] { takeSlantedShare(); });
        m_helpersDone.fetch_add(1, std::memory_order_release);
    });
    bool finished = false;
    const std::exception_ptr failure = failureOf([&] {
        finished = takeCallingShare();
        m_calling.finish();  // the helper never waits for this thread again
        while (finished && m_helpersDone.load(std::memory_order_acquire) < 2) {
            m_calling.pacer().step();  // the window breathes while the helpers work on
            std::this_thread::yield();
        }
    });
    m_calling.finish();  // also when this thread stopped early
    if (!finished || failure) {
        m_stop.raise();
    }
    horizontal.join();
    slanted.join();
    // Whatever the helpers did stands in the table, so it counts, finished or not.
    m_counters.DuplicateCount +=
        m_horizontalCounters.DuplicateCount + m_slantedCounters.DuplicateCount;
    m_counters.JoinCount += m_horizontalCounters.JoinCount;
    if (failure) {
        std::rethrow_exception(failure);
    }
    for (const std::exception_ptr& helperFailure : {horizontalFailure, slantedFailure}) {
        if (finished && helperFailure) {
            std::rethrow_exception(helperFailure);
        }
    }
    return finished;
}

bool SharedTurns::takeCallingShare() {
    if (!takesStraight(m_rules)) {
        return true;
    }
    m_scan.buildStraightIndex(Axis::Vertical, m_calling.pacer());
    for (int i = 1; i <= m_table.size(); ++i) {
        const RowKind kind = m_kinds[i];
        if (kind != RowKind::Vertical && kind != RowKind::ZeroLength) {
            continue;
        }
        m_calling.reach(i);
        if (kind == RowKind::ZeroLength) {
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

void SharedTurns::takeHorizontalShare() {
    if (!takesStraight(m_rules)) {
        return;
    }
    m_scan.buildStraightIndex(Axis::Horizontal, m_horizontal.pacer());
    for (int i = 1; i <= m_table.size(); ++i) {
        if (m_kinds[i] != RowKind::Horizontal) {
            continue;
        }
        m_horizontal.reach(i);
        if (m_stop.isRaised()) {
            return;
        }
        if (m_table[i].isDeleted()) {
            continue;
        }
        m_scan.examineStraight(m_horizontal, i);
        m_horizontal.publishCounts();
    }
}

// A slanted row is deleted only in its own turn, so each one still stands when its turn comes.
void SharedTurns::takeSlantedShare() {
    if (!m_rules.removeDuplicates) {
        return;
    }
    m_scan.buildSlantedIndex(m_slanted.pacer());
    for (int i = 1; i <= m_table.size(); ++i) {
        if (m_kinds[i] != RowKind::Slanted) {
            continue;
        }
        if (m_stop.isRaised()) {
            return;
        }
        m_scan.examineSlanted(m_slanted, i);
        m_slanted.publishCounts();
    }
}

const RunCounters& SharedTurns::shown() {
    m_shown = m_counters;
    for (const TurnLane* helper : {&m_horizontal, &m_slanted}) {
        m_shown.DuplicateCount += helper->publishedDuplicates();
        m_shown.JoinCount += helper->publishedJoins();
    }
    return m_shown;
}

bool analyse(LineTable& table, const LineRules& rules, RunCounters& counters, RowObserver& observer,
             bool inParallel) {
    const RowKinds kinds(table);
    inParallel = inParallel || (table.size() >= kRowsForSharing && sharesWell(kinds, rules));
    IndexedScan scan(table, kinds, rules);
    try {
        if (inParallel) {
            return SharedTurns(scan, table, kinds, rules, counters, observer).run();
        }
        TurnLane lane(observer, counters, counters);
        scan.buildIndexes(lane.pacer());
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

bool analyseLinesInParallel(LineTable& table, const LineRules& rules, RunCounters& counters,
                            RowObserver& observer) {
    return analyse(table, rules, counters, observer, true);
}

}  // namespace lintrel

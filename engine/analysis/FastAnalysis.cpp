// The line analysis as the program runs it: the turns of the literal scan, each looking only at
// the candidates that can act on its row (IndexedScan), and on a large table shared out among
// threads (SharedTurns).

#include <algorithm>
#include <array>
#include <exception>
#include <stop_token>

#include "AnalysisTurns.h"
#include "CacheLine.h"
#include "HelperThread.h"
#include "IndexedScan.h"
#include "LineAnalysis.h"
#include "RowBits.h"
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

// Takes the turns of a lane's rows in file order, fetching ahead what the turns a few rows on
// read first. The run is found through the entry, so the entry is fetched twice as far ahead.
template <class Take>
void takeStraightTurns(const IndexedScan& scan, Axis axis, const RowBits& rows, Take take) {
    constexpr int kRunAhead = 8;
    RowBits::Cursor turn = rows.first();
    RowBits::Cursor runAhead = rows.first();
    RowBits::Cursor entryAhead = rows.first();
    for (int k = 0; k < kRunAhead; ++k) {
        runAhead.advance();
    }
    for (int k = 0; k < 2 * kRunAhead; ++k) {
        entryAhead.advance();
    }
    for (; turn.row() != RowBits::Cursor::kEnd;
         turn.advance(), runAhead.advance(), entryAhead.advance()) {
        scan.fetchAhead(axis, entryAhead.row(), runAhead.row());
        take(turn.row());
    }
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
// cores are its whenever the other two wait for each other.
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
          m_horizontal(m_helpersWatch, m_horizontalCounters, m_horizontalCounters),
          m_slanted(m_helpersWatch, m_slantedCounters, m_slantedCounters) {
        m_calling.pairWith(m_horizontal);
    }

    // Passes on what the observer throws, or what a helper threw.
    void run();

private:
    void takeCallingShare();
    void waitForHelpers(HelperThread& horizontal, HelperThread& slanted);
    void takeHorizontalShare(const std::stop_token& stop);
    void takeSlantedShare(const std::stop_token& stop);
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
    std::stop_source m_helpersStop;  // both helpers stop together
    StopWatch m_helpersWatch{m_helpersStop.get_token()};
    TurnLane m_calling;
    TurnLane m_horizontal;
    TurnLane m_slanted;
};

void SharedTurns::run() {
    std::exception_ptr failure;
    {
        HelperThread horizontal(
            [this](const std::stop_token& stop) {
                // Finished however it ends: the calling thread never waits for it again.
                const std::exception_ptr helperFailure =
                    failureOf([&] { takeHorizontalShare(stop); });
                m_horizontal.finish();
                if (helperFailure) {
                    std::rethrow_exception(helperFailure);
                }
            },
            m_helpersStop);
        HelperThread slanted([this](const std::stop_token& stop) { takeSlantedShare(stop); },
                             m_helpersStop);
        failure = failureOf([&] {
            takeCallingShare();
            waitForHelpers(horizontal, slanted);
        });
        m_calling.finish();  // also when this thread stopped early: the helper never waits for it
    }
    // Whatever the helpers did stands in the table, so it counts, finished or not.
    m_counters.DuplicateCount +=
        m_horizontalCounters.DuplicateCount + m_slantedCounters.DuplicateCount;
    m_counters.JoinCount += m_horizontalCounters.JoinCount;
    if (failure) {
        std::rethrow_exception(failure);
    }
}

void SharedTurns::takeCallingShare() {
    if (!takesStraight(m_rules)) {
        return;
    }
    m_scan.buildStraightIndex(Axis::Vertical, m_calling.pacer());
    const RowBits rows(m_kinds, m_table.size(), [](RowKind kind) {
        return kind == RowKind::Vertical || kind == RowKind::ZeroLength;
    });
    takeStraightTurns(m_scan, Axis::Vertical, rows, [&](int i) {
        m_calling.reach(i);
        if (m_kinds[i] == RowKind::ZeroLength) {
            m_calling.waitForOtherPast(i);  // one of the helper's earlier turns may take it
        }
        if (m_table[i].isDeleted()) {
            return;
        }
        m_observer.beforeRow(i, shown());
        m_scan.examineStraight(m_calling, i);
    });
}

void SharedTurns::waitForHelpers(HelperThread& horizontal, HelperThread& slanted) {
    m_calling.finish();  // the helper never waits for this thread again
    const auto breathe = [this] { m_calling.pacer().breathe(); };
    horizontal.wait(breathe);
    slanted.wait(breathe);
}

void SharedTurns::takeHorizontalShare(const std::stop_token& stop) {
    if (!takesStraight(m_rules)) {
        return;
    }
    m_scan.buildStraightIndex(Axis::Horizontal, m_horizontal.pacer());
    const RowBits rows(m_kinds, m_table.size(),
                       [](RowKind kind) { return kind == RowKind::Horizontal; });
    takeStraightTurns(m_scan, Axis::Horizontal, rows, [&](int i) {
        m_horizontal.reach(i);
        throwIfStopped(stop);
        if (m_table[i].isDeleted()) {
            return;
        }
        m_scan.examineStraight(m_horizontal, i);
        m_horizontal.publishCounts();
    });
}

// A slanted row is deleted only in its own turn, so each one still stands when its turn comes.
void SharedTurns::takeSlantedShare(const std::stop_token& stop) {
    if (!m_rules.removeDuplicates) {
        return;
    }
    m_scan.buildSlantedIndex(m_slanted.pacer());
    const RowBits rows(m_kinds, m_table.size(),
                       [](RowKind kind) { return kind == RowKind::Slanted; });
    for (RowBits::Cursor turn = rows.first(); turn.row() != RowBits::Cursor::kEnd; turn.advance()) {
        throwIfStopped(stop);
        m_scan.examineSlanted(m_slanted, turn.row());
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

}  // namespace

void analyseLines(LineTable& table, const LineRules& rules, RunCounters& counters,
                  RowObserver& observer, const ThreadBudget& threads) {
    const RowKinds kinds(table);
    IndexedScan scan(table, kinds, rules);
    const bool isLargeEnough = table.size() >= kRowsForSharing && sharesWell(kinds, rules);
    if (threads.allows(3) && (isLargeEnough || threads.sharesAnySize)) {
        SharedTurns(scan, table, kinds, rules, counters, observer).run();
        return;
    }
    TurnLane lane(observer, counters, counters);
    scan.buildIndexes(lane.pacer(), threads);
    takeTurns(
        table, rules, counters, observer, [&](int i) { scan.examineStraight(lane, i); },
        [&](int i) { scan.examineSlanted(lane, i); });
}

}  // namespace lintrel

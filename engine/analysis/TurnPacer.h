#pragma once

#include <chrono>
#include <functional>

#include "HelperThread.h"
#include "LineAnalysis.h"

namespace lintrel {

// Lets the window breathe inside a long turn: one turn may build an index over a million rows or
// swallow a million pieces, and the user must still be able to interrupt within a few tens of
// milliseconds.
class TurnPacer {
public:
    TurnPacer(RowObserver& observer, const RunCounters& counters)
        : m_observer(observer), m_counters(counters) {}

    // The observer has just heard of row i. Most turns are far too short to need the clock, so
    // a turn is timed from its first look at it, a few microseconds in.
    void startTurn(int i) {
        m_row = i;
        m_steps = 0;
        m_isTimed = false;
    }

    // One step of the turn is done. Passes on what the observer throws.
    void step() {
        // A step takes about a microsecond: reading the clock at every one would cost more.
        if (++m_steps % kStepsPerLook != 0) {
            return;
        }
        const auto now = Clock::now();
        if (!m_isTimed) {
            m_isTimed = true;
            m_lastBreath = now;
            return;
        }
        if (now - m_lastBreath < kBreathEvery) {
            return;
        }
        breathe();
    }

    // Lets the window breathe now. Passes on what the observer throws.
    void breathe() {
        m_isTimed = true;
        m_lastBreath = Clock::now();
        m_observer.duringRow(m_row, m_counters);
    }

    // `less` for sorting, taking a step every kComparisonsPerStep comparisons.
    template <class Less>
    auto pacedLess(Less less) {
        // The count lives here: a sort copies its comparison over and over.
        return [this, less](const auto& a, const auto& b) {
            if (++m_comparisons % kComparisonsPerStep == 0) {
                step();
            }
            return less(a, b);
        };
    }

private:
    using Clock = std::chrono::steady_clock;
    static constexpr int kStepsPerLook = 64;
    static constexpr int kComparisonsPerStep = 1024;

    RowObserver& m_observer;
    const RunCounters& m_counters;
    int m_row = 0;
    int m_steps = 0;
    int m_comparisons = 0;
    // A new pacer breathes at its first look; a turn counts from its own first look.
    bool m_isTimed = true;
    Clock::time_point m_lastBreath;
};

// Runs two pieces of work at once and returns once both are done: `mine` on the calling thread,
// which steps its own pacer, `theirs` on a helper, with a pacer that only looks whether the
// calling thread stopped.
using RunBoth = std::function<void(const std::function<void()>& mine,
                                   const std::function<void(TurnPacer&)>& theirs)>;

}  // namespace lintrel

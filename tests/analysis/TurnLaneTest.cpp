#include "TurnLane.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "RunInterrupted.h"

namespace lintrel {
namespace {

using namespace std::chrono_literals;

// Counts the breaths of a lane; throws RunInterrupted from the first one when asked to.
class BreathCounter : public RowObserver {
public:
    explicit BreathCounter(bool stopsAtFirstBreath = false) : m_stops(stopsAtFirstBreath) {}
    void beforeRow(int, const RunCounters&) override {}
    void duringRow(int, const RunCounters&) override {
        ++breaths;
        if (m_stops) {
            throw RunInterrupted();
        }
    }
    int breaths = 0;

private:
    bool m_stops;
};

// Two paired lanes: the calling thread waits in the first for the second, which a helper moves
// past row 10 after `lag`.
struct PairedLanes {
    explicit PairedLanes(RowObserver& observer)
        : waiting(observer, counters, counters), other(quiet, otherCounters, otherCounters) {
        waiting.pairWith(other);
        other.reach(1);
    }
    void movePastTenAfter(std::chrono::milliseconds lag) {
        mover = std::jthread([this, lag] {
            std::this_thread::sleep_for(lag);
            hasPassed = true;
            other.reach(11);
        });
    }

    BreathCounter quiet;
    RunCounters counters;
    RunCounters otherCounters;
    TurnLane waiting;
    TurnLane other;
    std::atomic<bool> hasPassed{false};
    std::jthread mover;  // last, so that it is joined before the lanes go
};

TEST(TurnLane, WaitsUntilTheOtherLanePassesAndBreathesMeanwhile) {
    struct Case {
        std::chrono::milliseconds lag;
        bool breathes;  // the wait lasts several breaths
    };
    for (const Case c : {Case{0ms, false}, Case{2ms, false}, Case{60ms, true}}) {
        BreathCounter observer;
        PairedLanes lanes(observer);
        lanes.movePastTenAfter(c.lag);
        lanes.waiting.waitForOtherPast(10);
        EXPECT_TRUE(lanes.hasPassed) << c.lag.count() << " ms";
        if (c.breathes) {
            EXPECT_GE(observer.breaths, 2) << c.lag.count() << " ms";
        }
    }
}

TEST(TurnLane, AStopHeardWhileWaitingEndsTheWait) {
    BreathCounter observer(true);
    PairedLanes lanes(observer);
    lanes.movePastTenAfter(400ms);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(lanes.waiting.waitForOtherPast(10), RunInterrupted);
    EXPECT_FALSE(lanes.hasPassed);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 300ms);
}

}  // namespace
}  // namespace lintrel

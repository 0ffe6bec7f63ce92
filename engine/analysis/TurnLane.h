#pragma once

#include <atomic>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <stop_token>
#include <thread>
#include <utility>
#include <vector>

#include "CacheLine.h"
#include "HelperThread.h"
#include "LineAnalysis.h"
#include "StraightCandidate.h"
#include "TurnPacer.h"

namespace lintrel {

// The observer of a helper thread's pacer: only the calling thread talks to the window, so a
// helper's breath only looks whether it was asked to stop.
class StopWatch : public RowObserver {
public:
    explicit StopWatch(std::stop_token stop) : m_stop(std::move(stop)) {}
    void beforeRow(int, const RunCounters&) override { throwIfStopped(m_stop); }
    void duringRow(int, const RunCounters&) override { throwIfStopped(m_stop); }

private:
    std::stop_token m_stop;
};

// A helper whose work steps a pacer of its own, watching only for the calling thread to stop.
inline HelperThread pacedHelper(std::function<void(TurnPacer&)> work) {
    return HelperThread([work = std::move(work)](const std::stop_token& stop) {
        StopWatch watch(stop);
        const RunCounters unshown;
        TurnPacer helperPacer(watch, unshown);
        work(helperPacer);
    });
}

// Shares work with a paced helper; the calling thread, whose pacer this is, breathes while it
// waits for the helper's share.
inline RunBoth sharingWithHelper(TurnPacer& pacer) {
    return
        [&pacer](const std::function<void()>& mine, const std::function<void(TurnPacer&)>& theirs) {
            HelperThread helper = pacedHelper(theirs);
            mine();
            helper.wait([&pacer] { pacer.breathe(); });
        };
}

// One thread's share of the turns. Alone, a lane takes every turn. Two paired lanes take the turns
// of different rows at once, each with indexes of its own; the only rows both can touch are the
// zero-length ones, held by the indexes of both axes. A lane touches such a row in row i's turn
// only once the other lane has taken all its turns before row i, and that lane waits in turn for
// this one to pass its own turn before it touches one: so each such row sees the turns in file
// order, as in the literal scan, and never two threads at once.
class TurnLane {
public:
    // `shown` are the counters the window is shown while this lane breathes.
    TurnLane(RowObserver& observer, RunCounters& counters, const RunCounters& shown)
        : m_pacer(observer, shown), m_counters(counters) {}

    TurnPacer& pacer() { return m_pacer; }
    RunCounters& counters() { return m_counters; }
    // The pieces a straight turn found, kept from turn to turn so that its room is reused.
    std::vector<StraightCandidate>& found() { return m_found; }

    void pairWith(TurnLane& other) {
        m_other = &other;
        other.m_other = this;
    }
    bool isPaired() const { return m_other != nullptr; }

    // Row i's turn starts: every earlier turn of this lane is taken.
    void reach(int i) {
        m_reached.store(i, std::memory_order_release);
        if (!m_hasAnnouncedStart) {
            announceStart();
        }
    }
    // This lane takes no more turns.
    void finish() {
        m_reached.store(kPassedAll, std::memory_order_release);
        if (!m_hasAnnouncedStart) {
            announceStart();
        }
    }

    // Waits for the other lane to take all its turns before row i, taking steps of the pacer
    // (passing on what its observer throws). Most waits are a few turns long and spin; the first
    // one may last as long as the other lane builds its index, and sleeps, so that another thread
    // can have this core meanwhile. A wait that outlasts kSpins tells that the other lane has no
    // core to itself (the preview reads its drawing beside the run, or the machine is busy): the
    // spinning would take the core it waits for, so this lane naps between looks.
    void waitForOtherPast(int i) {
        if (m_other->m_reached.load(std::memory_order_acquire) <= i) {
            m_other->waitForStart(m_pacer);
        }
        for (int spins = 0; m_other->m_reached.load(std::memory_order_acquire) <= i; ++spins) {
            m_pacer.step();
            if (spins < kSpins) {
                std::this_thread::yield();
            } else {
                std::this_thread::sleep_for(kNap);
            }
        }
    }

    // The counts a helper lane has reached, for the window. Told only every few turns: the
    // calling thread reads them at each of its turns, and a line written at every turn would
    // travel between the cores at each.
    void publishCounts() {
        if (++m_unpublished < kTurnsPerPublish) {
            return;
        }
        m_unpublished = 0;
        m_duplicates.store(m_counters.DuplicateCount, std::memory_order_relaxed);
        m_joins.store(m_counters.JoinCount, std::memory_order_relaxed);
    }
    std::int32_t publishedDuplicates() const {
        return m_duplicates.load(std::memory_order_relaxed);
    }
    std::int32_t publishedJoins() const { return m_joins.load(std::memory_order_relaxed); }

private:
    static constexpr int kPassedAll = INT_MAX;

    void announceStart() {
        m_hasAnnouncedStart = true;
        {
            const std::lock_guard lock(m_startMutex);
            m_hasStarted = true;
        }
        m_started.notify_all();
    }
    // Called by the other lane's thread, which breathes with its own pacer meanwhile.
    void waitForStart(TurnPacer& waiting) {
        std::unique_lock lock(m_startMutex);
        while (!m_hasStarted) {
            if (m_started.wait_for(lock, kBreathEvery) == std::cv_status::timeout) {
                lock.unlock();
                waiting.breathe();
                lock.lock();
            }
        }
    }

    static constexpr int kTurnsPerPublish = 64;
    // Alone on two cores, hardly a wait of a million-line drawing spins longer. A nap wakes a
    // good deal later than asked: at 64 spins the lanes of a realistic drawing napped some 700
    // times and lost about a twentieth of the run.
    static constexpr int kSpins = 1024;
    static constexpr std::chrono::microseconds kNap{50};

    TurnPacer m_pacer;
    RunCounters& m_counters;
    std::vector<StraightCandidate> m_found;
    TurnLane* m_other = nullptr;
    int m_unpublished = 0;
    bool m_hasAnnouncedStart = false;
    std::mutex m_startMutex;
    std::condition_variable m_started;
    bool m_hasStarted = false;  // guarded by m_startMutex
    // Each written by this lane and read by another.
    alignas(kCacheLine) std::atomic<int> m_reached{0};
    alignas(kCacheLine) std::atomic<std::int32_t> m_duplicates{0};
    std::atomic<std::int32_t> m_joins{0};
};

}  // namespace lintrel

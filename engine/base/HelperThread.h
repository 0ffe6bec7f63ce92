#pragma once

#include <chrono>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <stop_token>
#include <thread>

#include "RunInterrupted.h"

namespace lintrel {

// How long the thread that talks to the window may work or wait before it lets the window
// breathe (process its events, show progress, notice an interrupt).
inline constexpr auto kBreathEvery = std::chrono::milliseconds(10);

// How a helper's work stops when asked to: by throwing RunInterrupted, as the calling thread does
// when the user interrupted.
inline void throwIfStopped(const std::stop_token& stop) {
    if (stop.stop_requested()) {
        throw RunInterrupted{};
    }
}

// One piece of work on a thread of its own, started for a thread that talks to the window and
// waits for it. The work learns that it must stop from its stop token, which may be shared by
// several helpers; what it throws is carried back to the thread that waits for it.
class HelperThread {
public:
    using Work = std::function<void(const std::stop_token&)>;

    explicit HelperThread(Work work, std::stop_source stop = {});
    // A helper not waited for (its starting thread left early) is asked to stop, and joined;
    // what it threw is dropped.
    ~HelperThread();
    HelperThread(const HelperThread&) = delete;
    HelperThread& operator=(const HelperThread&) = delete;

    // The one wait: until the work ends, calling breathe() on this thread every kBreathEvery,
    // then rethrows what the work threw. What breathe() throws (RunInterrupted when the user
    // interrupted) goes on at once, leaving the helper to the destructor.
    void wait(const std::function<void()>& breathe);
    // Asks the work to stop, and every other helper sharing its stop source.
    void requestStop() { m_stop.request_stop(); }

private:
    void run(const Work& work);

    std::stop_source m_stop;
    std::mutex m_mutex;
    std::condition_variable m_ended;
    bool m_isDone = false;         // written by the helper, read by the waiting thread; guarded
    std::exception_ptr m_failure;  // by m_mutex
    std::thread m_thread;          // last: it starts once everything it uses is in place
};

}  // namespace lintrel

#include "HelperThread.h"

#include <utility>

namespace lintrel {

HelperThread::HelperThread(Work work, std::stop_source stop)
    : m_stop(std::move(stop)), m_thread([this, work = std::move(work)] { run(work); }) {}

HelperThread::~HelperThread() {
    if (m_thread.joinable()) {
        m_stop.request_stop();
        m_thread.join();
    }
}

void HelperThread::run(const Work& work) {
    std::exception_ptr failure;
    try {
        work(m_stop.get_token());
    } catch (...) {
        failure = std::current_exception();
    }
    {
        const std::lock_guard lock(m_mutex);
        m_failure = failure;
        m_isDone = true;
    }
    // The waiting thread joins this one before it lets go of the condition, so it is still there.
    m_ended.notify_all();
}

void HelperThread::wait(const std::function<void()>& breathe) {
    {
        std::unique_lock lock(m_mutex);
        while (!m_ended.wait_for(lock, kBreathEvery, [this] { return m_isDone; })) {
            lock.unlock();
            breathe();
            lock.lock();
        }
    }
    m_thread.join();
    if (m_failure) {
        std::rethrow_exception(m_failure);
    }
}

}  // namespace lintrel

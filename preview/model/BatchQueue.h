#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <stop_token>
#include <utility>
#include <vector>

#include "CacheLine.h"

namespace lintrel::preview {

// Batches of work handed from the thread that makes them to the one thread that takes them, in
// order. The maker waits while `ahead` batches are waiting, so that a slow taker holds the
// memory of a few batches only; a taker that gives up says so, and the maker stops waiting.
// The batches a taker is done with go back to the maker whole, for it to overwrite their items:
// their room is reused, and no memory is freed on another thread than the one that allocated it
// (that contends for the allocator's lock).
template <class T>
class BatchQueue {
public:
    explicit BatchQueue(std::size_t ahead) : m_ahead(ahead) {}

    // The maker: queues a batch; false when the taker gave up, and the batch is dropped.
    bool push(std::vector<T>&& batch) {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_batches.size() < m_ahead || m_isAbandoned; });
        if (m_isAbandoned) {
            return false;
        }
        m_batches.push_back(std::move(batch));
        m_changed.notify_all();
        return true;
    }
    // The maker: no more batches.
    void close() {
        const std::lock_guard lock(m_mutex);
        m_isClosed = true;
        m_changed.notify_all();
    }

    // The taker: the next batch into `batch`; false once the queue is closed and empty, or
    // when `stop` is asked.
    bool pop(std::vector<T>& batch, const std::stop_token& stop) {
        std::unique_lock lock(m_mutex);
        if (!m_changed.wait(lock, stop, [this] { return !m_batches.empty() || m_isClosed; }) ||
            m_batches.empty()) {
            return false;
        }
        if (batch.capacity() > 0) {
            m_done.push_back(std::move(batch));
        }
        batch = std::move(m_batches.front());
        m_batches.pop_front();
        m_changed.notify_all();
        return true;
    }
    // The maker: a batch the taker is done with, its items as the taker left them; an empty one
    // when there is none.
    std::vector<T> returned() {
        const std::lock_guard lock(m_mutex);
        if (m_done.empty()) {
            return {};
        }
        std::vector<T> batch = std::move(m_done.front());
        m_done.pop_front();
        return batch;
    }
    // The taker: takes no more batches.
    void abandon() {
        const std::lock_guard lock(m_mutex);
        m_isAbandoned = true;
        m_changed.notify_all();
    }

private:
    std::size_t m_ahead;
    // Written and read by both threads under the mutex, on a line of their own.
    alignas(kCacheLine) std::mutex m_mutex;
    std::condition_variable_any m_changed;
    std::deque<std::vector<T>> m_batches;
    std::deque<std::vector<T>> m_done;  // given back by the taker
    bool m_isClosed = false;
    bool m_isAbandoned = false;
};

}  // namespace lintrel::preview

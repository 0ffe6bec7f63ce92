#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <stop_token>
#include <thread>
#include <vector>

#include "BatchQueue.h"

namespace lintrel::preview {
namespace {

TEST(BatchQueue, HandsEveryBatchOverInOrder) {
    BatchQueue<int> queue(2);
    std::vector<int> taken;
    std::jthread taker([&](const std::stop_token& stop) {
        std::vector<int> batch;
        while (queue.pop(batch, stop)) {
            taken.insert(taken.end(), batch.begin(), batch.end());
        }
    });
    std::vector<int> made;
    for (int k = 0; k < 100; ++k) {
        std::vector<int> batch = {3 * k, 3 * k + 1, 3 * k + 2};
        made.insert(made.end(), batch.begin(), batch.end());
        EXPECT_TRUE(queue.push(std::move(batch)));
    }
    queue.close();
    taker.join();
    EXPECT_EQ(taken, made);
}

TEST(BatchQueue, GivesTheLastBatchesAfterItIsClosed) {
    BatchQueue<int> queue(4);
    EXPECT_TRUE(queue.push({1}));
    EXPECT_TRUE(queue.push({2, 3}));
    queue.close();
    std::stop_source never;
    std::vector<int> batch;
    ASSERT_TRUE(queue.pop(batch, never.get_token()));
    EXPECT_EQ(batch, (std::vector<int>{1}));
    ASSERT_TRUE(queue.pop(batch, never.get_token()));
    EXPECT_EQ(batch, (std::vector<int>{2, 3}));
    EXPECT_FALSE(queue.pop(batch, never.get_token()));
}

TEST(BatchQueue, AMakerWaitingOnAFullQueueStopsWhenTheTakerGivesUp) {
    BatchQueue<int> queue(1);
    EXPECT_TRUE(queue.push({1}));
    bool wasTaken = true;
    std::thread maker([&] { wasTaken = queue.push({2}); });  // waits: one batch is ahead
    queue.abandon();
    maker.join();
    EXPECT_FALSE(wasTaken);
}

TEST(BatchQueue, ATakerWaitingForABatchStopsWhenAsked) {
    BatchQueue<int> queue(1);
    bool wasGiven = true;
    std::jthread taker([&](const std::stop_token& stop) {
        std::vector<int> batch;
        wasGiven = queue.pop(batch, stop);
    });
    taker.request_stop();
    taker.join();
    EXPECT_FALSE(wasGiven);
}

// Notes the thread that destroys it.
struct Destroyed {
    static std::mutex mutex;
    static std::vector<std::thread::id> by;
    int value = 0;
    ~Destroyed() {
        const std::lock_guard lock(mutex);
        by.push_back(std::this_thread::get_id());
    }
};
std::mutex Destroyed::mutex;
std::vector<std::thread::id> Destroyed::by;

TEST(BatchQueue, TheBatchesATakerIsDoneWithComeBackWholeToTheMaker) {
    BatchQueue<Destroyed> queue(2);
    std::thread::id takerId;
    std::vector<int> taken;
    std::jthread taker([&](const std::stop_token& stop) {
        takerId = std::this_thread::get_id();
        std::vector<Destroyed> batch;
        while (queue.pop(batch, stop)) {
            for (const Destroyed& item : batch) {
                taken.push_back(item.value);
            }
        }
    });
    std::vector<Destroyed> batch;
    int made = 0;
    int reused = 0;
    for (int k = 0; k < 50; ++k) {
        // A batch comes back as it was made, three items from a multiple of three on.
        if (!batch.empty()) {
            ASSERT_EQ(batch.size(), 3U);
            EXPECT_EQ(batch[0].value % 3, 0);
            EXPECT_EQ(batch[2].value, batch[0].value + 2);
            EXPECT_LT(batch[2].value, made);
            ++reused;
        }
        batch.resize(3);
        for (Destroyed& item : batch) {
            item.value = made++;
        }
        ASSERT_TRUE(queue.push(std::move(batch)));
        batch = queue.returned();
    }
    queue.close();
    taker.join();
    ASSERT_EQ(taken.size(), 150U);
    EXPECT_EQ(taken.back(), 149);
    EXPECT_GT(reused, 0);
    // So far only the taker's last batch is destroyed, on its thread; the others live on.
    const std::lock_guard lock(Destroyed::mutex);
    EXPECT_LE(Destroyed::by.size(), 3U);
    EXPECT_EQ(std::count(Destroyed::by.begin(), Destroyed::by.end(), takerId),
              static_cast<std::ptrdiff_t>(Destroyed::by.size()));
}

}  // namespace
}  // namespace lintrel::preview

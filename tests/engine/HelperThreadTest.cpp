#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <stop_token>
#include <string>
#include <thread>

#include "HelperThread.h"
#include "RunInterrupted.h"

namespace lintrel {
namespace {

// Works until asked to stop, noting that it was.
void workUntilStopped(const std::stop_token& stop, std::atomic<bool>& wasStopped) {
    while (!stop.stop_requested()) {
        std::this_thread::yield();
    }
    wasStopped = true;
}

TEST(HelperThread, BreathesWhileItWaitsAndCarriesTheWorksFailureBack) {
    std::atomic<int> breaths{0};
    HelperThread helper([&](const std::stop_token&) {
        while (breaths < 3) {
            std::this_thread::yield();
        }
        throw std::runtime_error("the part could not be read");
    });
    try {
        helper.wait([&] { ++breaths; });
        ADD_FAILURE() << "the failure was not carried back";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()), "the part could not be read");
    }
    EXPECT_GE(breaths, 3);  // one more may come before the failure is noticed
}

TEST(HelperThread, StopsTheWorkWhenTheWaitingThreadIsInterrupted) {
    std::atomic<bool> wasStopped{false};
    {
        HelperThread helper(
            [&](const std::stop_token& stop) { workUntilStopped(stop, wasStopped); });
        EXPECT_THROW(helper.wait([] { throw RunInterrupted{}; }), RunInterrupted);
    }
    EXPECT_TRUE(wasStopped);
}

TEST(HelperThread, StopsEveryHelperOfOneStopSourceAndDropsWhatTheyThrow) {
    std::atomic<bool> firstStopped{false};
    std::atomic<bool> secondStopped{false};
    {
        std::stop_source stop;
        HelperThread first(
            [&](const std::stop_token& token) {
                workUntilStopped(token, firstStopped);
                throwIfStopped(token);
            },
            stop);
        HelperThread second(
            [&](const std::stop_token& token) { workUntilStopped(token, secondStopped); }, stop);
        first.requestStop();
        second.wait([] {});
        EXPECT_TRUE(secondStopped);
    }
    EXPECT_TRUE(firstStopped);
}

}  // namespace
}  // namespace lintrel

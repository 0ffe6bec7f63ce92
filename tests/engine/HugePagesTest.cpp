#include "HugePages.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace lintrel {
namespace {

constexpr std::size_t kMiB = std::size_t{1} << 20;

// Sizes on either side of where memory moves from the heap to its own mapping.
class LargeAllocation : public ::testing::TestWithParam<std::size_t> {};

TEST_P(LargeAllocation, IsWritableAllThroughAndAlignedForItsElements) {
    const std::size_t bytes = GetParam();
    auto* memory = static_cast<unsigned char*>(allocateLarge(bytes));
    ASSERT_NE(memory, nullptr);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(memory) % alignof(std::max_align_t), 0U);
    if (bytes >= 2 * kMiB) {
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(memory) % (2 * kMiB), 0U);
    }
    std::memset(memory, 0xA5, bytes);
    EXPECT_EQ(memory[0], 0xA5);
    EXPECT_EQ(memory[bytes - 1], 0xA5);
    freeLarge(memory, bytes);
}

// Faulting a page in ahead of its first write leaves what the array holds as it was: zeros in a
// mapped one, the bytes written in one from the heap (which it leaves alone).
TEST_P(LargeAllocation, FaultingInAPageAheadChangesNothingItHolds) {
    const std::size_t bytes = GetParam();
    auto* memory = static_cast<unsigned char*>(allocateLarge(bytes));
    const bool fromTheHeap = bytes < kMiB;
    if (fromTheHeap) {
        std::memset(memory, 0xA5, bytes);
    }
    for (const std::size_t offset : {std::size_t{0}, bytes / 2, bytes - 1}) {
        faultInLarge(memory, offset, bytes);
    }
    const std::vector<unsigned char> expected(bytes, fromTheHeap ? 0xA5 : 0);
    EXPECT_EQ(std::memcmp(memory, expected.data(), bytes), 0);
    freeLarge(memory, bytes);
}

INSTANTIATE_TEST_SUITE_P(Sizes, LargeAllocation,
                         ::testing::Values(1, 4096, 2 * kMiB - 1, 2 * kMiB, 2 * kMiB + 1,
                                           5 * kMiB + 3));

TEST(HugePageAllocator, BacksAVectorThatGrowsPastTheHugePageSize) {
    HugeVector<std::uint64_t> values;
    for (std::uint64_t i = 0; i < 600'000; ++i) {
        values.push_back(i * 3);
    }
    EXPECT_EQ(values[0], 0U);
    EXPECT_EQ(values[299'999], 899'997U);
    EXPECT_EQ(values.back(), 1'799'997U);
}

}  // namespace
}  // namespace lintrel

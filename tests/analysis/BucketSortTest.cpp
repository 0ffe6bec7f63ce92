// Spreading into buckets by a key, then sorting each bucket, orders as one comparison sort does,
// whatever the key's spread: all keys equal, a few distinct ones, evenly spread, or coarse.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <random>
#include <tuple>
#include <vector>

#include "BucketSort.h"
#include "RunCounters.h"
#include "TurnLane.h"
#include "TurnPacer.h"

namespace lintrel {
namespace {

struct Item {
    std::uint32_t block;
    double across;
    std::int32_t row;

    bool operator==(const Item&) const = default;
};

bool less(const Item& a, const Item& b) {
    return std::tie(a.block, a.across, a.row) < std::tie(b.block, b.across, b.row);
}

class QuietObserver : public RowObserver {
public:
    void beforeRow(int, const RunCounters&) override {}
};

struct SpreadCase {
    const char* name;
    std::size_t count;
    std::function<double(std::mt19937&)> across;
    std::uint32_t blocks;
    // The key, from the item and the key of blocks and places made for all items.
    std::function<std::uint64_t(const Item&, const BlockThenPlace&)> key;
    // Items of one block and coordinate are spread on by their row.
    bool thenByRow = false;
    // Rows numbered in the items' order rather than at random; the last item's then made the
    // first's, when `lastOutOfOrder`.
    bool rowsInOrder = false;
    bool lastOutOfOrder = false;
};

std::uint64_t byPlace(const Item& item, const BlockThenPlace& keyOf) {
    return keyOf(item.block, item.across);
}

TEST(BucketSort, OrdersAsOneComparisonSortDoes) {
    const auto uniform = [](std::mt19937& random) {
        return std::uniform_real_distribution<double>(-5000, 20000)(random);
    };
    const SpreadCase cases[] = {
        {"evenly spread, one block", 100'000, uniform, 1, byPlace},
        {"evenly spread, many blocks", 100'000, uniform, 300, byPlace},
        {"a few distinct coordinates, zeros of both signs among them", 50'000,
         [](std::mt19937& random) {
             constexpr double kFew[] = {-0.0, 0.0, 1.5, -7.25, 1e6};
             return kFew[random() % 5];
         },
         2, byPlace},
        {"one coordinate", 20'000, [](std::mt19937&) { return 3.0; }, 1, byPlace},
        {"clustered: most in a tiny range, a few far out", 60'000,
         [](std::mt19937& random) {
             return random() % 100 == 0 ? 1e9 * (random() % 7) : 1.0 + (random() % 1000) * 1e-9;
         },
         1, byPlace},
        {"infinities at both ends", 30'000,
         [](std::mt19937& random) {
             const auto pick = random() % 50;
             return pick == 0 ? HUGE_VAL : pick == 1 ? -HUGE_VAL : 0.5 * (random() % 4000);
         },
         4, byPlace},
        {"a coarse key: the block alone", 30'000, uniform, 50,
         [](const Item& item, const BlockThenPlace&) { return std::uint64_t{item.block}; }},
        {"the same key for all", 30'000, uniform, 50,
         [](const Item&, const BlockThenPlace&) { return std::uint64_t{7}; }},
        {"one coordinate, then by row", 50'000, [](std::mt19937&) { return 3.0; }, 1, byPlace,
         true},
        {"a few coordinates, then by row", 50'000,
         [](std::mt19937& random) { return 0.5 * (random() % 3); }, 3, byPlace, true},
        {"a coarse key, then by row where the coordinates differ under it", 30'000, uniform, 5,
         [](const Item& item, const BlockThenPlace&) { return std::uint64_t{item.block}; }, true},
        {"fewer items than are worth spreading", 40, uniform, 3, byPlace},
        {"one coordinate, rows in order already", 50'000, [](std::mt19937&) { return 3.0; }, 1,
         byPlace, false, true},
        {"one coordinate, rows in order but the last", 50'000, [](std::mt19937&) { return 3.0; }, 1,
         byPlace, false, true, true},
        {"a few in order but the last", 40, [](std::mt19937&) { return 3.0; }, 1, byPlace, false,
         true, true},
        {"no items", 0, uniform, 1, byPlace},
    };
    // Each case sorted on one thread, then with half of the buckets sorted on a helper.
    int handedOver = 0;
    std::mt19937 random(7);
    for (const bool isShared : {false, true}) {
        for (const auto& c : cases) {
            std::vector<Item> items;
            for (std::size_t k = 0; k < c.count; ++k) {
                const auto row = static_cast<std::int32_t>(c.rowsInOrder ? k : random() % 100'000);
                items.push_back(
                    {static_cast<std::uint32_t>(random() % c.blocks), c.across(random), row});
            }
            if (c.lastOutOfOrder) {
                items.back().row = items.front().row;
            }
            const BlockThenPlace keyOf(
                items, [](const Item& item) { return item.block; },
                [](const Item& item) { return item.across; });
            std::vector<Item> expected = items;
            std::sort(expected.begin(), expected.end(), less);
            QuietObserver observer;
            RunCounters counters;
            TurnPacer pacer(observer, counters);
            const RunBoth helper = sharingWithHelper(pacer);
            const RunBoth both = [&](const std::function<void()>& mine,
                                     const std::function<void(TurnPacer&)>& theirs) {
                ++handedOver;
                helper(mine, theirs);
            };
            // Without the row as a second key no two items tie.
            const bool thenByRow = c.thenByRow;
            bucketSort(
                items, [&](const Item& item) { return c.key(item, keyOf); },
                [thenByRow](const Item& a, const Item& b) {
                    return thenByRow && a.block == b.block && a.across == b.across;
                },
                [](const Item& item) { return static_cast<std::uint64_t>(item.row); }, less, pacer,
                isShared ? &both : nullptr);
            EXPECT_EQ(items, expected) << c.name << (isShared ? ", shared" : "");
        }
    }
    // Most cases spread their items into buckets, and those are shared.
    EXPECT_GE(handedOver, 8);
}

}  // namespace
}  // namespace lintrel

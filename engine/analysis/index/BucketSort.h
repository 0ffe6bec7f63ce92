#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>

#include "TurnPacer.h"

namespace lintrel {
namespace bucket_sort {

constexpr int kDigitBits = 8;
constexpr std::size_t kBuckets = std::size_t{1} << kDigitBits;
constexpr std::ptrdiff_t kFewest = 64;  // fewer items are sorted by comparison
constexpr int kItemsPerStep = 1024;

// The keys items are spread by: `first`, and among items that `tie` in all that `first` orders
// them by, `then`.
template <class First, class Tie, class Then>
struct Keys {
    First first;
    Tie tie;
    Then then;
};
template <class First, class Tie, class Then>
Keys(First, Tie, Then) -> Keys<First, Tie, Then>;

// Sorts items[first, last) by `less`, unless they are in order already: a bucket the key cannot
// spread is mostly one whose items tie in all but their row, and those come in row order (a
// million copies of one line), which a sort would take n log n comparisons to find.
template <class Items, class Less>
void sortUnlessSorted(Items& items, std::ptrdiff_t first, std::ptrdiff_t last, Less& less) {
    const auto begin = items.begin();
    if (!std::is_sorted(begin + first, begin + last, less)) {
        std::sort(begin + first, begin + last, less);
    }
}

// Where each of the 256 buckets begins, and the end of the last.
using Starts = std::array<std::ptrdiff_t, kBuckets + 1>;

// Where the keys of some items lie: the digit of a key is (key - lowest) >> shift, below 256.
struct KeySpan {
    std::uint64_t lowest;
    int shift;

    std::size_t digitOf(std::uint64_t key) const {
        return static_cast<std::size_t>((key - lowest) >> shift);
    }
    // Where the keys of bucket b lie; nothing is known when each bucket holds one key.
    std::optional<KeySpan> ofBucket(std::size_t b) const {
        if (shift == 0) {
            return std::nullopt;
        }
        return KeySpan{lowest + (std::uint64_t{b} << shift), std::max(0, shift - kDigitBits)};
    }
};

// How distribute() spread some items: where the buckets begin, and by what span of keys.
struct Spread {
    Starts starts;
    KeySpan span;
};

// Spreads items[first, last) into buckets by the leading byte of where their keys lie in `span`,
// in place, and returns where the buckets begin; 256 buckets keep every place an item is put in
// the cache. Without a span, or when the span given (that of the bucket the items came from)
// leaves them all in one bucket, the span is that of their lowest and highest keys. Sorts the
// items by `less` instead, and returns nothing, when they are few or their keys cannot spread
// them. `byThen` tells which key spreads them, and turns true where the items tie in all that
// `first` orders them by. Each item's digit is worked out once and kept in `digits` (by
// position, as the items move), for a key costs more to work out than the item does to move.
template <class Items, class SpreadKeys, class Less>
std::optional<Spread> distribute(Items& items, std::ptrdiff_t first, std::ptrdiff_t last,
                                 const SpreadKeys& keys, bool& byThen, Less& less, TurnPacer& pacer,
                                 std::optional<KeySpan> span, std::uint8_t* digits) {
    const auto begin = items.begin();
    const auto itemAt = [&](std::ptrdiff_t at) -> auto& {
        return items[static_cast<std::size_t>(at)];
    };
    const auto keyAt = [&](std::ptrdiff_t at) {
        return byThen ? keys.then(itemAt(at)) : keys.first(itemAt(at));
    };
    if (last - first < kFewest) {
        sortUnlessSorted(items, first, last, less);
        return std::nullopt;
    }
    if (!span) {
        std::uint64_t lowest = std::numeric_limits<std::uint64_t>::max();
        std::uint64_t highest = 0;
        for (std::ptrdiff_t at = first; at < last; ++at) {
            if (at % kItemsPerStep == 0) {
                pacer.step();
            }
            const std::uint64_t key = keyAt(at);
            lowest = std::min(lowest, key);
            highest = std::max(highest, key);
        }
        if (lowest == highest) {
            if (!byThen && std::all_of(begin + first, begin + last, [&](const auto& item) {
                    return keys.tie(itemAt(first), item);
                })) {
                byThen = true;
                return distribute(items, first, last, keys, byThen, less, pacer, std::nullopt,
                                  digits);
            }
            sortUnlessSorted(items, first, last, less);
            return std::nullopt;
        }
        span = KeySpan{
            lowest, std::max(0, static_cast<int>(std::bit_width(highest - lowest)) - kDigitBits)};
    }
    Spread spreadBy{{}, *span};
    Starts& starts = spreadBy.starts;
    for (std::ptrdiff_t at = first; at < last; ++at) {
        if (at % kItemsPerStep == 0) {
            pacer.step();
        }
        const std::size_t digit = span->digitOf(keyAt(at));
        digits[at] = static_cast<std::uint8_t>(digit);
        ++starts[digit + 1];
    }
    if (std::find(starts.begin(), starts.end(), last - first) != starts.end()) {
        // One bucket would hold them all: look at where their keys really lie.
        return distribute(items, first, last, keys, byThen, less, pacer, std::nullopt, digits);
    }
    starts[0] = first;
    for (std::size_t b = 0; b < kBuckets; ++b) {
        starts[b + 1] += starts[b];
    }
    // Each item is swapped straight into its bucket, at the bucket's next free place.
    std::array<std::ptrdiff_t, kBuckets> next{};
    std::copy(starts.begin(), starts.end() - 1, next.begin());
    int moves = 0;
    for (std::size_t b = 0; b < kBuckets; ++b) {
        while (next[b] < starts[b + 1]) {
            if (++moves % kItemsPerStep == 0) {
                pacer.step();
            }
            const std::size_t home = digits[next[b]];
            if (home == b) {
                ++next[b];
            } else {
                std::swap(itemAt(next[b]), itemAt(next[home]));
                std::swap(digits[next[b]], digits[next[home]]);
                ++next[home];
            }
        }
    }
    return spreadBy;
}

// Sorts items[first, last): spreads them into buckets, and each bucket on by its own keys.
template <class Items, class SpreadKeys, class Less>
void spread(Items& items, std::ptrdiff_t first, std::ptrdiff_t last, const SpreadKeys& keys,
            bool byThen, Less& less, TurnPacer& pacer, std::optional<KeySpan> span,
            std::uint8_t* digits) {
    if (const auto done = distribute(items, first, last, keys, byThen, less, pacer, span, digits)) {
        for (std::size_t b = 0; b < kBuckets; ++b) {
            spread(items, done->starts[b], done->starts[b + 1], keys, byThen, less, pacer,
                   done->span.ofBucket(b), digits);
        }
    }
}

// The first bucket of the second half of the items.
inline std::size_t middleBucket(const Starts& starts) {
    const std::ptrdiff_t half = starts.front() + (starts.back() - starts.front()) / 2;
    return static_cast<std::size_t>(std::lower_bound(starts.begin(), starts.end() - 1, half) -
                                    starts.begin());
}

}  // namespace bucket_sort

// A key for bucketSort() that orders by a block number, then by a number: the block in the
// leading bits, then where the number lies between the lowest and the highest finite one of the
// items, in the bits left. Spreads the items evenly where their numbers are.
class BlockThenPlace {
public:
    template <class Items, class BlockOf, class NumberOf>
    BlockThenPlace(const Items& items, BlockOf blockOf, NumberOf numberOf) {
        std::uint32_t lastBlock = 0;
        double lowest = HUGE_VAL;
        double highest = -HUGE_VAL;
        for (const auto& item : items) {
            lastBlock = std::max(lastBlock, blockOf(item));
            if (const double number = numberOf(item); std::isfinite(number)) {
                lowest = std::min(lowest, number);
                highest = std::max(highest, number);
            }
        }
        m_placeBits = 62 - static_cast<int>(std::bit_width(lastBlock));
        m_lowest = lowest;
        // Just below 2^placeBits at the highest, so that no place reaches into the block's bits.
        m_scale =
            highest > lowest ? std::ldexp(1.0 - 0x1p-20, m_placeBits) / (highest - lowest) : 0.0;
        m_lastPlace = (std::uint64_t{1} << m_placeBits) - 1;
    }

    // An infinite number is placed at the lowest or the highest end.
    std::uint64_t operator()(std::uint32_t block, double number) const {
        const double place = (number - m_lowest) * m_scale;
        const std::uint64_t placed = place > 0 ? place < static_cast<double>(m_lastPlace)
                                                     ? static_cast<std::uint64_t>(place)
                                                     : m_lastPlace
                                               : 0;
        return (std::uint64_t{block} << m_placeBits) + placed;
    }

private:
    int m_placeBits = 0;
    double m_lowest = 0;
    double m_scale = 0;
    std::uint64_t m_lastPlace = 0;
};

// Sorts `items` by `less`: spreads them into buckets by an integer key whose order agrees with
// `less` (keyOf(a) < keyOf(b) only where less(a, b)), a byte of it at a time from the top, and
// sorts the few items of each bucket by `less`. A comparison sort of half a million index
// entries mispredicts a branch at about every other comparison; spreading them does not. Items
// with equal keys are ordered by `less` alone, so any key that agrees is right, however coarse;
// one that spreads the items evenly is fastest. Takes a pacer step now and then.
// The items of a bucket whose keys are all equal are spread on by `thenKeyOf` where `tie` says
// they are equal in all that `keyOf` orders them by: `thenKeyOf` need agree with `less` only
// among such items (a line in a million pieces has one across-coordinate).
// With `both`, the buckets of the first spread are sorted on, half on this thread, half on
// another.
template <class Items, class KeyOf, class Tie, class ThenKeyOf, class Less>
void bucketSort(Items& items, KeyOf keyOf, Tie tie, ThenKeyOf thenKeyOf, Less less,
                TurnPacer& pacer, const RunBoth* both = nullptr) {
    auto pacedLess = pacer.pacedLess(less);
    const bucket_sort::Keys keys{keyOf, tie, thenKeyOf};
    bool byThen = false;
    const std::unique_ptr<std::uint8_t[]> digits(new std::uint8_t[items.size()]);
    const auto done =
        bucket_sort::distribute(items, 0, static_cast<std::ptrdiff_t>(items.size()), keys, byThen,
                                pacedLess, pacer, std::nullopt, digits.get());
    if (!done) {
        return;
    }
    // Each thread sorts buckets of its own, with a comparison that steps its own pacer.
    const auto spreadBuckets = [&](std::size_t from, std::size_t to, auto& threadLess,
                                   TurnPacer& threadPacer) {
        for (std::size_t b = from; b < to; ++b) {
            bucket_sort::spread(items, done->starts[b], done->starts[b + 1], keys, byThen,
                                threadLess, threadPacer, done->span.ofBucket(b), digits.get());
        }
    };
    const std::size_t middle = both != nullptr ? bucket_sort::middleBucket(done->starts) : 0;
    if (middle == 0) {
        spreadBuckets(0, bucket_sort::kBuckets, pacedLess, pacer);
        return;
    }
    (*both)([&] { spreadBuckets(0, middle, pacedLess, pacer); },
            [&](TurnPacer& helperPacer) {
                auto helperLess = helperPacer.pacedLess(less);
                spreadBuckets(middle, bucket_sort::kBuckets, helperLess, helperPacer);
            });
}

}  // namespace lintrel

#include "PathIndex.h"

#include <array>
#include <cmath>

namespace lintrel::preview {
namespace {

constexpr int kRadixBits = 11;
constexpr std::uint32_t kRadixMask = (1U << kRadixBits) - 1;

// The bits of a 16-bit number spread to the even bits of 32.
std::uint32_t spread(std::uint32_t value) {
    value = (value | (value << 8)) & 0x00FF00FF;
    value = (value | (value << 4)) & 0x0F0F0F0F;
    value = (value | (value << 2)) & 0x33333333;
    return (value | (value << 1)) & 0x55555555;
}

// Where a coordinate lies between low and high, as a number from 0 to 65535.
std::uint32_t cell(double value, double low, double high) {
    if (!(high > low)) {
        return 0;
    }
    const double fraction = (value - low) / (high - low);
    if (!(fraction > 0)) {
        return 0;
    }
    return static_cast<std::uint32_t>(std::min(fraction, 1.0) * 65535);
}

// Sorts (key << 32 | number) values by key, stably, in three passes of a counting sort; false,
// part sorted, when asked to stop.
bool sortByKey(HugeVector<std::uint64_t>& keyed, const std::stop_token& stop) {
    HugeVector<std::uint64_t> sorted(keyed.size());
    for (int shift = 32; shift < 64; shift += kRadixBits) {
        if (stop.stop_requested()) {
            return false;
        }
        std::array<std::size_t, kRadixMask + 2> starts{};
        for (std::uint64_t value : keyed) {
            ++starts[((value >> shift) & kRadixMask) + 1];
        }
        for (std::size_t k = 1; k < starts.size(); ++k) {
            starts[k] += starts[k - 1];
        }
        for (std::uint64_t value : keyed) {
            sorted[starts[(value >> shift) & kRadixMask]++] = value;
        }
        keyed.swap(sorted);
    }
    return true;
}

}  // namespace

void Box::add(const Box& other) {
    lowX = std::min(lowX, other.lowX);
    lowY = std::min(lowY, other.lowY);
    highX = std::max(highX, other.highX);
    highY = std::max(highY, other.highY);
}

PathIndex::PathIndex(Entries entries, const std::stop_token& stop) {
    if (entries.empty() || stop.stop_requested()) {
        return;
    }
    Box whole = entries.front().box;
    for (const Entry& entry : entries) {
        whole.add(entry.box);
    }
    HugeVector<std::uint64_t> keyed;
    keyed.reserve(entries.size());
    for (std::uint32_t k = 0; k < entries.size(); ++k) {
        const Box& box = entries[k].box;
        const double x = (static_cast<double>(box.lowX) + box.highX) / 2;
        const double y = (static_cast<double>(box.lowY) + box.highY) / 2;
        const std::uint64_t key = spread(cell(x, whole.lowX, whole.highX)) |
                                  spread(cell(y, whole.lowY, whole.highY)) << 1;
        keyed.push_back(key << 32 | k);
    }
    if (!sortByKey(keyed, stop)) {
        return;
    }
    m_items.reserve(entries.size());
    std::vector<Box> leaves;
    leaves.reserve((entries.size() + kFanout - 1) / kFanout);
    for (std::size_t k = 0; k < keyed.size(); ++k) {
        const Entry& entry = entries[static_cast<std::uint32_t>(keyed[k])];
        m_items.push_back(entry.number);
        if (k % kFanout == 0) {
            leaves.push_back(entry.box);
        } else {
            leaves.back().add(entry.box);
        }
    }
    m_levels.push_back(std::move(leaves));
    while (m_levels.back().size() > 1) {
        const std::vector<Box>& below = m_levels.back();
        std::vector<Box> above;
        above.reserve((below.size() + kFanout - 1) / kFanout);
        for (std::size_t k = 0; k < below.size(); ++k) {
            if (k % kFanout == 0) {
                above.push_back(below[k]);
            } else {
                above.back().add(below[k]);
            }
        }
        m_levels.push_back(std::move(above));
    }
}

}  // namespace lintrel::preview

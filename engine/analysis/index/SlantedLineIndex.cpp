#include "SlantedLineIndex.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cmath>
#include <tuple>

#include "BucketSort.h"
#include "FilterBlocks.h"
#include "Numbers.h"

namespace lintrel {
namespace {

// Keys that are not numbers equal nothing, not even themselves: such rows are never collinear.
bool isComparable(const SlantKey& key) {
    return !std::isnan(key.slope) && !std::isnan(key.intercept);
}

// roundFixed() works on decimal digits and is slow, while the rows of a collinear family mostly
// share their raw slopes and intercepts: each value is remembered in a small table, by its bits.
class RoundingCache {
public:
    explicit RoundingCache(std::size_t rowCount)
        : m_slotBits(std::clamp(static_cast<int>(std::bit_width(rowCount / 4)), 4, 12)),
          m_slopes(std::size_t{1} << m_slotBits),
          m_intercepts(std::size_t{1} << m_slotBits) {}

    // Slopes are rounded to four decimals, intercepts to one.
    double operator()(double value, int decimals) {
        auto& slots = decimals == 4 ? m_slopes : m_intercepts;
        const auto bits = std::bit_cast<std::uint64_t>(value);
        Slot& slot = slots[(bits * 0x9E3779B97F4A7C15U) >> (64 - m_slotBits)];
        if (!slot.isSet || slot.bits != bits) {
            slot = {bits, roundFixed(value, decimals), true};
        }
        return slot.rounded;
    }

private:
    struct Slot {
        std::uint64_t bits = 0;
        double rounded = 0;
        bool isSet = false;
    };
    int m_slotBits;
    std::vector<Slot> m_slopes;
    std::vector<Slot> m_intercepts;
};

}  // namespace

SlantedLineIndex::SlantedLineIndex(const LineTable& table, const RowKinds& kinds,
                                   RowEntries& rowEntries, const LineRules& rules, TurnPacer& pacer)
    : m_kinds(kinds), m_rowEntries(rowEntries) {
    m_entries.reserve(static_cast<std::size_t>(kinds.count(RowKind::Slanted)));
    FilterBlocks blocks;
    RoundingCache round(static_cast<std::size_t>(table.size()));
    for (int r = 1; r <= table.size(); ++r) {
        pacer.step();
        if (kinds[r] != RowKind::Slanted) {
            continue;
        }
        m_rowEntries[r] = -1;
        const LineRow& row = table[r];
        if (const SlantKey key = slantKeyOf(row, round); isComparable(key)) {
            m_entries.push_back({key, row.X1, row.X2, blocks.numberOf(filterKey(row, rules)), r});
        }
    }
    // Within a group the rows furthest to the right come first. Spread by slope, and where the
    // slopes tie (a family of parallel rows) by intercept.
    const BlockThenPlace slopeKeyOf(
        m_entries, [](const Entry& entry) { return entry.group; },
        [](const Entry& entry) { return entry.key.slope; });
    const BlockThenPlace interceptKeyOf(
        m_entries, [](const Entry&) { return 0U; },
        [](const Entry& entry) { return entry.key.intercept; });
    bucketSort(
        m_entries, [&](const Entry& entry) { return slopeKeyOf(entry.group, entry.key.slope); },
        [](const Entry& a, const Entry& b) {
            return a.group == b.group && a.key.slope == b.key.slope;
        },
        [&](const Entry& entry) { return interceptKeyOf(0, entry.key.intercept); },
        [](const Entry& a, const Entry& b) {
            return std::tie(a.group, a.key.slope, a.key.intercept, b.right, a.left, a.row) <
                   std::tie(b.group, b.key.slope, b.key.intercept, a.right, b.left, b.row);
        },
        pacer);
    m_groupStart.reserve(m_entries.size() + 1);
    std::uint32_t block = 0;
    for (std::size_t at = 0; at < m_entries.size(); ++at) {
        pacer.step();
        Entry& entry = m_entries[at];
        const std::uint32_t previousBlock = block;
        block = entry.group;
        if (at == 0 || block != previousBlock || !isCollinear(entry.key, m_entries[at - 1].key)) {
            m_groupStart.push_back(static_cast<std::int32_t>(at));
        }
        entry.group = static_cast<std::uint32_t>(m_groupStart.size()) - 1;
        m_rowEntries[entry.row] = static_cast<std::int32_t>(at);
    }
    m_groupStart.push_back(static_cast<std::int32_t>(m_entries.size()));
    m_lefts = MinTree(
        m_entries.size(), [&](std::size_t at) { return m_entries[at].left; },
        [&] { pacer.step(); });
}

int SlantedLineIndex::entryOf(int row) const {
    return m_kinds[row] == RowKind::Slanted ? m_rowEntries[row] : -1;
}

bool SlantedLineIndex::isCovered(int i) const {
    const std::int32_t at = entryOf(i);
    if (at < 0) {
        return false;  // its slope or intercept is not a number
    }
    const Entry& row = m_entries[at];
    const auto group = row.group;
    const auto first = m_entries.begin() + m_groupStart[group];
    const auto last = m_entries.begin() + m_groupStart[group + 1];
    const auto reaches = [&](const Entry& e) { return e.right >= row.right; };
    // The rows reaching as far right as row i end just past those tied with it, which follow it:
    // galloping from row i finds the end in a step or two, where a search of the whole group
    // missed the cache at every step in a family of many collinear pieces.
    auto known = m_entries.begin() + at + 1;  // every entry before it reaches
    auto probe = known;
    for (std::ptrdiff_t stride = 1; probe < last && reaches(*probe); stride *= 2) {
        known = probe + 1;
        probe = last - known > stride ? known + stride : last;
    }
    const auto reachingRight = std::partition_point(known, probe, reaches);
    const auto begin = static_cast<std::size_t>(first - m_entries.begin());
    const auto end = static_cast<std::size_t>(reachingRight - m_entries.begin());
    const auto self = static_cast<std::size_t>(at);
    assert(begin <= self && self < end && "row i reaches as far right as itself");
    return std::min(m_lefts.smallest(begin, self), m_lefts.smallest(self + 1, end)) <= row.left;
}

void SlantedLineIndex::remove(int row) {
    const std::int32_t at = entryOf(row);
    if (at >= 0) {
        m_lefts.clear(static_cast<std::size_t>(at));
    }
}

}  // namespace lintrel

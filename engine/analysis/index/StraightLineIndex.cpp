#include "StraightLineIndex.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cmath>
#include <limits>
#include <tuple>

#include "BucketSort.h"
#include "FilterBlocks.h"
#include "LeadingRun.h"

namespace lintrel {
namespace {

constexpr int kLeafSize = 16;
// A run of candidates this short is read straight through; the tree pays off beyond it.
constexpr int kScanLimit = 64;
constexpr std::int32_t kNoRow = std::numeric_limits<std::int32_t>::max();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

}  // namespace

// Row i's turn with its ends as they are now.
struct StraightLineIndex::Query : Turn {
    Span span;
    double length;
};

// The acting rows met so far, the smallest `limit` of them in ascending order.
class StraightLineIndex::Found {
public:
    Found(std::size_t limit, std::vector<Candidate>& rows) : m_limit(limit), m_rows(rows) {
        m_rows.clear();
    }
    // Rows from this number on cannot enter the list any more. Asked at every node of a search:
    // kept, not worked out from the list.
    std::int32_t cutoff() const { return m_cutoff; }
    void add(const Candidate& candidate) {
        const auto place =
            std::upper_bound(m_rows.begin(), m_rows.end(), candidate.row,
                             [](int row, const Candidate& c) { return row < c.row; }) -
            m_rows.begin();
        if (m_rows.size() == m_limit) {
            m_rows.pop_back();
        }
        m_rows.insert(m_rows.begin() + place, candidate);
        if (m_rows.size() == m_limit) {
            m_cutoff = m_rows.back().row;
        }
    }

private:
    std::size_t m_limit;
    std::vector<Candidate>& m_rows;
    std::int32_t m_cutoff = kNoRow;
};

StraightLineIndex::StraightLineIndex(const LineTable& table, const RowKinds& kinds,
                                     RowEntries& rowEntries, Axis axis, const LineRules& rules,
                                     TurnPacer& pacer, const RunBoth* both)
    : m_table(table), m_kinds(kinds), m_rowEntries(rowEntries), m_axis(axis), m_rules(rules) {
    collectEntries(pacer);
    const BlockThenPlace keyOf(
        m_entries, [](const Entry& entry) { return entry.blockThenRun; },
        [](const Entry& entry) { return entry.across; });
    const BlockThenPlace lowKeyOf(
        m_entries, [](const Entry&) { return 0U; }, [](const Entry& entry) { return entry.low; });
    bucketSort(
        m_entries, [&](const Entry& entry) { return keyOf(entry.blockThenRun, entry.across); },
        [](const Entry& a, const Entry& b) {
            return a.blockThenRun == b.blockThenRun && a.across == b.across;
        },
        [&](const Entry& entry) { return lowKeyOf(0, entry.low); },
        [](const Entry& a, const Entry& b) {
            return std::tie(a.blockThenRun, a.across, a.low, a.high, a.row) <
                   std::tie(b.blockThenRun, b.across, b.low, b.high, b.row);
        },
        pacer, both);
    findRuns(pacer);
    buildTree(pacer);
}

void StraightLineIndex::collectEntries(TurnPacer& pacer) {
    m_entries.reserve(static_cast<std::size_t>(m_kinds.countAlong(m_axis)));
    FilterBlocks blocks;
    for (int r = 1; r <= m_table.size(); ++r) {
        pacer.step();
        if (m_kinds.isAlong(r, m_axis)) {
            const Span span = spanOf(m_table[r], m_axis);
            assert(std::isfinite(span.across) && std::isfinite(span.low) &&
                   std::isfinite(span.high) && "the reader only stores finite coordinates");
            m_entries.push_back({span.across, span.low, span.high, r,
                                 blocks.numberOf(filterKey(m_table[r], m_rules))});
        }
    }
}

void StraightLineIndex::findRuns(TurnPacer& pacer) {
    const int size = static_cast<int>(m_entries.size());
    m_entryFlags.reserve(m_entries.size());
    m_runs.reserve(m_entries.size() + 1);  // never regrown: each regrowth would touch fresh memory
    for (int at = 0; at < size; ++at) {
        pacer.step();
        Entry& entry = m_entries[at];
        setEntryOf(entry.row, at);
        m_entryFlags.push_back(entry.low == entry.high ? kLive | kShared : kLive);
        if (m_runs.empty() || m_runs.back().block != entry.blockThenRun ||
            m_runs.back().across != entry.across) {
            m_runs.push_back({entry.across, entry.blockThenRun, at});
        }
        entry.blockThenRun = static_cast<std::uint32_t>(m_runs.size()) - 1;
    }
    m_runs.push_back({0, 0, size});
    std::sort(m_zeroLengthEntries.begin(), m_zeroLengthEntries.end());
}

void StraightLineIndex::buildTree(TurnPacer& pacer) {
    const int size = static_cast<int>(m_entries.size());
    m_leafCount = static_cast<int>(
        std::bit_ceil(static_cast<unsigned>(std::max(1, (size + kLeafSize - 1) / kLeafSize))));
    m_nodes = HugeArray<Bounds>(2 * static_cast<std::size_t>(m_leafCount));
    for (int leaf = 0; leaf < m_leafCount; ++leaf) {
        pacer.step();
        m_nodes[m_leafCount + leaf] = leafBounds(leaf);
    }
    for (int node = m_leafCount - 1; node >= 1; --node) {
        pacer.step();
        m_nodes[node] = combined(m_nodes[2 * node], m_nodes[2 * node + 1]);
    }
}

void StraightLineIndex::setEntryOf(int row, int at) {
    if (m_axis == Axis::Horizontal && m_kinds[row] == RowKind::ZeroLength) {
        m_zeroLengthEntries.emplace_back(row, at);
    } else {
        m_rowEntries[row] = at;
    }
}

int StraightLineIndex::entryOf(int row) const {
    if (!m_kinds.isAlong(row, m_axis)) {
        return -1;
    }
    if (m_axis == Axis::Horizontal && m_kinds[row] == RowKind::ZeroLength) {
        const auto found = std::lower_bound(m_zeroLengthEntries.begin(), m_zeroLengthEntries.end(),
                                            std::pair<std::int32_t, std::int32_t>(row, -1));
        assert(found != m_zeroLengthEntries.end() && found->first == row);
        return found->second;
    }
    return m_rowEntries[row];
}

StraightLineIndex::Turn StraightLineIndex::turnOf(int i) const {
    Turn turn;
    turn.row = i;
    turn.entry = entryOf(i);
    assert(turn.entry >= 0 && m_entryFlags[turn.entry] && "row i is held by the index of its axis");
    if (m_rules.joinLines) {
        turn.joins = acrossRange(turn.entry, m_rules.JoinOffset);
    }
    if (m_rules.removeDuplicates) {
        turn.duplicates = acrossRange(turn.entry, m_rules.DuplicateOffset);
    }
    turn.all = turn.joins.size() >= turn.duplicates.size() ? turn.joins : turn.duplicates;
    return turn;
}

void StraightLineIndex::findActing(const Turn& turn, std::size_t limit,
                                   std::vector<Candidate>& found) const {
    const Entry& entry = m_entries[turn.entry];
    const Query query{turn, {entry.low, entry.high, entry.across}, entry.high - entry.low};
    Found result(limit, found);
    if (query.all.size() <= kScanLimit) {
        scan(query.all.begin, query.all.end, query, result);
        return;
    }
    // Start at the lowest node above every entry of the run.
    const int firstLeaf = query.all.begin / kLeafSize;
    const int lastLeaf = (query.all.end - 1) / kLeafSize;
    const int levels = std::bit_width(static_cast<unsigned>(firstLeaf ^ lastLeaf));
    search((m_leafCount + firstLeaf) >> levels, (firstLeaf >> levels << levels) * kLeafSize,
           kLeafSize << levels, query, result);
}

// A zero-length row's entry in the horizontal index is looked up in a list: not worth it here.
bool StraightLineIndex::isFetchable(int row) const {
    return m_kinds.isAlong(row, m_axis) &&
           !(m_axis == Axis::Horizontal && m_kinds[row] == RowKind::ZeroLength);
}

void StraightLineIndex::fetchEntry(int row) const {
    if (isFetchable(row)) {
        const int at = m_rowEntries[row];
        __builtin_prefetch(&m_entries[at]);
        __builtin_prefetch(&m_entryFlags[at]);
    }
}

void StraightLineIndex::fetchRun(int row) const {
    if (isFetchable(row)) {
        __builtin_prefetch(&m_runs[m_entries[m_rowEntries[row]].blockThenRun]);
    }
}

void StraightLineIndex::remove(int row) {
    removeEntry(entryOf(row));
}

void StraightLineIndex::removeEntry(int at) {
    if (at < 0 || !m_entryFlags[at]) {
        return;
    }
    m_entryFlags[at] = 0;
    if (holdsABound(at)) {
        updateBounds(at);
    }
}

// Whether the entry holds one of its leaf's bounds. When it does not, the leaf's bounds, and so
// those above, are those of the live entries still: recomputing them would read the whole leaf.
bool StraightLineIndex::holdsABound(int at) const {
    const Entry& entry = m_entries[at];
    const Bounds& bounds = m_nodes[m_leafCount + at / kLeafSize];
    return entry.low <= bounds.lowMin || entry.low >= bounds.lowMax ||
           entry.high <= bounds.highMin || entry.high >= bounds.highMax ||
           entry.high - entry.low <= bounds.lengthMin || entry.row == bounds.firstRow ||
           entry.row == bounds.lastRow;
}

void StraightLineIndex::refresh(int row) {
    const int at = entryOf(row);
    if (at < 0 || !m_entryFlags[at]) {
        return;
    }
    if (!runsAlong(m_table[row], m_axis)) {
        remove(row);
        return;
    }
    const Span span = spanOf(m_table[row], m_axis);
    Entry& entry = m_entries[at];
    assert(span.across == entry.across && span.low <= entry.low && span.high >= entry.high &&
           "a join only moves a row's ends outward");
    entry.low = span.low;
    entry.high = span.high;
    // The row only grew: the other bounds of its nodes stay true, only the outer ones widen.
    for (int node = (m_leafCount + at / kLeafSize); node >= 1; node /= 2) {
        Bounds& bounds = m_nodes[node];
        if (bounds.lowMin <= span.low && bounds.highMax >= span.high) {
            return;
        }
        bounds.lowMin = std::min(bounds.lowMin, span.low);
        bounds.highMax = std::max(bounds.highMax, span.high);
    }
}

StraightLineIndex::Range StraightLineIndex::acrossRange(int at, double offset) const {
    if (!(offset >= 0)) {
        return {};
    }
    // Whole runs pass or fail together: step over runs, not entries.
    const double across = m_entries[at].across;
    const auto run = static_cast<int>(m_entries[at].blockThenRun);
    auto isWithin = [&](int other) {
        return m_runs[other].block == m_runs[run].block &&
               std::fabs(across - m_runs[other].across) <= offset;
    };
    const int runCount = static_cast<int>(m_runs.size()) - 1;
    const int below = leadingRun(run, [&](int k) { return isWithin(run - 1 - k); });
    const int above = leadingRun(runCount - run - 1, [&](int k) { return isWithin(run + 1 + k); });
    return {m_runs[run - below].begin, m_runs[run + above + 1].begin};
}

// Inlined into the search: a line in a million pieces asks it some sixty times per piece, and the
// call cost more than the test.
[[gnu::always_inline]] inline bool StraightLineIndex::mayAct(const Bounds& bounds,
                                                             const Query& query, int first,
                                                             int last) const {
    const Span& row = query.span;
    if (query.joins.overlaps(first, last) && bounds.lengthMin <= query.length) {
        if (bounds.highMax > row.high && bounds.lowMin - m_rules.JoinGap <= row.high) {
            return true;
        }
        if (bounds.highMin <= row.high && bounds.lowMin < row.low &&
            row.low <= bounds.highMax + m_rules.JoinGap) {
            return true;
        }
    }
    if (query.duplicates.overlaps(first, last)) {
        const bool pieceInside = m_axis == Axis::Vertical
                                     ? bounds.highMin < row.high && bounds.lowMax > row.low
                                     : bounds.highMin <= row.high && bounds.lowMax >= row.low;
        if (pieceInside || (bounds.highMax >= row.high && bounds.lowMin <= row.low)) {
            return true;
        }
    }
    return false;
}

bool StraightLineIndex::acts(int at, const Query& query) const {
    const Entry& entry = m_entries[at];
    return m_entryFlags[at] && entry.row != query.row &&
           straightAction(m_axis, query.span, {entry.low, entry.high, entry.across}, m_rules) !=
               StraightAction::None;
}

void StraightLineIndex::search(int node, int first, int width, const Query& query,
                               Found& found) const {
    const int last = std::min(first + width, static_cast<int>(m_entries.size()));
    if (!query.all.overlaps(first, last)) {
        return;
    }
    const Bounds& bounds = m_nodes[node];
    if (bounds.firstRow >= found.cutoff() ||
        (bounds.firstRow == query.row && bounds.lastRow == query.row) ||
        !mayAct(bounds, query, first, last)) {
        return;  // nothing acts below: too late in the file, row i alone, or too far along
    }
    if (node >= m_leafCount) {
        scan(std::max(first, query.all.begin), std::min(last, query.all.end), query, found);
        return;
    }
    // The side holding the earlier rows first: once the list is full, it cuts off more.
    const int half = width / 2;
    if (m_nodes[2 * node + 1].firstRow < m_nodes[2 * node].firstRow) {
        search(2 * node + 1, first + half, half, query, found);
        search(2 * node, first, half, query, found);
    } else {
        search(2 * node, first, half, query, found);
        search(2 * node + 1, first + half, half, query, found);
    }
}

void StraightLineIndex::scan(int first, int last, const Query& query, Found& found) const {
    for (int at = first; at < last; ++at) {
        const Entry& entry = m_entries[at];
        if (entry.row < found.cutoff() && acts(at, query)) {
            // Its row is read and written soon after; fetching it now overlaps the wait. So are,
            // often, the rows of its neighbours along the line, once it is taken in.
            __builtin_prefetch(&m_table[entry.row]);
            if (at + 1 < static_cast<int>(m_entries.size())) {
                __builtin_prefetch(&m_table[m_entries[at + 1].row]);
            }
            if (at > 0) {
                __builtin_prefetch(&m_table[m_entries[at - 1].row]);
            }
            found.add({entry.row,
                       {entry.low, entry.high, entry.across},
                       at,
                       (m_entryFlags[at] & kShared) != 0});
        }
    }
}

StraightLineIndex::Bounds StraightLineIndex::leafBounds(int leaf) const {
    Bounds bounds{kInfinity, -kInfinity, kInfinity, -kInfinity, kInfinity, kNoRow, -1};
    const int last = std::min((leaf + 1) * kLeafSize, static_cast<int>(m_entries.size()));
    for (int at = leaf * kLeafSize; at < last; ++at) {
        if (!m_entryFlags[at]) {
            continue;
        }
        const Entry& entry = m_entries[at];
        bounds.lowMin = std::min(bounds.lowMin, entry.low);
        bounds.lowMax = std::max(bounds.lowMax, entry.low);
        bounds.highMin = std::min(bounds.highMin, entry.high);
        bounds.highMax = std::max(bounds.highMax, entry.high);
        bounds.lengthMin = std::min(bounds.lengthMin, entry.high - entry.low);
        bounds.firstRow = std::min(bounds.firstRow, entry.row);
        bounds.lastRow = std::max(bounds.lastRow, entry.row);
    }
    return bounds;
}

StraightLineIndex::Bounds StraightLineIndex::combined(const Bounds& a, const Bounds& b) {
    return {std::min(a.lowMin, b.lowMin),       std::max(a.lowMax, b.lowMax),
            std::min(a.highMin, b.highMin),     std::max(a.highMax, b.highMax),
            std::min(a.lengthMin, b.lengthMin), std::min(a.firstRow, b.firstRow),
            std::max(a.lastRow, b.lastRow)};
}

// The nodes above the leaf keep their bounds of the ends and lengths: what they held before the
// deletion they still hold, so they stay true, and tightening them cost a walk up the tree at
// nearly every piece a long row takes in. Their first and last live rows must be exact.
void StraightLineIndex::updateBounds(int at) {
    int node = m_leafCount + at / kLeafSize;
    m_nodes[node] = leafBounds(at / kLeafSize);
    for (node /= 2; node >= 1; node /= 2) {
        Bounds& bounds = m_nodes[node];
        const std::int32_t firstRow =
            std::min(m_nodes[2 * node].firstRow, m_nodes[2 * node + 1].firstRow);
        const std::int32_t lastRow =
            std::max(m_nodes[2 * node].lastRow, m_nodes[2 * node + 1].lastRow);
        if (firstRow == bounds.firstRow && lastRow == bounds.lastRow) {
            return;  // nothing above changes either
        }
        bounds.firstRow = firstRow;
        bounds.lastRow = lastRow;
    }
}

}  // namespace lintrel

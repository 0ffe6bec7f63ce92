#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "HugePages.h"
#include "LineAnalysis.h"
#include "PairRules.h"
#include "RowEntries.h"
#include "RowKinds.h"
#include "StraightCandidate.h"
#include "TurnPacer.h"

namespace lintrel {

// The live rows that run along one axis (the candidates of vertical, or of horizontal, rows i),
// ordered by filter block, across-coordinate and low end, with a tree of bounds over them, so
// that the candidates that can act on a row are found without looking at the others.
//
// Why the rows it skips are exactly those that do nothing in the literal scan:
// 1. A candidate of row i is alive, runs along i's axis and passes the filters; the index holds
//    the live rows that run along its axis (a zero-length row that grows leaves the horizontal
//    index), and one block holds the rows of one filter key.
// 2. Every join needs |across(i) - across(pos)| <= JoinOffset and every duplicate verdict
//    <= DuplicateOffset, so only rows within the larger of the two can act. The rounded
//    difference fl(a_i - a) never increases as a grows, so within a block sorted by across the
//    rows passing either test are one stretch around row i's entry; it is found with the very
//    comparison the test makes, so no tolerance is bent.
// 3. Along the line every action needs the piece to meet row i's extent widened by JoinGap: a
//    join needs a piece no longer than row i reaching beyond one of its ends and starting within
//    JoinGap of it; a duplicate needs one of the two to contain the other. Each node of the tree
//    keeps bounds of its live rows' low and high ends and lengths: never narrower than theirs (a
//    deletion recomputes those of the deleted row's leaf and leaves those above as they were, a
//    row that grows widens them), and its first and last live row exactly. Rounding is monotone, so
//    putting a node's most favourable bound into each comparison gives a condition that every
//    acting row below it satisfies; a node that fails all of them holds no acting row and is not
//    visited.
// 4. The acting rows are returned in file order and rechecked with straightAction(). Deleting a
//    piece changes neither row i nor any other candidate, so the rest stay valid; after a join
//    row i has grown and the caller asks again, as the literal scan starts again from its first
//    row.
class StraightLineIndex {
public:
    // The rows of the axis's kinds. Takes steps of the pacer while it is built (it may throw
    // RunInterrupted); with `both`, another thread takes half of the sort.
    StraightLineIndex(const LineTable& table, const RowKinds& kinds, RowEntries& rowEntries,
                      Axis axis, const LineRules& rules, TurnPacer& pacer,
                      const RunBoth* both = nullptr);

    // Positions of entries [begin, end).
    struct Range {
        int begin = 0;
        int end = 0;
        int size() const { return end - begin; }
        bool overlaps(int first, int last) const {
            return begin < end && first < end && begin < last;
        }
    };
    // Row i's turn: where its candidates lie across the axis. A join never moves a row across,
    // so this holds for the whole turn.
    struct Turn {
        int row = 0;
        int entry = 0;
        Range joins;       // the entries within JoinOffset across; empty when joining is off
        Range duplicates;  // the entries within DuplicateOffset across; empty when removal is off
        Range all;         // the larger of the two: both are centred on row i's entry
    };
    // Row i must be held here.
    Turn turnOf(int i) const;

    using Candidate = StraightCandidate;
    // Fills `found` with the candidates of smallest row number, ascending and at most `limit` of
    // them, among the live rows whose straightAction() on row i, as it is now, is not None.
    void findActing(const Turn& turn, std::size_t limit, std::vector<Candidate>& found) const;

    // Fetch into the cache what the row's turn reads first, when the index holds the row: its
    // entry and flags, then, once the entry is fetched, its run.
    void fetchEntry(int row) const;
    void fetchRun(int row) const;

    // The row was deleted.
    void remove(int row);
    // The row of a candidate this index found was deleted.
    void remove(const Candidate& candidate) { removeEntry(candidate.entry); }
    // The row's ends moved outward; it leaves the index when it no longer runs along the axis.
    void refresh(int row);

private:
    struct Entry {
        double across;
        double low;
        double high;
        std::int32_t row;
        // The filter block while the entries are sorted (rows with equal filter keys share
        // one), then the number of the entry's run.
        std::uint32_t blockThenRun;
    };
    // Entries of one block with one across-coordinate, consecutive from `begin`.
    struct Run {
        double across;
        std::uint32_t block;
        std::int32_t begin;
    };
    // What the live entries below a tree node can offer; firstRow is kNoRow when there are none,
    // and equals lastRow when there is one.
    struct Bounds {
        double lowMin;
        double lowMax;
        double highMin;
        double highMax;
        double lengthMin;
        std::int32_t firstRow;
        std::int32_t lastRow;
    };
    struct Query;
    class Found;

    void collectEntries(TurnPacer& pacer);
    int entryOf(int row) const;  // -1 for a row not held
    bool isFetchable(int row) const;
    void setEntryOf(int row, int at);
    void findRuns(TurnPacer& pacer);
    void buildTree(TurnPacer& pacer);
    Range acrossRange(int at, double offset) const;
    bool mayAct(const Bounds& bounds, const Query& query, int first, int last) const;
    bool acts(int at, const Query& query) const;
    void search(int node, int first, int width, const Query& query, Found& found) const;
    void scan(int first, int last, const Query& query, Found& found) const;
    Bounds leafBounds(int leaf) const;
    // What a and b offer together.
    static Bounds combined(const Bounds& a, const Bounds& b);
    void removeEntry(int at);
    bool holdsABound(int at) const;
    void updateBounds(int at);

    const LineTable& m_table;
    const RowKinds& m_kinds;
    RowEntries& m_rowEntries;
    Axis m_axis;
    const LineRules& m_rules;
    HugeVector<Entry> m_entries;
    // By entry: kLive, with kShared for a row held by both axes' indexes; 0 once deleted.
    static constexpr std::uint8_t kLive = 1;
    static constexpr std::uint8_t kShared = 2;
    HugeVector<std::uint8_t> m_entryFlags;
    HugeVector<Run> m_runs;  // in entry order, then one that begins at the end
    // The horizontal index's entries of zero-length rows (whose entries in m_rowEntries are the
    // vertical index's), by row.
    std::vector<std::pair<std::int32_t, std::int32_t>> m_zeroLengthEntries;
    // Node 1 is the root, node k has children 2k and 2k+1. Left unwritten until the build fills
    // it, a node at a time, so that no single stretch of the build touches all of it.
    HugeArray<Bounds> m_nodes;
    int m_leafCount = 1;
};

}  // namespace lintrel

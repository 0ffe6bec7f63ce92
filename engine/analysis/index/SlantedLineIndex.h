#pragma once

#include <cstdint>
#include <vector>

#include "HugePages.h"
#include "LineAnalysis.h"
#include "MinTree.h"
#include "PairRules.h"
#include "RowEntries.h"
#include "RowKinds.h"
#include "TurnPacer.h"

namespace lintrel {

// The live slanted rows, grouped by filter key, rounded slope and rounded intercept.
//
// A slanted row i only ever deletes itself, and only when a live candidate of its group (the
// other rows of its kind that pass the filters and are collinear with it) covers it by X range.
// No other rule moves or deletes a slanted row, so which covering row the literal scan meets
// first does not matter: row i goes exactly when one exists. Each group is ordered by X1 from
// the right, so the rows with X1 >= X1[i] are a prefix of it and the question is whether the
// smallest X2 among them, row i left out, is <= X2[i].
class SlantedLineIndex {
public:
    // The rows of the slanted kind. Takes steps of the pacer while it is built (it may throw
    // RunInterrupted).
    SlantedLineIndex(const LineTable& table, const RowKinds& kinds, RowEntries& rowEntries,
                     const LineRules& rules, TurnPacer& pacer);

    // Whether a live row of row i's group other than row i covers it by X range.
    bool isCovered(int i) const;
    // The row was deleted.
    void remove(int row);

private:
    struct Entry {
        SlantKey key;
        double right;         // X1
        double left;          // X2
        std::uint32_t group;  // the filter block until grouped, then the group's number
        std::int32_t row;
    };

    int entryOf(int row) const;  // -1 for a row not held

    const RowKinds& m_kinds;
    RowEntries& m_rowEntries;  // -1 for a slanted row whose slope or intercept is not a number
    HugeVector<Entry> m_entries;
    std::vector<std::int32_t> m_groupStart;  // by group, with the end of the last one
    MinTree m_lefts;                         // X2 by entry, cleared for deleted rows
};

}  // namespace lintrel

#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "HugePages.h"
#include "LineTable.h"
#include "PairRules.h"

namespace lintrel {

// What a row is as the analysis starts; a deleted row is None.
enum class RowKind : std::uint8_t { None, Vertical, ZeroLength, Horizontal, Slanted };

// The kind of every row as the analysis starts, read once before any turn. An index reads only
// the rows of its kinds, so it may be built while turns of other kinds run: no such turn writes
// them. The zero-length rows, held by both straight indexes, are touched by no turn before both
// are built (TurnLane).
class RowKinds {
public:
    explicit RowKinds(const LineTable& table);

    RowKind operator[](int row) const { return m_kinds[static_cast<std::size_t>(row)]; }
    int count(RowKind kind) const { return m_counts[static_cast<std::size_t>(kind)]; }
    // Held by the index of the axis: a row running along it, or a zero-length one.
    bool isAlong(int row, Axis axis) const {
        const RowKind kind = (*this)[row];
        return kind == RowKind::ZeroLength ||
               kind == (axis == Axis::Vertical ? RowKind::Vertical : RowKind::Horizontal);
    }
    int countAlong(Axis axis) const {
        return count(RowKind::ZeroLength) +
               count(axis == Axis::Vertical ? RowKind::Vertical : RowKind::Horizontal);
    }
    bool hasAlong(Axis axis) const { return countAlong(axis) > 0; }

private:
    HugeVector<RowKind> m_kinds;  // by row number, from 1
    std::array<int, 5> m_counts{};
};

}  // namespace lintrel

#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "HugePages.h"
#include "LineTable.h"
#include "PairTests.h"

namespace lintrel {

// What a row is as the analysis starts; a deleted row is None.
enum class RowKind : std::uint8_t { None, Vertical, ZeroLength, Horizontal, Slanted };

// The kind of every row, read once before the indexes are built. A row keeps its kind until its
// own turn or a turn of its own kind, so an index built while other kinds' turns run reads only
// rows of its kinds, which nobody else writes meanwhile.
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
    bool hasAlong(Axis axis) const {
        return count(RowKind::ZeroLength) > 0 ||
               count(axis == Axis::Vertical ? RowKind::Vertical : RowKind::Horizontal) > 0;
    }

private:
    std::vector<RowKind, HugePageAllocator<RowKind>> m_kinds;  // by row number, from 1
    std::array<int, 5> m_counts{};
};

}  // namespace lintrel

#include "RowKinds.h"

#include <array>

namespace lintrel {
namespace {

// Without a branch: the kinds of a drawing follow each other at random, and a mispredicted
// branch or two per row made this pass over a million rows cost several milliseconds.
RowKind kindOf(const LineRow& row) {
    // By whether X and whether Y differ at the ends.
    constexpr std::array<RowKind, 4> kByEnds = {RowKind::ZeroLength, RowKind::Vertical,
                                                RowKind::Horizontal, RowKind::Slanted};
    const unsigned ends = (row.X1 != row.X2 ? 2U : 0U) | (row.Y1 != row.Y2 ? 1U : 0U);
    const auto kind = static_cast<unsigned>(kByEnds[ends]);
    return static_cast<RowKind>(row.isDeleted() ? 0U : kind);
}

}  // namespace

RowKinds::RowKinds(const LineTable& table)
    : m_kinds(static_cast<std::size_t>(table.size()) + 1, RowKind::None) {
    for (int r = 1; r <= table.size(); ++r) {
        const RowKind kind = kindOf(table[r]);
        m_kinds[static_cast<std::size_t>(r)] = kind;
        ++m_counts[static_cast<std::size_t>(kind)];
    }
}

}  // namespace lintrel

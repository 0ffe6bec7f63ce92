#include "RowKinds.h"

namespace lintrel {
namespace {

RowKind kindOf(const LineRow& row) {
    if (row.isDeleted()) {
        return RowKind::None;
    }
    if (row.isSlanted()) {
        return RowKind::Slanted;
    }
    if (row.isHorizontal()) {
        return RowKind::Horizontal;
    }
    return row.Y1 == row.Y2 ? RowKind::ZeroLength : RowKind::Vertical;
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

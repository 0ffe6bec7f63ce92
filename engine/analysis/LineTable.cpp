#include "LineTable.h"

#include <cmath>
#include <stdexcept>
#include <utility>

namespace lintrel {

NameTable::NameTable() {
    clear();
}

NameTable::Id NameTable::intern(std::string_view name) {
    // Consecutive lines mostly share their layer and linetype.
    for (const Id id : m_recent) {
        if (id != kNone && name == m_names[id]) {
            return id;
        }
    }
    const Id id = lookUp(name);
    m_recent = {id, m_recent[0]};
    return id;
}

NameTable::Id NameTable::lookUp(std::string_view name) {
    std::string key(name);
    if (auto found = m_ids.find(key); found != m_ids.end()) {
        return found->second;
    }
    const auto id = static_cast<Id>(m_names.size());
    if (id == kMostNames) {
        throw std::length_error("more layer and linetype names than a row can tell apart");
    }
    m_names.push_back(key);
    m_ids.emplace(std::move(key), id);
    return id;
}

void NameTable::clear() {
    m_recent = {kNone, kNone};
    m_names.assign(1, std::string());
    m_ids.clear();
    m_ids.emplace(std::string(), kEmpty);
}

void LineTable::append(LineTable&& other) {
    std::vector<NameTable::Id> ids;
    bool sameIds = true;
    for (NameTable::Id id = 0; id < other.m_names.size(); ++id) {
        ids.push_back(m_names.intern(other.m_names.name(id)));
        sameIds = sameIds && ids.back() == id;
    }
    const int first = size() + 1;
    m_rows.append(std::move(other.m_rows));
    other.clear();
    if (sameIds) {
        return;
    }
    for (int n = first; n <= size(); ++n) {
        LineRow& row = (*this)[n];
        row.LayerName = ids[row.LayerName];
        row.LineTypeName = ids[row.LineTypeName];
    }
}

void LineTable::clear() {
    m_rows.clear();  // keeps the room: the table is allocated once per run and cleared per file
    m_names.clear();
}

void correctAndOrient(LineRow& row, double lineCorrection) {
    if (std::fabs(row.X1 - row.X2) <= lineCorrection) {
        row.X1 = row.X2;
    }
    if (std::fabs(row.Y1 - row.Y2) <= lineCorrection) {
        row.Y1 = row.Y2;
    }
    if (row.X1 != row.X2 && row.Y1 != row.Y2) {
        if (row.X1 < row.X2) {
            std::swap(row.X1, row.X2);
            std::swap(row.Y1, row.Y2);
        }
    } else if (row.X1 < row.X2) {
        std::swap(row.X1, row.X2);
    } else if (row.Y1 < row.Y2) {
        std::swap(row.Y1, row.Y2);
    }
}

}  // namespace lintrel

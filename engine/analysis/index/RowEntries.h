#pragma once

#include <cstdint>

#include "HugePages.h"

namespace lintrel {

// Where each row's entry lies in the index that holds it, by row number: one array for the three
// indexes rather than one each, as a row has one kind. Each index writes only the rows of its own
// kinds, so indexes built at the same time never write the same element, and reads only those.
// A zero-length row, held by both straight indexes, lies here for the vertical one.
class RowEntries {
public:
    explicit RowEntries(int rowCount) : m_entries(static_cast<std::size_t>(rowCount) + 1) {}

    std::int32_t& operator[](int row) { return m_entries[static_cast<std::size_t>(row)]; }
    std::int32_t operator[](int row) const { return m_entries[static_cast<std::size_t>(row)]; }

private:
    HugeArray<std::int32_t> m_entries;  // left unwritten for the rows no index holds
};

}  // namespace lintrel

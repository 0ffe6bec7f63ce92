#include "RecordLayout.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace lintrel {

void RecordLayout::add(std::string_view type, std::uint64_t offset, std::uint64_t end) {
    auto found = std::find(kTypes.begin(), kTypes.end(), type);
    constexpr std::uint64_t kOffsetLimit = std::uint64_t{1} << 56;
    if (found == kTypes.end() || end - offset > std::numeric_limits<std::uint32_t>::max() ||
        offset >= kOffsetLimit) {
        m_fits = false;
        return;
    }
    const auto typeIndex = static_cast<std::uint32_t>(found - kTypes.begin());
    m_places.emplace_back() = {static_cast<std::uint32_t>(offset),
                               static_cast<std::uint32_t>(offset >> 32) << 8 | typeIndex,
                               static_cast<std::uint32_t>(end - offset)};
}

void RecordLayout::append(RecordLayout&& later) {
    m_places.append(std::move(later.m_places));
    m_fits = m_fits && later.m_fits;
    later.clear();
}

// A search by hand: the places have no iterators, and clang 14 (the fuzz build) cannot build
// libstdc++ 12's views.
std::size_t RecordLayout::firstPlaceFrom(std::uint64_t offset) const {
    std::size_t first = 0;
    std::size_t last = size();
    while (first < last) {
        const std::size_t middle = first + (last - first) / 2;
        if (m_places[middle].offset() < offset) {
            first = middle + 1;
        } else {
            last = middle;
        }
    }
    return first;
}

}  // namespace lintrel

#include "RecordLayout.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace lintrel {

void RecordLayout::add(std::string_view type, std::uint64_t offset, std::uint64_t end) {
    auto found = std::find(kTypes.begin(), kTypes.end(), type);
    if (found == kTypes.end() || end - offset > std::numeric_limits<std::uint32_t>::max()) {
        m_fits = false;
        return;
    }
    m_places.emplace_back() = {offset, static_cast<std::uint32_t>(end - offset),
                               static_cast<std::uint8_t>(found - kTypes.begin())};
}

void RecordLayout::append(RecordLayout&& later) {
    m_places.append(std::move(later.m_places));
    m_fits = m_fits && later.m_fits;
    later.clear();
}

}  // namespace lintrel

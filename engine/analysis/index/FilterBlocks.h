#pragma once

#include <cstdint>
#include <unordered_map>

namespace lintrel {

// Numbers the filter keys of the rows in order of first appearance, so that an index can keep the
// rows of one key together under a small number.
class FilterBlocks {
public:
    std::uint32_t numberOf(std::uint64_t key) {
        // Neighbouring records mostly share a layer and linetype: skip the hash for them.
        if (m_hasLast && key == m_lastKey) {
            return m_lastNumber;
        }
        const auto [slot, isNew] =
            m_numbers.try_emplace(key, static_cast<std::uint32_t>(m_numbers.size()));
        m_hasLast = true;
        m_lastKey = key;
        m_lastNumber = slot->second;
        return m_lastNumber;
    }

private:
    std::unordered_map<std::uint64_t, std::uint32_t> m_numbers;
    bool m_hasLast = false;
    std::uint64_t m_lastKey = 0;
    std::uint32_t m_lastNumber = 0;
};

}  // namespace lintrel

#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace lintrel {

// A growing array kept in fixed blocks: growing never moves what is stored, so a table of a
// million rows is never copied, and clear() keeps the blocks for the next file.
template <class T>
class BlockVector {
public:
    std::size_t size() const { return m_size; }
    T& operator[](std::size_t i) { return m_blocks[i >> kShift][i & kMask]; }
    const T& operator[](std::size_t i) const { return m_blocks[i >> kShift][i & kMask]; }

    T& emplace_back() {
        if ((m_size >> kShift) == m_blocks.size()) {
            m_blocks.push_back(std::make_unique<T[]>(kBlock));
        }
        T& slot = (*this)[m_size++];
        slot = T{};
        return slot;
    }
    void clear() { m_size = 0; }

private:
    static constexpr std::size_t kShift = 16;
    static constexpr std::size_t kBlock = std::size_t{1} << kShift;
    static constexpr std::size_t kMask = kBlock - 1;

    std::vector<std::unique_ptr<T[]>> m_blocks;
    std::size_t m_size = 0;
};

}  // namespace lintrel

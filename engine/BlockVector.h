#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>
#include <vector>

#include "HugePages.h"

namespace lintrel {

// A growing array kept in fixed blocks: growing never moves what is stored, so a table of a
// million rows is never copied, and clear() keeps the blocks for the next file.
// Blocks are raw memory, so a new block costs nothing until its rows are written, and a large one
// is filled a huge page at a time.
template <class T>
class BlockVector {
    static_assert(std::is_trivially_destructible_v<T>, "rows are dropped without destruction");

public:
    std::size_t size() const { return m_size; }
    T& operator[](std::size_t i) { return slot(i); }
    const T& operator[](std::size_t i) const {
        return *std::launder(reinterpret_cast<const T*>(&m_blocks[i >> kShift][i & kMask]));
    }

    T& emplace_back() {
        if ((m_size >> kShift) == m_blocks.size()) {
            m_blocks.emplace_back(kBlock);
        }
        std::size_t i = m_size++;
        return *::new (static_cast<void*>(&m_blocks[i >> kShift][i & kMask])) T{};
    }
    void clear() { m_size = 0; }

private:
    static constexpr std::size_t kShift = 16;
    static constexpr std::size_t kBlock = std::size_t{1} << kShift;
    static constexpr std::size_t kMask = kBlock - 1;

    struct Storage {
        alignas(T) std::byte bytes[sizeof(T)];
    };
    T& slot(std::size_t i) {
        return *std::launder(reinterpret_cast<T*>(&m_blocks[i >> kShift][i & kMask]));
    }

    std::vector<HugeArray<Storage>> m_blocks;
    std::size_t m_size = 0;
};

}  // namespace lintrel

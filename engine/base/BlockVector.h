#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
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
    static_assert(std::is_trivially_copyable_v<T>, "rows are moved as bytes");

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
        if (i == m_nextPageStart) {
            faultInPageStartingAt(i);
        }
        return *::new (static_cast<void*>(&m_blocks[i >> kShift][i & kMask])) T{};
    }
    void clear() {
        m_size = 0;
        m_nextPageStart = 0;
    }

    // Puts another vector's elements after this one's. They fill the room this one has; the rest
    // move down within their own blocks, which this one then takes over, so no memory is newly
    // touched.
    void append(BlockVector&& other) {
        std::size_t from = 0;
        for (; from < other.m_size && m_size < (m_blocks.size() << kShift); ++from, ++m_size) {
            ::new (static_cast<void*>(&m_blocks[m_size >> kShift][m_size & kMask])) T(other[from]);
        }
        const std::size_t rest = other.m_size - from;
        if (from > 0) {
            other.moveDown(from, rest);
            // What moved down leaves written memory behind it that no row uses any more.
            if (rest > 0 && (rest & kMask) != 0) {
                other.m_blocks[rest >> kShift].release(rest & kMask);
            }
            for (std::size_t block = (rest + kMask) >> kShift; block < other.m_blocks.size();
                 ++block) {
                other.m_blocks[block].release(0);
            }
        }
        const auto taken = static_cast<std::ptrdiff_t>((rest + kMask) >> kShift);
        std::move(other.m_blocks.begin(), other.m_blocks.begin() + taken,
                  std::back_inserter(m_blocks));
        other.m_blocks.erase(other.m_blocks.begin(), other.m_blocks.begin() + taken);
        m_size += rest;
        other.clear();
        m_nextPageStart = pageStartFrom(m_size);
    }

private:
    // Blocks of at least 65536 elements and a whole number of huge pages: a huge page is zeroed
    // all through when first touched, so a part left over at a block's end would be work wasted.
    static constexpr std::size_t kShift =
        std::max<std::size_t>(16, 21 - std::countr_zero(sizeof(T)));
    static constexpr std::size_t kBlock = std::size_t{1} << kShift;
    static constexpr std::size_t kMask = kBlock - 1;

    struct Storage {
        alignas(T) std::byte bytes[sizeof(T)];
    };
    // Moves elements [from, from + count) to [0, count), a stretch within one block of each at a
    // time: element by element, a million rows cost an address worked out twice per row.
    void moveDown(std::size_t from, std::size_t count) {
        for (std::size_t to = 0; to < count;) {
            const std::size_t at = from + to;
            const std::size_t stretch =
                std::min({count - to, kBlock - (to & kMask), kBlock - (at & kMask)});
            std::memmove(static_cast<void*>(&slot(to)), &slot(at), stretch * sizeof(T));
            to += stretch;
        }
    }
    // The first element at or after i in whose slot a huge page of its block begins.
    static std::size_t pageStartFrom(std::size_t i) {
        const std::size_t page = ((i & kMask) * sizeof(T) + kHugePageBytes - 1) / kHugePageBytes;
        return (i & ~kMask) + std::min(page * kHugePageBytes / sizeof(T), kBlock);
    }
    // Element i's slot is where a huge page begins: the page is faulted in before the element is
    // written (the first page of a block is, as the block is made).
    void faultInPageStartingAt(std::size_t i) {
        if ((i & kMask) != 0) {
            m_blocks[i >> kShift].faultIn((i & kMask) * sizeof(T) + sizeof(T) - 1);
        }
        m_nextPageStart = pageStartFrom(i + 1);
    }
    T& slot(std::size_t i) {
        return *std::launder(reinterpret_cast<T*>(&m_blocks[i >> kShift][i & kMask]));
    }

    std::vector<HugeArray<Storage>> m_blocks;
    std::size_t m_size = 0;
    std::size_t m_nextPageStart = 0;
};

}  // namespace lintrel

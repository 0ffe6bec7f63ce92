#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "RowKinds.h"

namespace lintrel {

// The rows of some kinds, a bit each, walked in file order a set bit at a time. A lane that tested
// the kind of every row of a drawing, whose kinds follow each other at random, mispredicted a
// branch at about every other row.
class RowBits {
public:
    template <class IsWanted>
    RowBits(const RowKinds& kinds, int rowCount, IsWanted isWanted)
        : m_words(static_cast<std::size_t>(rowCount) / 64 + 1) {
        for (int r = 1; r <= rowCount; ++r) {
            m_words[static_cast<std::size_t>(r) / 64] |= std::uint64_t{isWanted(kinds[r]) ? 1U : 0U}
                                                         << (r % 64);
        }
    }

    // A place among the rows; row() is kEnd past the last.
    class Cursor {
    public:
        static constexpr int kEnd = 0;

        explicit Cursor(const std::vector<std::uint64_t>& words)
            : m_words(words), m_mask(words.front()) {
            settle();
        }
        int row() const { return m_row; }
        void advance() {
            m_mask &= m_mask - 1;
            settle();
        }

    private:
        void settle() {
            while (m_mask == 0) {
                if (++m_word >= m_words.size()) {  // also once past the end
                    m_row = kEnd;
                    return;
                }
                m_mask = m_words[m_word];
            }
            m_row = static_cast<int>(m_word * 64) + std::countr_zero(m_mask);
        }

        const std::vector<std::uint64_t>& m_words;
        std::size_t m_word = 0;
        std::uint64_t m_mask;
        int m_row = kEnd;
    };

    Cursor first() const { return Cursor(m_words); }

private:
    std::vector<std::uint64_t> m_words;  // bit r % 64 of word r / 64 for row r
};

}  // namespace lintrel

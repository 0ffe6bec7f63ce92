#include "LineEnds.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <bit>

namespace lintrel {
namespace {

#if defined(__SSE2__)
// A bit for each byte of the 64 from `data` that an LF follows, the byte after them included
// (`end` is where the bytes end).
inline std::uint64_t followedByLf(const char* data, const char* end, std::uint64_t lfs) {
    const std::uint64_t nextLf = end - data > 64 && data[64] == '\n' ? 1 : 0;
    return lfs >> 1 | nextLf << 63;
}

// A bit for each LF, and one for each CR, of the 64 bytes from `data`.
inline void lineEndMasks(const char* data, std::uint64_t& lfs, std::uint64_t& crs) {
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
#pragma GCC unroll 4
    for (int k = 0; k < 4; ++k) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 16 * k));
        lfs |= static_cast<std::uint64_t>(
                   static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, lf))))
               << (16 * k);
        crs |= static_cast<std::uint64_t>(
                   static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, cr))))
               << (16 * k);
    }
}
#endif

}  // namespace

std::size_t indexLineEnds(std::string_view bytes, std::size_t from, std::uint32_t* out) {
    const char* data = bytes.data();
    const std::size_t end = bytes.size();
    std::uint32_t* const first = out;
    std::size_t at = from;
#if defined(__SSE2__)
    for (; at + 64 <= end; at += 64) {
        std::uint64_t lfs = 0;
        std::uint64_t crs = 0;
        lineEndMasks(data + at, lfs, crs);
        // A CR LF is one line end, noted at its LF: half as many ends to note in a drawing of
        // short lines.
        std::uint64_t mask = lfs | (crs & ~followedByLf(data + at, data + end, lfs));
        // A block holds a few line ends: eight steps run without a branch each (a step past
        // the last end writes a slot the next end overwrites), and only a block of short lines
        // loops for the rest. Unrolled, or counting the steps costs as much as taking them.
#pragma GCC unroll 8
        for (std::size_t k = 0; k < kLineEndSlack; ++k) {
            *out = static_cast<std::uint32_t>(at + static_cast<unsigned>(std::countr_zero(mask)));
            out += mask != 0 ? 1 : 0;
            mask &= mask - 1;
        }
        while (mask != 0) {
            *out++ = static_cast<std::uint32_t>(at + static_cast<unsigned>(std::countr_zero(mask)));
            mask &= mask - 1;
        }
    }
#endif
    for (; at < end; ++at) {
        if (data[at] == '\n' || (data[at] == '\r' && !(at + 1 < end && data[at + 1] == '\n'))) {
            *out++ = static_cast<std::uint32_t>(at);
        }
    }
    return static_cast<std::size_t>(out - first);
}

void CrLfFinder::findInNextBlock() {
    const char* data = m_bytes.data() + m_block;
    const std::size_t left = m_bytes.size() - m_block;
#if defined(__SSE2__)
    if (left >= 64) {
        std::uint64_t lfs = 0;
        std::uint64_t crs = 0;
        lineEndMasks(data, lfs, crs);
        m_crs = crs & followedByLf(data, data + left, lfs);
        m_block += 64;
        return;
    }
#endif
    const std::size_t length = std::min<std::size_t>(left, 64);
    m_crs = 0;
    for (std::size_t k = 0; k < length; ++k) {
        if (data[k] == '\r' && k + 1 < left && data[k + 1] == '\n') {
            m_crs |= std::uint64_t{1} << k;
        }
    }
    m_block += 64;
}

}  // namespace lintrel

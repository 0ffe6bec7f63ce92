#include "DxfLineReader.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <bit>
#include <cstring>

#include "DxfError.h"

namespace lintrel {
namespace {

constexpr std::size_t kChunk = std::size_t{1} << 18;
// A longer line is no drawing's; refusing it keeps memory bounded on a binary file.
constexpr std::size_t kLongestLine = std::size_t{256} << 20;

}  // namespace

DxfLineReader::DxfLineReader(std::string path)
    : m_ownFile(std::in_place, std::move(path)), m_file(&*m_ownFile), m_buffer(kChunk) {}

DxfLineReader::DxfLineReader(const InputFile& file, std::uint64_t start)
    : m_file(&file), m_buffer(kChunk), m_bufferOffset(start) {}

bool DxfLineReader::fill() {
    if (m_eof) {
        return false;
    }
    // Everything before the first byte still needed goes; a pinned record stays whole.
    std::size_t keep = m_isPinned ? m_pin : m_begin;
    if (keep > 0) {
        std::memmove(m_buffer.data(), m_buffer.data() + keep, m_end - keep);
        m_bufferOffset += keep;
        m_end -= keep;
        m_begin -= keep;
        m_pin -= m_isPinned ? keep : 0;
    }
    if (m_end == m_buffer.size()) {
        if (m_buffer.size() >= kLongestLine) {
            throw DxfError(DxfError::Kind::Damaged, path(), m_lineNumber + 1, "line too long");
        }
        m_buffer.resize(m_buffer.size() * 2);
    }
    std::size_t got =
        m_file->readAt(m_bufferOffset + m_end, m_buffer.data() + m_end, m_buffer.size() - m_end);
    m_end += got;
    m_eof = got == 0;
    // The unread part is short (no line end was left in it), so it is simply indexed again.
    indexLineEnds(m_begin);
    return got > 0;
}

void DxfLineReader::indexLineEnds(std::size_t from) {
    constexpr std::size_t kSlack = 8;  // room for the unconditional writes below
    if (m_lineEndRoom < m_buffer.size() + kSlack) {
        // Sized with the buffer and left unwritten: only the slots used are ever touched.
        m_lineEndRoom = m_buffer.size() + kSlack;
        m_lineEnds.reset(new std::uint32_t[m_lineEndRoom]);
    }
    std::uint32_t* out = m_lineEnds.get();
    const char* data = m_buffer.data();
    std::size_t at = from;
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    // A bit for each LF, and one for each CR, of the 64 bytes from `offset`.
    auto lineEndMasks = [&](std::size_t offset, std::uint64_t& lfs, std::uint64_t& crs) {
#pragma GCC unroll 4
        for (int k = 0; k < 4; ++k) {
            __m128i bytes =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + offset + 16 * k));
            lfs |= static_cast<std::uint64_t>(
                       static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lf))))
                   << (16 * k);
            crs |= static_cast<std::uint64_t>(
                       static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, cr))))
                   << (16 * k);
        }
    };
    for (; at + 64 <= m_end; at += 64) {
        std::uint64_t lfs = 0;
        std::uint64_t crs = 0;
        lineEndMasks(at, lfs, crs);
        // A CR LF is one line end, noted at its LF: half as many ends to note in a drawing of
        // short lines.
        const std::uint64_t nextLf = at + 64 < m_end && data[at + 64] == '\n' ? 1 : 0;
        std::uint64_t mask = lfs | (crs & ~(lfs >> 1 | nextLf << 63));
        // A block holds a few line ends: eight steps run without a branch each (a step past
        // the last end writes a slot the next end overwrites), and only a block of short lines
        // loops for the rest. Unrolled, or counting the steps costs as much as taking them.
#pragma GCC unroll 8
        for (std::size_t k = 0; k < kSlack; ++k) {
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
    for (; at < m_end; ++at) {
        if (data[at] == '\n' || (data[at] == '\r' && !(at + 1 < m_end && data[at + 1] == '\n'))) {
            *out++ = static_cast<std::uint32_t>(at);
        }
    }
    m_lineEndCount = static_cast<std::size_t>(out - m_lineEnds.get());
    m_nextEnd = 0;
}

bool DxfLineReader::atEnd() {
    while (m_begin == m_end) {
        if (!fill()) {
            return true;
        }
    }
    return false;
}

std::string_view DxfLineReader::readLineAcrossBuffers() {
    for (;;) {
        if (m_nextEnd < m_lineEndCount) {
            std::size_t end = m_lineEnds[m_nextEnd];
            const char* data = m_buffer.data();
            bool isCr = data[end] == '\r';
            if (isCr && end + 1 == m_end && !m_eof) {
                fill();  // the CR may be the first half of a CR LF in the next read
                continue;
            }
            bool isCrLf = !isCr && end > m_begin && data[end - 1] == '\r';
            std::string_view line(data + m_begin, end - m_begin - (isCrLf ? 1 : 0));
            m_begin = end + 1;
            ++m_nextEnd;
            m_otherLineEnds += isCrLf ? 0 : 1;
            ++m_lineNumber;
            return line;
        }
        if (!fill()) {
            if (m_begin == m_end) {
                throw DxfError(DxfError::Kind::Damaged, path(), m_lineNumber,
                               "the file ends too early");
            }
            // The last line of a file need not end in a line end.
            std::string_view line(m_buffer.data() + m_begin, m_end - m_begin);
            m_begin = m_end;
            ++m_otherLineEnds;
            ++m_lineNumber;
            return line;
        }
    }
}

}  // namespace lintrel

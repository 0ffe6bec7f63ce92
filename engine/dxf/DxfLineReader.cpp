#include "DxfLineReader.h"

#include <cstring>

#include "DxfError.h"
#include "LineEnds.h"

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
    if (m_lineEndRoom < m_buffer.size() + kLineEndSlack) {
        // Sized with the buffer and left unwritten: only the slots used are ever touched.
        m_lineEndRoom = m_buffer.size() + kLineEndSlack;
        m_lineEnds.reset(new std::uint32_t[m_lineEndRoom]);
    }
    m_lineEndCount =
        lintrel::indexLineEnds(std::string_view(m_buffer.data(), m_end), from, m_lineEnds.get());
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

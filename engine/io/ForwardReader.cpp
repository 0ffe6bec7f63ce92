#include "ForwardReader.h"

#include <cstring>

#include "DxfError.h"

namespace lintrel {
namespace {

constexpr std::size_t kChunk = std::size_t{1} << 20;

}  // namespace

ForwardReader::ForwardReader(InputFile& file) : m_file(file), m_buffer(kChunk) {}

std::string_view ForwardReader::bytes(std::uint64_t offset, std::size_t length) {
    if (offset < m_start || offset + length > m_start + m_used) {
        // What is still to come moves to the front, and the rest of the buffer is filled.
        std::uint64_t bufferEnd = m_start + m_used;
        std::size_t kept = offset >= m_start && offset < bufferEnd ? bufferEnd - offset : 0;
        std::memmove(m_buffer.data(), m_buffer.data() + (m_used - kept), kept);
        m_start = offset;
        m_used = kept;
        if (length > m_buffer.size()) {
            m_buffer.resize(length);
        }
        while (m_used < length) {
            std::size_t got =
                m_file.readAt(m_start + m_used, m_buffer.data() + m_used, m_buffer.size() - m_used);
            if (got == 0) {
                throw DxfError(DxfError::Kind::Damaged, m_file.path(), 0,
                               "the file is shorter than when it was first read");
            }
            m_used += got;
        }
    }
    return {m_buffer.data() + (offset - m_start), length};
}

}  // namespace lintrel

#include "DxfLineReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <cerrno>
#include <cstring>

#include "DxfError.h"

namespace lintrel {
namespace {

constexpr std::size_t kChunk = std::size_t{1} << 18;
// A longer line is no drawing's; refusing it keeps memory bounded on a binary file.
constexpr std::size_t kLongestLine = std::size_t{256} << 20;

int openForReading(const std::string& path, std::uint64_t& size) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        throw DxfError(DxfError::Kind::Open, path, 0, std::strerror(errno));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        ::close(fd);
        throw DxfError(DxfError::Kind::Open, path, 0, "not a file");
    }
    size = static_cast<std::uint64_t>(info.st_size);
    return fd;
}

std::size_t readSome(int fd, const std::string& path, char* into, std::size_t size) {
    for (;;) {
        ssize_t got = ::read(fd, into, size);
        if (got >= 0) {
            return static_cast<std::size_t>(got);
        }
        if (errno != EINTR) {
            throw DxfError(DxfError::Kind::Open, path, 0, std::strerror(errno));
        }
    }
}

// The first CR or LF in [from, to), or null. Most lines are short, so one 16-byte step usually
// finds the end without the branch per byte that made plain scanning the reader's main cost.
const char* findLineEnd(const char* from, const char* to) {
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    for (; to - from >= 16; from += 16) {
        __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        int mask = _mm_movemask_epi8(
            _mm_or_si128(_mm_cmpeq_epi8(bytes, lf), _mm_cmpeq_epi8(bytes, cr)));
        if (mask != 0) {
            return from + __builtin_ctz(static_cast<unsigned>(mask));
        }
    }
#endif
    for (; from != to; ++from) {
        if (*from == '\n' || *from == '\r') {
            return from;
        }
    }
    return nullptr;
}

}  // namespace

DxfLineReader::DxfLineReader(std::string path)
    : m_path(std::move(path)), m_fd(openForReading(m_path, m_size)), m_buffer(kChunk) {}

DxfLineReader::~DxfLineReader() { ::close(m_fd); }

bool DxfLineReader::fill(std::size_t& scanFrom) {
    if (m_eof) {
        return false;
    }
    if (m_begin > 0) {
        std::memmove(m_buffer.data(), m_buffer.data() + m_begin, m_end - m_begin);
        m_bufferOffset += m_begin;
        scanFrom -= m_begin;
        m_end -= m_begin;
        m_begin = 0;
    }
    if (m_end == m_buffer.size()) {
        if (m_buffer.size() >= kLongestLine) {
            throw DxfError(DxfError::Kind::Damaged, m_path, m_lineNumber + 1, "line too long");
        }
        m_buffer.resize(m_buffer.size() * 2);
    }
    std::size_t got = readSome(m_fd, m_path, m_buffer.data() + m_end, m_buffer.size() - m_end);
    m_end += got;
    m_eof = got == 0;
    return got > 0;
}

bool DxfLineReader::atEnd() {
    std::size_t scanFrom = m_begin;
    while (m_begin == m_end) {
        if (!fill(scanFrom)) {
            return true;
        }
    }
    return false;
}

std::string_view DxfLineReader::readLine() {
    std::size_t scanFrom = m_begin;
    for (;;) {
        const char* data = m_buffer.data();
        const char* end = findLineEnd(data + scanFrom, data + m_end);
        if (end != nullptr && *end == '\r' && end + 1 == data + m_end && !m_eof) {
            // A CR at the end of the buffer may be the first half of CR LF.
            scanFrom = static_cast<std::size_t>(end - data);
            fill(scanFrom);
            continue;
        }
        if (end != nullptr) {
            std::string_view line(data + m_begin, static_cast<std::size_t>(end - (data + m_begin)));
            bool isCrLf = *end == '\r' && end + 1 < data + m_end && end[1] == '\n';
            m_begin = static_cast<std::size_t>(end - data) + (isCrLf ? 2 : 1);
            ++m_lineNumber;
            return line;
        }
        scanFrom = m_end;
        if (!fill(scanFrom)) {
            if (m_begin == m_end) {
                throw DxfError(DxfError::Kind::Damaged, m_path, m_lineNumber,
                               "the file ends too early");
            }
            // The last line of a file need not end in a line end.
            std::string_view line(m_buffer.data() + m_begin, m_end - m_begin);
            m_begin = m_end;
            ++m_lineNumber;
            return line;
        }
    }
}

}  // namespace lintrel

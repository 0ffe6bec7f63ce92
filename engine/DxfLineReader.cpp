#include "DxfLineReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "DxfError.h"

namespace lintrel {
namespace {

constexpr std::size_t kChunk = std::size_t{1} << 20;
// A longer line is no drawing's; refusing it keeps memory bounded on a binary file.
constexpr std::size_t kLongestLine = std::size_t{256} << 20;

int openForReading(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        throw DxfError(DxfError::Kind::Open, path, 0, std::strerror(errno));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        ::close(fd);
        throw DxfError(DxfError::Kind::Open, path, 0, "not a file");
    }
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

const char* findLineEnd(const char* from, const char* to) {
    for (; from != to; ++from) {
        if (*from == '\n' || *from == '\r') {
            return from;
        }
    }
    return nullptr;
}

}  // namespace

DxfLineReader::DxfLineReader(std::string path)
    : m_path(std::move(path)), m_fd(openForReading(m_path)), m_buffer(kChunk) {}

DxfLineReader::~DxfLineReader() { ::close(m_fd); }

bool DxfLineReader::fill(std::size_t& scanFrom) {
    if (m_eof) {
        return false;
    }
    if (m_begin > 0) {
        std::memmove(m_buffer.data(), m_buffer.data() + m_begin, m_end - m_begin);
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

long countLineEnds(const std::string& path) {
    int fd = openForReading(path);
    std::vector<char> buffer(kChunk);
    long count = 0;
    bool afterCr = false;
    try {
        while (std::size_t got = readSome(fd, path, buffer.data(), buffer.size())) {
            for (std::size_t i = 0; i < got; ++i) {
                char c = buffer[i];
                count += (c == '\r') + (c == '\n' && !afterCr);
                afterCr = c == '\r';
            }
        }
    } catch (...) {
        ::close(fd);
        throw;
    }
    ::close(fd);
    return count;
}

}  // namespace lintrel

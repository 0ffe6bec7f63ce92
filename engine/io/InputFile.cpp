#include "InputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "DxfError.h"

namespace lintrel {
namespace {

template <class Read>
std::size_t retried(const std::string& path, Read read) {
    for (;;) {
        ssize_t got = read();
        if (got >= 0) {
            return static_cast<std::size_t>(got);
        }
        if (errno != EINTR) {
            throw DxfError(DxfError::Kind::Open, path, 0, std::strerror(errno));
        }
    }
}

}  // namespace

InputFile::InputFile(std::string path) : m_path(std::move(path)) {
    // Without waiting: a FIFO put in a drawing's place must not hold the run up.
    m_fd = ::open(m_path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0) {
        throw DxfError(DxfError::Kind::Open, m_path, 0, std::strerror(errno));
    }
    struct stat info {};
    if (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(m_fd);
        throw DxfError(DxfError::Kind::Open, m_path, 0, "not a file");
    }
    m_size = static_cast<std::uint64_t>(info.st_size);
}

InputFile::~InputFile() {
    ::close(m_fd);
}

std::size_t InputFile::readAt(std::uint64_t offset, char* into, std::size_t size) const {
    return retried(m_path, [&] { return ::pread(m_fd, into, size, static_cast<off_t>(offset)); });
}

}  // namespace lintrel

#include "DrawingFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace lintrel::preview {

// Opened without waiting: a FIFO put in a drawing's place would hold the reading thread, and the
// preview with it, until some program wrote to it.
DrawingFile::DrawingFile(const std::string& path)
    : m_fd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) {
    struct stat status {};
    if (m_fd < 0 || fstat(m_fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        return;
    }
    m_size = static_cast<std::uint64_t>(status.st_size);
    m_modified = status.st_mtim;
    m_isOpen = true;
}

DrawingFile::~DrawingFile() {
    if (m_fd >= 0) {
        close(m_fd);
    }
}

std::size_t DrawingFile::read(char* into, std::size_t bytes) {
    const std::size_t wanted = std::min<std::uint64_t>(bytes, m_size - m_read);
    std::size_t done = 0;
    while (!m_hasEnded && done < wanted) {
        const ssize_t got = ::read(m_fd, into + done, wanted - done);
        if (got > 0) {
            done += static_cast<std::size_t>(got);
        } else if (got == 0) {
            m_hasEnded = true;
            m_endedEarly = true;  // cut short meanwhile
        } else if (errno != EINTR) {
            m_hasEnded = true;
            m_hasFailed = true;
        }
    }
    m_read += done;
    return done;
}

DrawingFile::State DrawingFile::state() const {
    struct stat status {};
    const bool isAsOpened =
        fstat(m_fd, &status) == 0 && static_cast<std::uint64_t>(status.st_size) == m_size &&
        status.st_mtim.tv_sec == m_modified.tv_sec && status.st_mtim.tv_nsec == m_modified.tv_nsec;
    if (!isAsOpened || m_endedEarly) {
        return State::Changed;
    }
    return m_hasFailed ? State::Unreadable : State::Unchanged;
}

}  // namespace lintrel::preview

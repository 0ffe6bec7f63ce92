#include "MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>

#include "MappingGuard.h"

namespace lintrel::preview {
namespace {

constexpr std::size_t kReleaseStep = std::size_t{8} << 20;

}  // namespace

MappedFile::MappedFile(const std::string& path) : m_fd(open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
    struct stat status {};
    if (m_fd < 0 || fstat(m_fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        return;
    }
    m_size = static_cast<std::size_t>(status.st_size);
    m_modified = status.st_mtim;
    m_isOpen = true;
    if (m_size == 0) {
        return;
    }
    void* mapped = mmap(nullptr, m_size, PROT_READ, MAP_PRIVATE, m_fd, 0);
    if (mapped != MAP_FAILED &&
        guardMapping(static_cast<const char*>(mapped), m_size, m_hasZeros)) {
        m_data = static_cast<const char*>(mapped);
        return;
    }
    if (mapped != MAP_FAILED) {
        munmap(mapped, m_size);
    }
    m_isOpen = readWhole();
}

bool MappedFile::readWhole() {
    m_read.resize(m_size);
    std::size_t done = 0;
    while (done < m_size) {
        const ssize_t got = read(m_fd, m_read.data() + done, m_size - done);
        if (got > 0) {
            done += static_cast<std::size_t>(got);
        } else if (got == 0) {
            break;  // cut short meanwhile, which state() tells
        } else if (errno != EINTR) {
            return false;
        }
    }
    m_read.resize(done);
    return true;
}

MappedFile::~MappedFile() {
    if (m_data != nullptr) {
        unguardMapping(m_data);
        munmap(const_cast<char*>(m_data), m_size);
    }
    if (m_fd >= 0) {
        close(m_fd);
    }
}

void MappedFile::releaseBefore(std::uint64_t offset) const {
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t end = static_cast<std::size_t>(offset) / page * page;
    if (m_data == nullptr || end < m_released + kReleaseStep) {
        return;
    }
    madvise(const_cast<char*>(m_data) + m_released, end - m_released, MADV_DONTNEED);
    m_released = end;
}

MappedFile::State MappedFile::state() const {
    struct stat status {};
    const bool isAsMapped =
        fstat(m_fd, &status) == 0 && static_cast<std::size_t>(status.st_size) == m_size &&
        status.st_mtim.tv_sec == m_modified.tv_sec && status.st_mtim.tv_nsec == m_modified.tv_nsec;
    if (!isAsMapped) {
        return State::Changed;
    }
    return m_hasZeros.load() ? State::Unreadable : State::Unchanged;
}

}  // namespace lintrel::preview

#include "MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lintrel::preview {
namespace {

constexpr std::size_t kReleaseStep = std::size_t{8} << 20;

}  // namespace

MappedFile::MappedFile(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    struct stat status {};
    if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
        m_size = static_cast<std::size_t>(status.st_size);
        m_isOpen = true;
        if (m_size > 0) {
            void* mapped = mmap(nullptr, m_size, PROT_READ, MAP_PRIVATE, fd, 0);
            m_isOpen = mapped != MAP_FAILED;
            m_data = m_isOpen ? static_cast<const char*>(mapped) : nullptr;
            m_size = m_isOpen ? m_size : 0;
        }
    }
    close(fd);
}

MappedFile::~MappedFile() {
    if (m_data != nullptr) {
        munmap(const_cast<char*>(m_data), m_size);
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

}  // namespace lintrel::preview

#include "FuzzBytes.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

namespace lintrel::fuzz {

MemoryFile::MemoryFile(std::string_view bytes) : m_fd(::memfd_create("lintrel-fuzz", MFD_CLOEXEC)) {
    if (m_fd < 0 ||
        ::write(m_fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
        std::abort();  // the harness itself failed, not the code under test
    }
    m_path = "/proc/self/fd/" + std::to_string(m_fd);
}

MemoryFile::~MemoryFile() {
    ::close(m_fd);
}

const std::string& scratchFolder() {
    static const std::string folder = [] {
        std::string pattern = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm/lintrel-fuzz-XXXXXX"
                                                              : "/tmp/lintrel-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        return pattern;
    }();
    return folder;
}

void writeFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::abort();
    }
}

}  // namespace lintrel::fuzz

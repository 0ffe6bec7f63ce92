#include "FileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>

#include "DxfError.h"
#include "OutputFile.h"

namespace lintrel {
namespace {

std::error_code lastError() {
    return {errno, std::generic_category()};
}

// Descriptor: an open file descriptor, closed when it goes.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    [[nodiscard]] bool isOpen() const { return m_fd >= 0; }
    [[nodiscard]] int get() const { return m_fd; }

private:
    int m_fd;
};

}  // namespace

std::error_code readIfPresent(const std::filesystem::path& file, std::string& bytes) {
    bytes.clear();
    Descriptor descriptor(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (!descriptor.isOpen()) {
        return errno == ENOENT || errno == ENOTDIR ? std::error_code() : lastError();
    }
    std::array<char, 4096> buffer;
    for (;;) {
        auto count = ::read(descriptor.get(), buffer.data(), buffer.size());
        if (count == 0) {
            return {};
        }
        if (count < 0 && errno != EINTR) {
            return lastError();
        }
        bytes.append(buffer.data(), count < 0 ? 0 : static_cast<std::size_t>(count));
    }
}

std::error_code replaceContents(const std::filesystem::path& file, std::string_view bytes) {
    try {
        OutputFile replacement(file.string());
        replacement.write(bytes);
        replacement.commit(OutputFile::Durability::Synced);
        return {};
    } catch (const DxfError& error) {
        return {error.systemError(), std::generic_category()};
    }
}

}  // namespace lintrel

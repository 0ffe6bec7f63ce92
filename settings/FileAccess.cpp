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

// A settings file holds one record of 108 bytes; anything far longer is no settings file, and
// one that links to a device could be read until memory runs out.
constexpr std::size_t kLargestSettingsFile = 64 * 1024;

// Why an open file is not a settings file: a folder, a FIFO, a device or a socket.
std::error_code regularFileError(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return lastError();
    }
    if (S_ISDIR(info.st_mode)) {
        return std::make_error_code(std::errc::is_a_directory);
    }
    if (!S_ISREG(info.st_mode)) {
        return std::make_error_code(std::errc::invalid_argument);
    }
    return {};
}

}  // namespace

std::error_code readIfPresent(const std::filesystem::path& file, std::string& bytes) {
    bytes.clear();
    // Without waiting: opening a FIFO for reading would wait for a writer.
    Descriptor descriptor(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!descriptor.isOpen()) {
        return errno == ENOENT || errno == ENOTDIR ? std::error_code() : lastError();
    }
    if (auto error = regularFileError(descriptor.get())) {
        return error;
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
        if (bytes.size() > kLargestSettingsFile) {
            return std::make_error_code(std::errc::file_too_large);
        }
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

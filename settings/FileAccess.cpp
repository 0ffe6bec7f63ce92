#include "FileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>

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

    // Closes now, so that a failing close (a full disk reported late) is seen.
    [[nodiscard]] std::error_code close() {
        int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0 ? std::error_code() : lastError();
    }

private:
    int m_fd;
};

// A hidden name beside the target, so that a temporary left by a crash stays out of the way.
std::string hiddenPattern(const std::filesystem::path& target) {
    return (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
}

// TemporaryFile: a uniquely named file beside a target, removed unless it was renamed over it.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::filesystem::path& target)
        : m_path(hiddenPattern(target)),
          m_descriptor(::mkstemp(m_path.data())),
          m_isOwned(m_descriptor.isOpen()) {}
    ~TemporaryFile() {
        if (m_isOwned) {
            ::unlink(m_path.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    [[nodiscard]] bool isOpen() const { return m_descriptor.isOpen(); }
    [[nodiscard]] int get() const { return m_descriptor.get(); }
    [[nodiscard]] std::error_code close() { return m_descriptor.close(); }

    [[nodiscard]] std::error_code renameOver(const std::filesystem::path& target) {
        if (::rename(m_path.c_str(), target.c_str()) != 0) {
            return lastError();
        }
        m_isOwned = false;
        return {};
    }

private:
    std::string m_path;
    Descriptor m_descriptor;
    bool m_isOwned;  // the file exists under m_path and is ours to remove
};

std::error_code writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        auto written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno != EINTR) {
            return lastError();
        }
        bytes.remove_prefix(written < 0 ? 0 : static_cast<std::size_t>(written));
    }
    return {};
}

// After the rename the new bytes are in place; syncing the folder only makes the rename itself
// survive a power loss, and losing it would bring back the previous record, so a failure here
// is not worth reporting.
void syncFolderOf(const std::filesystem::path& file) {
    auto folder = file.parent_path().empty() ? std::filesystem::path(".") : file.parent_path();
    Descriptor descriptor(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (descriptor.isOpen()) {
        ::fsync(descriptor.get());
    }
}

}  // namespace

std::error_code readOrCreate(const std::filesystem::path& file, std::string& bytes) {
    Descriptor descriptor(::open(file.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666));
    if (!descriptor.isOpen()) {
        return lastError();
    }
    bytes.clear();
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
    TemporaryFile temporary(file);
    if (!temporary.isOpen()) {
        return lastError();
    }
    // mkstemp makes the file private; the replaced file's permissions are kept instead.
    struct stat existing {};
    if (::stat(file.c_str(), &existing) == 0 &&
        ::fchmod(temporary.get(), existing.st_mode & 07777) != 0) {
        return lastError();
    }
    if (auto error = writeAll(temporary.get(), bytes)) {
        return error;
    }
    if (::fsync(temporary.get()) != 0) {
        return lastError();
    }
    if (auto error = temporary.close()) {
        return error;
    }
    if (auto error = temporary.renameOver(file)) {
        return error;
    }
    syncFolderOf(file);
    return {};
}

}  // namespace lintrel

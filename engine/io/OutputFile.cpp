#include "OutputFile.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>

#include "DxfError.h"
#include "TemporaryNames.h"

namespace lintrel {
namespace {

constexpr std::size_t kBufferSize = std::size_t{1} << 18;
// A temporary name keeps this much of the target's name: a name near the system's limit of 255
// bytes must leave room for the dot and the six random letters.
constexpr std::size_t kKeptNameBytes = 64;

std::string folderOf(const std::string& target) {
    auto slash = target.find_last_of('/');
    return slash == std::string::npos ? "." : target.substr(0, slash + 1);
}

// A hidden name beside the target for mkstemp: ".NAME.XXXXXX", the name cut if long.
std::string temporaryPattern(const std::string& target) {
    auto slash = target.find_last_of('/');
    std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    return folder + "." + name.substr(0, kKeptNameBytes) + ".XXXXXX";
}

// The new file takes over the read and write bits of the regular file it replaces, and of
// nothing else: a link's target, setuid or execute bits never pass to a drawing. A new name
// gets what any new file of the user gets.
void givePermissions(int fd, const std::string& target) {
    struct stat existing {};
    if (::lstat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
        ::fchmod(fd, existing.st_mode & 0666);
        return;
    }
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
}

// Makes a rename survive a power loss; losing it would only bring back the older file.
void syncFolderOf(const std::string& target) {
    int fd = ::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

[[noreturn]] void fail(const std::string& target, int error) {
    throw DxfError(DxfError::Kind::Write, target, 0, std::strerror(error), error);
}

// Writes all the bytes to `fd`: at `at` when given, else where the file stands.
void writeAll(int fd, std::string_view bytes, std::optional<std::uint64_t> at,
              const std::string& target) {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written =
            at ? ::pwrite(fd, data, left, static_cast<off_t>(*at)) : ::write(fd, data, left);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            fail(target, written < 0 ? errno : ENOSPC);
        }
        data += written;
        left -= static_cast<std::size_t>(written);
        if (at) {
            *at += static_cast<std::uint64_t>(written);
        }
    }
}

// Whether the folder's filesystem (or the kernel) knows no unnamed files, as opposed to a folder
// that is missing or closed to the user.
bool refusesUnnamedFiles(int error) {
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

// The pattern's closing XXXXXX replaced by random letters and digits.
std::string randomName(std::string pattern) {
    constexpr std::string_view kLetters =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::array<unsigned char, 6> random{};
    if (::getrandom(random.data(), random.size(), 0) != static_cast<ssize_t>(random.size())) {
        random.fill(static_cast<unsigned char>(::getpid()));
    }
    for (std::size_t i = 0; i < random.size(); ++i) {
        pattern[pattern.size() - random.size() + i] = kLetters[random[i] % kLetters.size()];
    }
    return pattern;
}

// Gives an unnamed file its first name; a kill before this leaves nothing behind.
int linkUnnamed(int fd, const std::string& name) {
    std::string self = "/proc/self/fd/" + std::to_string(fd);
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW);
}

// Holds off every signal that can be held for as long as it lives: a file named but not yet
// renamed into place must not be left by a signal that ends the program.
class HeldSignals {
public:
    HeldSignals() {
        sigset_t all;
        sigfillset(&all);
        ::pthread_sigmask(SIG_BLOCK, &all, &m_previous);
    }
    ~HeldSignals() { ::pthread_sigmask(SIG_SETMASK, &m_previous, nullptr); }
    HeldSignals(const HeldSignals&) = delete;
    HeldSignals& operator=(const HeldSignals&) = delete;

private:
    sigset_t m_previous;
};

}  // namespace

OutputFile::OutputFile(std::string target) : m_target(std::move(target)) {
    // Read and write: a part of a copy is read back when it is copied into place in the whole.
    m_fd = ::open(folderOf(m_target).c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (m_fd < 0 && refusesUnnamedFiles(errno)) {
        openNamed();
    }
    if (m_fd < 0) {
        fail(m_target, errno);
    }
    givePermissions(m_fd, m_target);
    m_buffer.resize(kBufferSize);
}

OutputFile::OutputFile(std::string target, PartPlace& place) : OutputFile(std::move(target)) {
    m_place = &place;
    place.ownFd = m_fd;  // before the part tells any of its bytes
}

void OutputFile::openNamed() {
    m_temporary = temporaryPattern(m_target);
    m_fd = ::mkostemp(m_temporary.data(), O_CLOEXEC);
    if (m_fd < 0) {
        int error = errno;
        m_temporary.clear();
        errno = error;
        return;
    }
    if (!TemporaryNames::remember(m_temporary)) {
        discard();
        errno = EMFILE;
    }
}

OutputFile::~OutputFile() {
    discard();
}

void OutputFile::write(std::string_view bytes) {
    if (m_used + bytes.size() > m_buffer.size()) {
        flush();
        if (bytes.size() >= m_buffer.size()) {
            writeThrough(bytes);  // a long stretch gains nothing from a copy into the buffer
            return;
        }
    }
    std::memcpy(m_buffer.data() + m_used, bytes.data(), bytes.size());
    m_used += bytes.size();
}

void OutputFile::writeLine(std::string_view text) {
    if (m_used + text.size() + 2 > m_buffer.size()) {
        flush();
        if (text.size() + 2 > m_buffer.size()) {
            m_buffer.resize(text.size() + 2);
        }
    }
    char* at = m_buffer.data() + m_used;
    std::memcpy(at, text.data(), text.size());
    at[text.size()] = '\r';
    at[text.size() + 1] = '\n';
    m_used += text.size() + 2;
}

void OutputFile::flush() {
    writeThrough({m_buffer.data(), m_used});
    m_used = 0;
}

void OutputFile::writeThrough(std::string_view bytes) {
    if (m_place != nullptr && m_inPlaceFrom == PartPlace::kUnplaced) {
        if (const auto at = m_place->at.load(std::memory_order_acquire);
            at != PartPlace::kUnplaced) {
            m_inPlaceFrom = at + m_written;
        }
    }
    if (m_inPlaceFrom != PartPlace::kUnplaced) {
        writeAll(m_place->wholeFd, bytes, m_inPlaceFrom, m_target);
        m_inPlaceFrom += bytes.size();
        m_written += bytes.size();
        return;
    }
    writeAll(m_fd, bytes, std::nullopt, m_target);
    m_written += bytes.size();
    if (m_place != nullptr) {
        m_place->ownBytes.store(m_written, std::memory_order_release);
    }
}

void OutputFile::copyRange(int from, std::uint64_t offset, std::uint64_t bytes, std::uint64_t to) {
    flush();
    // Copied within the system where it can; through the buffer where it cannot.
    auto in = static_cast<off_t>(offset);
    auto out = static_cast<off_t>(to);
    std::uint64_t left = bytes;
    while (left > 0) {
        const ssize_t copied = ::copy_file_range(from, &in, m_fd, &out, left, 0);
        if (copied < 0 && errno == EINTR) {
            continue;
        }
        if (copied <= 0) {
            break;
        }
        left -= static_cast<std::uint64_t>(copied);
    }
    while (left > 0) {
        const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(left, m_buffer.size()));
        const ssize_t got = ::pread(from, m_buffer.data(), want, in);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            fail(m_target, got < 0 ? errno : EIO);
        }
        writeAll(m_fd, {m_buffer.data(), static_cast<std::size_t>(got)},
                 static_cast<std::uint64_t>(out), m_target);
        in += got;
        out += got;
        left -= static_cast<std::uint64_t>(got);
    }
}

void OutputFile::place(PartPlace& part, std::uint64_t at) {
    part.wholeFd = m_fd;
    part.at.store(at, std::memory_order_release);
    copyPlaced(part);
}

void OutputFile::copyPlaced(PartPlace& part) {
    const std::uint64_t own = part.ownBytes.load(std::memory_order_acquire);
    if (own > part.copied) {
        copyRange(part.ownFd, part.copied, own - part.copied,
                  part.at.load(std::memory_order_relaxed) + part.copied);
        part.copied = own;
    }
}

std::uint64_t OutputFile::flushedSize() {
    flush();
    return m_written;
}

void OutputFile::resumeAt(std::uint64_t end) {
    flush();
    if (::lseek(m_fd, static_cast<off_t>(end), SEEK_SET) < 0) {
        fail(m_target, errno);
    }
    m_written = end;
}

void OutputFile::commit(Durability durability) {
    flush();
    if (durability == Durability::Synced && ::fsync(m_fd) != 0) {
        fail(m_target, errno);
    }
    if (m_temporary.empty()) {
        nameUnnamed();
    }
    int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0) {
        fail(m_target, errno);  // a full disk may be reported only now
    }
    if (!m_temporary.empty()) {
        if (std::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
            fail(m_target, errno);
        }
        TemporaryNames::forget(m_temporary);
        m_temporary.clear();
    }
    if (durability == Durability::Synced) {
        syncFolderOf(m_target);
    }
}

void OutputFile::nameUnnamed() {
    if (linkUnnamed(m_fd, m_target) == 0) {
        return;
    }
    if (errno != EEXIST) {
        fail(m_target, errno);
    }
    // An older file of the name is replaced in one step: named beside it, then renamed onto it.
    HeldSignals held;
    constexpr int kAttempts = 100;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        std::string temporary = randomName(temporaryPattern(m_target));
        if (linkUnnamed(m_fd, temporary) == 0) {
            if (std::rename(temporary.c_str(), m_target.c_str()) != 0) {
                int error = errno;
                ::unlink(temporary.c_str());
                fail(m_target, error);
            }
            return;
        }
        if (errno != EEXIST) {
            fail(m_target, errno);
        }
    }
    fail(m_target, EEXIST);
}

void OutputFile::discard() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temporary.empty()) {
        ::unlink(m_temporary.c_str());
        TemporaryNames::forget(m_temporary);
        m_temporary.clear();
    }
}

}  // namespace lintrel

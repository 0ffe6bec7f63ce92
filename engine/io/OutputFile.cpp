#include "OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "DxfError.h"

namespace lintrel {
namespace {

constexpr std::size_t kBufferSize = std::size_t{1} << 18;

std::string temporaryPattern(const std::string& target) {
    auto slash = target.find_last_of('/');
    std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    return folder + "." + name + ".XXXXXX";
}

// mkstemp makes a private file; it gets the permissions of the file it replaces, or those any
// new file of the user gets.
void givePermissions(int fd, const std::string& target) {
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0) {
        ::fchmod(fd, existing.st_mode & 07777);
        return;
    }
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
}

// Makes a rename survive a power loss; losing it would only bring back the older file.
void syncFolderOf(const std::string& target) {
    auto slash = target.find_last_of('/');
    std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

[[noreturn]] void fail(const std::string& target, int error) {
    throw DxfError(DxfError::Kind::Write, target, 0, std::strerror(error), error);
}

}  // namespace

OutputFile::OutputFile(std::string target)
    : m_target(std::move(target)), m_temporary(temporaryPattern(m_target)) {
    m_fd = ::mkstemp(m_temporary.data());
    if (m_fd < 0) {
        int error = errno;
        m_temporary.clear();
        fail(m_target, error);
    }
    givePermissions(m_fd, m_target);
    m_buffer.resize(kBufferSize);
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
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        ssize_t written = ::write(m_fd, data, left);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            fail(m_target, written < 0 ? errno : ENOSPC);
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
}

void OutputFile::append(OutputFile& part) {
    part.flush();
    flush();
    struct stat written {};
    if (::fstat(part.m_fd, &written) != 0) {
        fail(part.m_target, errno);
    }
    // Copied within the system where it can; through the buffer where it cannot.
    auto left = static_cast<std::size_t>(written.st_size);
    off_t from = 0;
    while (left > 0) {
        const ssize_t copied = ::copy_file_range(part.m_fd, &from, m_fd, nullptr, left, 0);
        if (copied < 0 && errno == EINTR) {
            continue;
        }
        if (copied <= 0) {
            break;
        }
        left -= static_cast<std::size_t>(copied);
    }
    while (left > 0) {
        const ssize_t got =
            ::pread(part.m_fd, m_buffer.data(), std::min(left, m_buffer.size()), from);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            fail(part.m_target, got < 0 ? errno : EIO);
        }
        writeThrough({m_buffer.data(), static_cast<std::size_t>(got)});
        from += got;
        left -= static_cast<std::size_t>(got);
    }
}

void OutputFile::commit(Durability durability) {
    flush();
    if (durability == Durability::Synced && ::fsync(m_fd) != 0) {
        fail(m_target, errno);
    }
    int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0) {
        fail(m_target, errno);  // a full disk may be reported only now
    }
    if (std::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        fail(m_target, errno);
    }
    m_temporary.clear();
    if (durability == Durability::Synced) {
        syncFolderOf(m_target);
    }
}

void OutputFile::discard() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temporary.empty()) {
        ::unlink(m_temporary.c_str());
        m_temporary.clear();
    }
}

}  // namespace lintrel

#include "OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// mkstemp makes a private file; the copy gets the permissions any new file of the user gets.
void giveUsualPermissions(int fd) {
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
}

}  // namespace

OutputFile::OutputFile(std::string target)
    : m_target(std::move(target)), m_temporary(temporaryPattern(m_target)) {
    m_fd = ::mkstemp(m_temporary.data());
    if (m_fd < 0) {
        throw DxfError(DxfError::Kind::Write, m_target, 0, std::strerror(errno));
    }
    giveUsualPermissions(m_fd);
    m_buffer.resize(kBufferSize);
}

OutputFile::~OutputFile() { discard(); }

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
    const char* data = m_buffer.data();
    std::size_t left = m_used;
    while (left > 0) {
        ssize_t written = ::write(m_fd, data, left);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            throw DxfError(DxfError::Kind::Write, m_target, 0,
                           written < 0 ? std::strerror(errno) : "nothing written");
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    m_used = 0;
}

void OutputFile::commit() {
    flush();
    int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0) {
        int error = errno;
        ::unlink(m_temporary.c_str());
        m_temporary.clear();
        throw DxfError(DxfError::Kind::Write, m_target, 0, std::strerror(error));
    }
    if (std::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        throw DxfError(DxfError::Kind::Write, m_target, 0, std::strerror(errno));
    }
    m_temporary.clear();
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

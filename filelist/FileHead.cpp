#include "FileHead.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace lintrel {
namespace {

// Opens without waiting: opening a FIFO for reading would wait for a writer.
int openRegularFile(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat info {};
    if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

std::optional<std::string> readFileHead(const std::string& path, std::size_t limit) {
    int fd = openRegularFile(path);
    if (fd < 0) {
        return std::nullopt;
    }
    std::string head(limit, '\0');
    std::size_t got = 0;
    while (got < limit) {
        ssize_t count = ::read(fd, head.data() + got, limit - got);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (count == 0) {
            break;
        }
        got += static_cast<std::size_t>(count);
    }
    ::close(fd);
    head.resize(got);
    return head;
}

}  // namespace lintrel

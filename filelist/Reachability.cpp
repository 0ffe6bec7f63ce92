#include "Reachability.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace lintrel {

std::string_view reachabilityRefusal(const PathLook& look) {
    if (look.statError == ENOENT || look.statError == ENOTDIR) {
        return kMissingFile;
    }
    if (look.statError != 0 || look.openError != 0) {
        return kUnreadableFile;
    }
    return look.isFolder ? kFolder : std::string_view();
}

std::string_view reachabilityRefusal(const std::string& path) {
    PathLook look;
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        look.statError = errno;
    } else {
        look.isFolder = S_ISDIR(status.st_mode);
        look.isRegular = S_ISREG(status.st_mode);
    }
    // Only a regular file is opened: opening a pipe would wait for a writer.
    if (look.isRegular) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        look.openError = fd < 0 ? errno : 0;
        if (fd >= 0) {
            ::close(fd);
        }
    }
    return reachabilityRefusal(look);
}

}  // namespace lintrel

// An interposed library (LD_PRELOAD) that makes the file calls of a real lintrel-cli fail the way
// disks, kernels and other programs make them fail. What it does is read once from two variables:
//   LINTREL_FAULT_PATH  only files whose path contains this text are touched (never a .txt)
//   LINTREL_FAULT       one fault, "KIND:NUMBER":
//     read-eio:OFFSET       a read() of a watched file that covers byte OFFSET fails with EIO
//     pread-eio:OFFSET      the same for pread(), the run's reads (the probe's are read()s)
//     write-enospc:OFFSET   a write to a watched file that reaches byte OFFSET fails with ENOSPC
//     name-enospc:0         naming a written file (linkat, rename) fails with ENOSPC
//     unlink-at-open:N      the watched .dxf file is deleted just before its N-th opening
//     truncate-at-open:N    the watched .dxf file is cut to half just before its N-th opening
//     rmdir-at-write:N      the watched folder is removed at the N-th write into it
//     no-unnamed:0          the watched folder's filesystem refuses unnamed files (O_TMPFILE)
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

struct Fault {
    std::string kind;
    long long number = 0;
    std::string path;
};

const Fault& fault() {
    static const Fault made = [] {
        Fault f;
        const char* described = std::getenv("LINTREL_FAULT");
        const char* path = std::getenv("LINTREL_FAULT_PATH");
        if (described != nullptr && path != nullptr) {
            std::string text(described);
            auto colon = text.find(':');
            f.kind = text.substr(0, colon);
            f.number = colon == std::string::npos ? 0 : std::atoll(text.c_str() + colon + 1);
            f.path = path;
        }
        return f;
    }();
    return made;
}

constexpr int kMostFds = 4096;
std::atomic<bool> g_watched[kMostFds];
std::atomic<int> g_opens{0};
std::atomic<int> g_writes{0};

template <class Function>
Function next(const char* name) {
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

// The drawings, copies and folders under the path; the test's own logs (.txt) never.
bool isWatchedPath(const char* path) {
    return path != nullptr && !fault().path.empty() &&
           std::strstr(path, fault().path.c_str()) != nullptr &&
           !std::string_view(path).ends_with(".txt");
}

bool isWatched(int fd) {
    return fd >= 0 && fd < kMostFds && g_watched[fd].load();
}

// Before a watched drawing is opened: the changes another program might make at that moment.
void beforeOpen(const char* path) {
    std::string name(path);
    if (!name.ends_with(".dxf") || name.ends_with("-Cut.dxf")) {
        return;
    }
    int count = ++g_opens;
    if (count != fault().number) {
        return;
    }
    if (fault().kind == "unlink-at-open") {
        ::unlink(path);
    } else if (fault().kind == "truncate-at-open") {
        struct stat info {};
        if (::stat(path, &info) == 0) {
            ::truncate(path, info.st_size / 2);
        }
    }
}

int watch(int fd, const char* path) {
    if (fd >= 0 && fd < kMostFds) {
        g_watched[fd] = isWatchedPath(path);
    }
    return fd;
}

bool covers(long long offset, std::size_t size) {
    return fault().number >= offset && fault().number < offset + static_cast<long long>(size);
}

bool failsRead(std::string_view kind, int fd, long long offset, std::size_t size) {
    return isWatched(fd) && fault().kind == kind && covers(offset, size);
}

// The write fault: ENOSPC at the offset, or the folder gone at the N-th write.
bool failsWrite(int fd, std::size_t size) {
    if (!isWatched(fd)) {
        return false;
    }
    if (fault().kind == "rmdir-at-write" && ++g_writes == fault().number) {
        std::string folder = fault().path;
        ::rmdir(folder.c_str());
        return false;
    }
    return fault().kind == "write-enospc" && covers(::lseek(fd, 0, SEEK_CUR), size);
}

bool failsNaming(const char* to) {
    return fault().kind == "name-enospc" && isWatchedPath(to);
}

int openWith(const char* symbol, int directory, const char* path, int flags, mode_t mode) {
    if (isWatchedPath(path)) {
        beforeOpen(path);
        if (fault().kind == "no-unnamed" && (flags & __O_TMPFILE) == __O_TMPFILE) {
            errno = EOPNOTSUPP;
            return -1;
        }
    }
    using OpenAt = int (*)(int, const char*, int, ...);
    return watch(next<OpenAt>(symbol)(directory, path, flags, mode), path);
}

mode_t modeOf(int flags, va_list arguments) {
    return (flags & (O_CREAT | __O_TMPFILE)) != 0 ? static_cast<mode_t>(va_arg(arguments, int)) : 0;
}

}  // namespace

extern "C" {

// Lintrel opens its files with open() only.
int open(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    mode_t mode = modeOf(flags, arguments);
    va_end(arguments);
    return openWith("openat", AT_FDCWD, path, flags, mode);
}

ssize_t read(int fd, void* into, std::size_t size) {
    if (failsRead("read-eio", fd, ::lseek(fd, 0, SEEK_CUR), size)) {
        errno = EIO;
        return -1;
    }
    return next<ssize_t (*)(int, void*, std::size_t)>("read")(fd, into, size);
}

ssize_t pread64(int fd, void* into, std::size_t size, off_t offset) {
    if (failsRead("pread-eio", fd, offset, size)) {
        errno = EIO;
        return -1;
    }
    return next<ssize_t (*)(int, void*, std::size_t, off_t)>("pread64")(fd, into, size, offset);
}

ssize_t pread(int fd, void* into, std::size_t size, off_t offset) {
    return pread64(fd, into, size, offset);
}

ssize_t write(int fd, const void* from, std::size_t size) {
    if (failsWrite(fd, size)) {
        errno = ENOSPC;
        return -1;
    }
    return next<ssize_t (*)(int, const void*, std::size_t)>("write")(fd, from, size);
}

ssize_t copy_file_range(int in, off_t* inOffset, int out, off_t* outOffset, std::size_t size,
                        unsigned flags) {
    if (isWatched(out)) {
        errno = EXDEV;  // the copy falls back to reads and writes, where the faults are
        return -1;
    }
    using Copy = ssize_t (*)(int, off_t*, int, off_t*, std::size_t, unsigned);
    return next<Copy>("copy_file_range")(in, inOffset, out, outOffset, size, flags);
}

int linkat(int fromDirectory, const char* from, int toDirectory, const char* to, int flags) {
    if (failsNaming(to)) {
        errno = ENOSPC;
        return -1;
    }
    using LinkAt = int (*)(int, const char*, int, const char*, int);
    return next<LinkAt>("linkat")(fromDirectory, from, toDirectory, to, flags);
}

int rename(const char* from, const char* to) {
    if (failsNaming(to)) {
        errno = ENOSPC;
        return -1;
    }
    return next<int (*)(const char*, const char*)>("rename")(from, to);
}

int close(int fd) {
    if (fd >= 0 && fd < kMostFds) {
        g_watched[fd] = false;
    }
    return next<int (*)(int)>("close")(fd);
}

}  // extern "C"

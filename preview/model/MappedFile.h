#pragma once

#include <sys/stat.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

namespace lintrel::preview {

// A drawing mapped into memory read-only, whose pages can be given back once read. Should another
// program cut the file short meanwhile, or a page fail to be read (a network drive gone), what
// could not be read reads as zeros. A file its filesystem cannot map is read into memory whole.
class MappedFile {
public:
    explicit MappedFile(const std::string& path);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    bool isOpen() const { return m_isOpen; }
    std::string_view bytes() const {
        return m_data != nullptr ? std::string_view(m_data, m_size) : m_read;
    }
    // Drops the whole pages before the offset from memory, in steps of a few megabytes.
    void releaseBefore(std::uint64_t offset) const;
    // Whether what was read is the file as it was mapped: else it may mix two versions of the
    // drawing (Changed: cut short or written to since), or hold zeros where a page could not be
    // read although the file stayed as it was (Unreadable).
    enum class State { Unchanged, Changed, Unreadable };
    State state() const;

private:
    bool readWhole();

    int m_fd = -1;  // kept open to tell whether the file changed
    const char* m_data = nullptr;
    std::size_t m_size = 0;
    bool m_isOpen = false;
    struct timespec m_modified {};
    std::atomic<bool> m_hasZeros{false};  // set where a page could not be read
    std::string m_read;                   // the file, where it could not be mapped
    mutable std::size_t m_released = 0;
};

}  // namespace lintrel::preview

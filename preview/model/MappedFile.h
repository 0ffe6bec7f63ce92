#pragma once

#include <sys/stat.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

namespace lintrel::preview {

// A drawing mapped into memory read-only, whose pages can be given back once read. Should another
// program cut the file short meanwhile, what lay past its new end reads as zeros.
class MappedFile {
public:
    explicit MappedFile(const std::string& path);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    bool isOpen() const { return m_isOpen; }
    std::string_view bytes() const { return {m_data, m_size}; }
    // Drops the whole pages before the offset from memory, in steps of a few megabytes.
    void releaseBefore(std::uint64_t offset) const;
    // False once the file was cut short or written to since it was mapped: what was read of it
    // may then mix two versions of the drawing, or end in zeros.
    bool isUnchanged() const;

private:
    int m_fd = -1;  // kept open to tell whether the file changed
    const char* m_data = nullptr;
    std::size_t m_size = 0;
    bool m_isOpen = false;
    struct timespec m_modified {};
    std::atomic<bool> m_wasCut{false};
    mutable std::size_t m_released = 0;
};

}  // namespace lintrel::preview

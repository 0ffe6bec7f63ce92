#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lintrel::preview {

// A drawing mapped into memory read-only, whose pages can be given back once read.
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

private:
    const char* m_data = nullptr;
    std::size_t m_size = 0;
    bool m_isOpen = false;
    mutable std::size_t m_released = 0;
};

}  // namespace lintrel::preview

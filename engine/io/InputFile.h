#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace lintrel {

// A drawing opened for reading; every failure is a DxfError(Open) naming it.
class InputFile {
public:
    explicit InputFile(std::string path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    const std::string& path() const { return m_path; }
    std::uint64_t size() const { return m_size; }  // when it was opened
    // Reads up to `size` bytes at `offset`; 0 only at the end.
    std::size_t readAt(std::uint64_t offset, char* into, std::size_t size) const;

private:
    std::string m_path;
    std::uint64_t m_size = 0;
    int m_fd = -1;
};

}  // namespace lintrel

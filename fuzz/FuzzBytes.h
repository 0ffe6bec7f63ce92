#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace lintrel::fuzz {

// The fuzzer's bytes taken from the front a value at a time; past the end every value is 0.
class FuzzBytes {
public:
    FuzzBytes(const std::uint8_t* data, std::size_t size)
        : m_data(reinterpret_cast<const char*>(data), size) {}

    std::uint8_t byte() {
        if (m_data.empty()) {
            return 0;
        }
        auto value = static_cast<std::uint8_t>(m_data.front());
        m_data.remove_prefix(1);
        return value;
    }
    bool flag() { return (byte() & 1) != 0; }
    // A number below `count` (count > 0).
    std::size_t below(std::size_t count) { return byte() % count; }
    std::string_view rest() const { return m_data; }
    bool isEmpty() const { return m_data.empty(); }

private:
    std::string_view m_data;
};

// A file holding the bytes in memory only, opened by its /proc path like any file on disk.
class MemoryFile {
public:
    explicit MemoryFile(std::string_view bytes);
    ~MemoryFile();
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    const std::string& path() const { return m_path; }

private:
    int m_fd;
    std::string m_path;
};

// A folder made once for the whole fuzzing process, in memory where the system has /dev/shm.
const std::string& scratchFolder();

// Writes the bytes to a file, replacing it.
void writeFile(const std::string& path, std::string_view bytes);

}  // namespace lintrel::fuzz

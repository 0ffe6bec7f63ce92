#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace lintrel::preview {

// A drawing file read once from start to end, piece by piece, kept open so that its reader can
// tell at the end whether another program changed it meanwhile. Read, not mapped: a mapped file
// costs a page fault every few pages and holds its pages until they are given back, where a read
// copies each byte once into memory used over and over.
class DrawingFile {
public:
    explicit DrawingFile(const std::string& path);
    ~DrawingFile();
    DrawingFile(const DrawingFile&) = delete;
    DrawingFile& operator=(const DrawingFile&) = delete;

    bool isOpen() const { return m_isOpen; }
    // Its size when it was opened.
    std::uint64_t size() const { return m_size; }
    // Reads up to `bytes` of what follows the last read into `into`, never past the size the file
    // had when opened; 0 at that end, at an earlier end or where a read fails (state() then tells).
    std::size_t read(char* into, std::size_t bytes);

    // Whether what was read is the file as it was opened: else it may mix two versions of the
    // drawing (Changed: cut short or written to since), or miss a part that could not be read
    // although the file stayed as it was (Unreadable).
    enum class State { Unchanged, Changed, Unreadable };
    State state() const;

private:
    int m_fd = -1;
    std::uint64_t m_size = 0;
    std::uint64_t m_read = 0;
    bool m_isOpen = false;
    bool m_hasEnded = false;    // a read found the end, or failed
    bool m_hasFailed = false;   // a read failed
    bool m_endedEarly = false;  // the end came before the size the file had when opened
    struct timespec m_modified {};
};

}  // namespace lintrel::preview

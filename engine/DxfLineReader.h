#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lintrel {

// Reads a drawing line by line with one reused buffer. A line ends at CR LF, a lone CR or a lone
// LF; the line end is not part of the line. Bytes are never re-encoded.
class DxfLineReader {
public:
    explicit DxfLineReader(std::string path);  // throws DxfError(Open) when it cannot be opened
    ~DxfLineReader();
    DxfLineReader(const DxfLineReader&) = delete;
    DxfLineReader& operator=(const DxfLineReader&) = delete;

    // True when every line has been read.
    bool atEnd();
    // The next line, valid until the next read; throws DxfError(Damaged) at the end of the file.
    std::string_view readLine();
    // How many lines have been read so far.
    long lineNumber() const { return m_lineNumber; }
    const std::string& path() const { return m_path; }

private:
    bool fill(std::size_t& scanFrom);

    std::string m_path;
    int m_fd = -1;
    std::vector<char> m_buffer;
    std::size_t m_begin = 0;  // first unread byte
    std::size_t m_end = 0;    // end of the bytes read from the file
    bool m_eof = false;
    long m_lineNumber = 0;
};

// The number of line ends in a file (CR LF, lone CR and lone LF count once each).
long countLineEnds(const std::string& path);

}  // namespace lintrel

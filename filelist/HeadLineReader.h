#pragma once

#include <cstddef>
#include <istream>
#include <string>

namespace lintrel {

// HeadLineReader: the first lines of a drawing, one at a time, without their line ends. Writers
// differ in their line ends, so CR LF, a lone CR and a lone LF each end a line.
class HeadLineReader {
public:
    // Only the first few lines of a file are compared, and none of them is anywhere near this
    // long; the cut keeps a file without line ends from being read into memory whole.
    static constexpr std::size_t kLongestKept = 4096;

    explicit HeadLineReader(std::istream& in) : m_in(in) {}

    // The next line into `line` (cut to kLongestKept bytes); false at the end of the stream or
    // when it cannot be read. A last line without a line end is a line too.
    [[nodiscard]] bool next(std::string& line);

private:
    bool readLine(std::string& line);

    std::istream& m_in;
};

}  // namespace lintrel

#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lintrel {

// A cleaned copy on its way to disk: written to a temporary file beside the target and renamed
// onto it only by commit(), so a failed or interrupted run never leaves a truncated drawing and
// an older copy of the same name stays as it was. Without commit() the temporary file is removed.
class OutputFile {
public:
    // Creates the temporary file; throws DxfError(Write) when the folder does not allow it.
    explicit OutputFile(std::string target);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void writeLine(std::string_view text);  // the text and CR LF, buffered; throws DxfError(Write)
    void commit();                       // flushes, closes and renames onto the target
    const std::string& target() const { return m_target; }

private:
    void flush();
    void discard();

    std::string m_target;
    std::string m_temporary;
    int m_fd = -1;
    std::vector<char> m_buffer;  // sized once; m_used bytes of it wait to be written
    std::size_t m_used = 0;
};

}  // namespace lintrel

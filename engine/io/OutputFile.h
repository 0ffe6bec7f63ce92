#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lintrel {

// A file on its way to disk: written to a temporary file beside the target and renamed onto it
// only by commit(), so a failure or an interrupt never leaves a truncated file and an older file
// of the same name stays as it was. Without commit() the temporary file is removed. A replaced
// file keeps its permissions.
class OutputFile {
public:
    enum class Durability {
        Renamed,  // in place once renamed; the system writes it out in its own time
        Synced,   // on the disk before it replaces the old file, the rename synced too
    };

    // Creates the temporary file; throws DxfError(Write) when the folder does not allow it.
    explicit OutputFile(std::string target);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void write(std::string_view bytes);     // buffered; throws DxfError(Write)
    void writeLine(std::string_view text);  // the text and CR LF, buffered; throws DxfError(Write)
    // Appends all that another file, never to be committed, holds: a part of the same target
    // written at the same time. Throws DxfError(Write).
    void append(OutputFile& part);
    // Flushes, closes and renames onto the target; throws DxfError(Write).
    void commit(Durability durability = Durability::Renamed);

private:
    void flush();
    void writeThrough(std::string_view bytes);
    void discard();

    std::string m_target;
    std::string m_temporary;
    int m_fd = -1;
    std::vector<char> m_buffer;  // sized once; m_used bytes of it wait to be written
    std::size_t m_used = 0;
};

}  // namespace lintrel

#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "PartPlace.h"

namespace lintrel {

// A file on its way to disk: written to an unnamed file in the target's folder that gets the
// target's name only by commit(), so a failure, an interrupt or a kill never leaves a truncated
// file or any other, and an older file of the same name stays as it was. Where the filesystem
// knows no unnamed files, a hidden named one is used, removed without commit() and by the signals
// that end the program. A replaced regular file passes on its read and write bits only.
class OutputFile {
public:
    enum class Durability {
        Renamed,  // in place once renamed; the system writes it out in its own time
        Synced,   // on the disk before it replaces the old file, the rename synced too
    };

    // Creates the temporary file; throws DxfError(Write) when the folder does not allow it.
    explicit OutputFile(std::string target);
    // A part of the copy of `target` that another thread places in the whole (see PartPlace):
    // never committed, written straight into the whole once placed.
    OutputFile(std::string target, PartPlace& place);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void write(std::string_view bytes);     // buffered; throws DxfError(Write)
    void writeLine(std::string_view text);  // the text and CR LF, buffered; throws DxfError(Write)
    // The whole: places a part at `at` (from then on the part writes straight there), and copies
    // into place what the part wrote into its own file so far. Throws DxfError(Write).
    void place(PartPlace& part, std::uint64_t at);
    void copyPlaced(PartPlace& part);
    // What was written through, flushed first: the whole's own bytes, or all of a part's.
    std::uint64_t flushedSize();
    // The whole: what it writes next goes after the parts placed in it, which end at `end`.
    void resumeAt(std::uint64_t end);
    // Flushes, closes and renames onto the target; throws DxfError(Write).
    void commit(Durability durability = Durability::Renamed);

private:
    void flush();
    void writeThrough(std::string_view bytes);
    void copyRange(int from, std::uint64_t offset, std::uint64_t bytes, std::uint64_t to);
    void discard();
    void openNamed();    // sets m_fd, or leaves it -1 with errno set
    void nameUnnamed();  // links the unnamed file to the target, replacing an older one

    std::string m_target;
    std::string m_temporary;  // the named temporary file; empty while the file is unnamed
    int m_fd = -1;
    std::vector<char> m_buffer;  // sized once; m_used bytes of it wait to be written
    std::size_t m_used = 0;
    std::uint64_t m_written = 0;   // through m_fd, or (a part) through both files
    PartPlace* m_place = nullptr;  // a part's, else none
    std::uint64_t m_inPlaceFrom = PartPlace::kUnplaced;  // where a placed part writes next
};

}  // namespace lintrel

#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "InputFile.h"

namespace lintrel {

// Reads a drawing line by line with one reused buffer. A line ends at CR LF, a lone CR or a lone
// LF; the line end is not part of the line. Bytes are never re-encoded.
class DxfLineReader {
public:
    // Throws DxfError(Open) when the file cannot be opened.
    explicit DxfLineReader(std::string path);
    // Reads a file opened elsewhere from a byte offset on, counting lines from there.
    DxfLineReader(const InputFile& file, std::uint64_t start);

    // True when every line has been read.
    bool atEnd();
    // The next line, valid until the next read; throws DxfError(Damaged) at the end of the file.
    std::string_view readLine() {
        // Inline for the usual case: a line end found in the buffer that is no CR at its very end.
        if (m_nextEnd < m_lineEndCount) {
            std::size_t end = m_lineEnds[m_nextEnd];
            const char* data = m_buffer.data();
            if (data[end] == '\n' || end + 1 < m_end) {
                bool isCrLf = data[end] == '\n' && end > m_begin && data[end - 1] == '\r';
                std::string_view line(data + m_begin, end - m_begin - (isCrLf ? 1 : 0));
                m_begin = end + 1;
                ++m_nextEnd;
                m_otherLineEnds += isCrLf ? 0 : 1;
                ++m_lineNumber;
                return line;
            }
        }
        return readLineAcrossBuffers();
    }
    // Reads lines two at a time, as the pairs of a group code and its value, and hands each pair to
    // `onPair(code, value)` until it returns false. The views hold until the next read; `onPair`
    // may ask where they lie but must not read. The usual pair, both line ends found in the buffer,
    // is read with the reader's position in registers: stores to the members after every line
    // were a third of reading a record.
    template <class OnPair>
    void readPairs(OnPair&& onPair) {
        for (;;) {
            // In locals too what `onPair` cannot change, or each of its stores would make them be
            // read again.
            const char* data = m_buffer.data();
            const std::uint32_t* lineEnds = m_lineEnds.get();
            const std::size_t lineEndCount = m_lineEndCount;
            const std::size_t bufferEnd = m_end;
            std::size_t begin = m_begin;
            std::size_t next = m_nextEnd;
            long crLfs = 0;
            bool goesOn = true;
            while (goesOn && next + 2 <= lineEndCount) {
                const std::size_t codeEnd = lineEnds[next];
                const std::size_t valueEnd = lineEnds[next + 1];
                if (data[valueEnd] != '\n' && valueEnd + 1 == bufferEnd) {
                    break;  // a CR at the end of the buffer: the next read tells what follows
                }
                const bool codeInCrLf =
                    data[codeEnd] == '\n' && codeEnd > begin && data[codeEnd - 1] == '\r';
                const bool valueInCrLf =
                    data[valueEnd] == '\n' && data[valueEnd - 1] == '\r' && valueEnd > codeEnd + 1;
                const std::string_view code(data + begin, codeEnd - begin - (codeInCrLf ? 1 : 0));
                const std::string_view value(data + codeEnd + 1,
                                             valueEnd - codeEnd - 1 - (valueInCrLf ? 1 : 0));
                begin = valueEnd + 1;
                next += 2;
                crLfs += (codeInCrLf ? 1 : 0) + (valueInCrLf ? 1 : 0);
                goesOn = onPair(code, value);
            }
            const auto linesRead = static_cast<long>(next - m_nextEnd);
            m_lineNumber += linesRead;
            m_otherLineEnds += linesRead - crLfs;
            m_begin = begin;
            m_nextEnd = next;
            if (!goesOn) {
                return;
            }
            // Across buffers: the code line stays pinned while the value's read may move it.
            const std::string_view code = readLine();
            const bool wasPinned = m_isPinned;
            if (!wasPinned) {
                m_pin = static_cast<std::size_t>(code.data() - m_buffer.data());
                m_isPinned = true;
            }
            const std::size_t codeAt = pinnedOffsetOf(code);
            const std::string_view value = readLine();
            m_isPinned = wasPinned;
            if (!onPair(std::string_view(pinnedBase() + codeAt, code.size()), value)) {
                return;
            }
        }
    }
    // How many lines have been read so far.
    long lineNumber() const { return m_lineNumber; }
    // How many bytes of the file have been read so far, and how many it held when opened.
    std::uint64_t position() const { return m_bufferOffset + m_begin; }
    std::uint64_t size() const { return m_file->size(); }
    // Where a line just read starts in the file.
    std::uint64_t offsetOf(std::string_view line) const {
        return m_bufferOffset + static_cast<std::uint64_t>(line.data() - m_buffer.data());
    }
    // True while every line read so far ended in CR LF: the file reads back as it would be written.
    bool endsAllInCrLf() const { return m_otherLineEnds == 0; }

    // Keeps every line read from now on in the buffer until unpin(), so a record's lines need not
    // be copied. Lines are then found by their offset from pinnedBase(), which holds until the
    // next read (a read may move the buffer).
    void pin() {
        m_pin = m_begin;
        m_isPinned = true;
    }
    void unpin() { m_isPinned = false; }
    std::size_t pinnedOffsetOf(std::string_view line) const {
        return static_cast<std::size_t>(line.data() - pinnedBase());
    }
    const char* pinnedBase() const { return m_buffer.data() + m_pin; }
    const std::string& path() const { return m_file->path(); }
    const InputFile& file() const { return *m_file; }

private:
    std::string_view readLineAcrossBuffers();
    bool fill();
    void indexLineEnds(std::size_t from);

    std::optional<InputFile> m_ownFile;
    const InputFile* m_file;
    std::vector<char> m_buffer;
    std::size_t m_begin = 0;  // first unread byte
    std::size_t m_end = 0;    // end of the bytes read from the file
    // Where the lines of [m_begin, m_end) end, found a buffer at a time: each LF (after its CR
    // when the line ends in CR LF), and each CR that no LF follows (yet: one at the end of the
    // buffer is noted until the next read tells). Finding them line by line cost a mispredicted
    // branch per line.
    std::unique_ptr<std::uint32_t[]> m_lineEnds;
    std::size_t m_lineEndRoom = 0;
    std::size_t m_lineEndCount = 0;
    std::size_t m_nextEnd = 0;
    std::size_t m_pin = 0;  // the first byte of the pinned lines
    bool m_isPinned = false;
    bool m_eof = false;
    long m_lineNumber = 0;
    long m_otherLineEnds = 0;  // lines that ended in a lone CR or LF, or in the end of the file
    std::uint64_t m_bufferOffset = 0;  // the file offset of m_buffer[0]
};

}  // namespace lintrel

#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "InputFile.h"

namespace lintrel {

// Reads a file forward in large chunks, handing out stretches of it by their offsets: long
// stretches are copied through it without looking for a single line end.
class ForwardReader {
public:
    explicit ForwardReader(InputFile& file);

    // The bytes [offset, offset + length), valid until the next call. Bytes before the offset of
    // an earlier call may have been let go. Throws DxfError(Damaged) when the file ends before.
    std::string_view bytes(std::uint64_t offset, std::size_t length);

private:
    InputFile& m_file;
    std::vector<char> m_buffer;
    std::uint64_t m_start = 0;  // the file offset of m_buffer[0]
    std::size_t m_used = 0;
};

}  // namespace lintrel

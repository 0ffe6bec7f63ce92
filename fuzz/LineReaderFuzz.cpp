// The line reader on any bytes: every byte is either in a line or in its line end, lines come in
// order, and the reader ends exactly at the end of the file.
#include <cstdlib>

#include "DxfError.h"
#include "DxfLineReader.h"
#include "FuzzBytes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lintrel;
    fuzz::MemoryFile file({reinterpret_cast<const char*>(data), size});
    DxfLineReader reader(file.path());
    std::uint64_t previousEnd = 0;
    long lines = 0;
    while (!reader.atEnd()) {
        std::string_view line = reader.readLine();
        std::uint64_t start = reader.offsetOf(line);
        // Only line ends lie between one line and the next: one CR LF, or a lone CR or LF.
        std::uint64_t gap = start - previousEnd;
        if (start < previousEnd || gap > 2 || (lines == 0 && gap != 0)) {
            std::abort();
        }
        if (line.find_first_of("\r\n") != std::string_view::npos ||
            std::string_view(reinterpret_cast<const char*>(data) + start, line.size()) != line) {
            std::abort();
        }
        previousEnd = start + line.size();
        ++lines;
        if (reader.lineNumber() != lines || reader.position() < previousEnd) {
            std::abort();
        }
    }
    if (reader.position() != size || size - previousEnd > 2) {
        std::abort();
    }
    try {
        reader.readLine();
        std::abort();  // reading past the end must be refused
    } catch (const DxfError& error) {
        if (error.kind() != DxfError::Kind::Damaged) {
            std::abort();
        }
    }
    return 0;
}

#pragma once

#include <optional>
#include <string_view>

namespace lintrel {

// A group code line read as every DXF reader reads it: the integer it holds, blanks and tabs
// around it ignored, leading zeros allowed ("  0", "0", "000", " 10\t"); false when the line holds
// no integer of an int's range.
[[nodiscard]] bool readGroupCodeSlowly(std::string_view line, int& code);

// The same, inline for the standard padding of three columns right-aligned ("  0", " 10", "100"),
// which nearly every code line has: the entity section reads one per pair.
[[nodiscard]] inline bool readGroupCode(std::string_view line, int& code) {
    if (line.size() == 3) {
        const auto digit = [](char c) { return c >= '0' && c <= '9'; };
        const char a = line[0];
        const char b = line[1];
        const char c = line[2];
        if (digit(c) && a == ' ' && b == ' ') {
            code = c - '0';
            return true;
        }
        if (digit(c) && digit(b) && b != '0' && a == ' ') {
            code = (b - '0') * 10 + (c - '0');
            return true;
        }
        if (digit(c) && digit(b) && digit(a) && a != '0') {
            code = (a - '0') * 100 + (b - '0') * 10 + (c - '0');
            return true;
        }
    }
    return readGroupCodeSlowly(line, code);
}

// The same, nothing when the line holds no group code.
[[nodiscard]] inline std::optional<int> groupCode(std::string_view line) {
    int code = 0;
    return readGroupCode(line, code) ? std::optional<int>(code) : std::nullopt;
}

// Whether a code line holds this group code; group 0 starts a record, a section or the end.
[[nodiscard]] inline bool isGroupCode(std::string_view line, int code) {
    int read = 0;
    return readGroupCode(line, read) && read == code;
}

}  // namespace lintrel

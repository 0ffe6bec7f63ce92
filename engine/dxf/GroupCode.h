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
        // Worked out without a branch per column: which padding a line has changes from one
        // code line to the next.
        const auto digitOf = [](char c) { return static_cast<unsigned>(c) - '0'; };
        const unsigned hundreds = digitOf(line[0]);
        const unsigned tens = digitOf(line[1]);
        const unsigned ones = digitOf(line[2]);
        const bool isBlankA = line[0] == ' ';
        const bool isOne = ones <= 9 && isBlankA && line[1] == ' ';
        const bool isTwo = ones <= 9 && tens - 1 <= 8 && isBlankA;
        const bool isThree = ones <= 9 && tens <= 9 && hundreds - 1 <= 8;
        if (isOne || isTwo || isThree) {
            code = static_cast<int>(isThree ? hundreds * 100 + tens * 10 + ones
                                    : isTwo ? tens * 10 + ones
                                            : ones);
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

#pragma once

#include <string_view>

namespace lintrel {

// Whole-line comparison with a literal, written out so that the compiler compares the few bytes
// in place instead of calling memcmp once per line.
constexpr bool isLine(std::string_view line, std::string_view literal) {
    if (line.size() != literal.size()) {
        return false;
    }
    for (std::size_t i = 0; i < literal.size(); ++i) {
        if (line[i] != literal[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace lintrel

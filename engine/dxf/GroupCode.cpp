#include "GroupCode.h"

#include <charconv>

namespace lintrel {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

bool readGroupCodeSlowly(std::string_view line, int& code) {
    while (!line.empty() && isBlank(line.front())) {
        line.remove_prefix(1);
    }
    while (!line.empty() && isBlank(line.back())) {
        line.remove_suffix(1);
    }
    const char* end = line.data() + line.size();
    int value = 0;
    auto [stop, error] = std::from_chars(line.data(), end, value);
    if (line.empty() || error != std::errc() || stop != end) {
        return false;
    }
    code = value;
    return true;
}

}  // namespace lintrel

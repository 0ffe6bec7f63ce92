#include "DisplayText.h"

#include <filesystem>

namespace lintrel {
namespace {

constexpr char kSeparator = static_cast<char>(std::filesystem::path::preferred_separator);

// The search skips the last four characters (the extension), so a file name shorter than four
// characters shows the end of its folder with it.
constexpr std::size_t kSkippedAtEnd = 4;

}  // namespace

std::string displayText(std::string_view path) {
    std::size_t separator = std::string_view::npos;
    if (path.size() > kSkippedAtEnd) {
        separator = path.rfind(kSeparator, path.size() - kSkippedAtEnd - 1);
    }
    if (separator == std::string_view::npos) {
        return " " + std::string(path);
    }
    return " " + std::string(path.substr(separator + 1));
}

}  // namespace lintrel

#pragma once

#include <string>
#include <string_view>

namespace lintrel {

// The refusal texts for a path that cannot be read as a drawing at all; each follows the path.
inline constexpr std::string_view kMissingFile = " は、見つかりません。";
inline constexpr std::string_view kFolder = " は、フォルダです。";
inline constexpr std::string_view kUnreadableFile =
    " は、読み取りできません。読み取り権限を確認して下さい。";

// What a look at a path found: the errno of stat() (0 when it succeeded), whether it is a folder
// or a regular file, and the errno of opening a regular file for reading (0 when it opened).
struct PathLook {
    int statError = 0;
    bool isFolder = false;
    bool isRegular = false;
    int openError = 0;
};

// The refusal text for what was found, empty when the file can be read or is of another kind
// (a pipe or a device, which the version probe judges).
[[nodiscard]] std::string_view reachabilityRefusal(const PathLook& look);

// Looks at the path and gives the same.
[[nodiscard]] std::string_view reachabilityRefusal(const std::string& path);

}  // namespace lintrel

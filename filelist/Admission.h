#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "InputList.h"

namespace lintrel {

inline constexpr std::string_view kNotDxf = " は、DXFファイルではありません。";
inline constexpr std::string_view kAlreadySelected = " は、すでに選択されています。";

// Puts one path through the tests a dropped file meets (its name ends in "dxf" or "DXF", it is
// not listed yet, it exists and can be read, checkAcadVer takes it) and lists it when it passes.
// Returns the text that follows the path in the refusal message, empty when the path was listed.
[[nodiscard]] std::string_view admitPath(InputList& list, const std::string& path);

// The same for several paths in order, for front ends without message boxes: the refusal
// messages (path and text), in the order of the paths.
[[nodiscard]] std::vector<std::string> admitPaths(InputList& list,
                                                  const std::vector<std::string>& paths);

}  // namespace lintrel

#pragma once

#include <string>
#include <string_view>

namespace lintrel {

// The row text of a listed path: a blank, then what follows the last separator found from the
// fifth-last character backwards, or a blank and the whole path when there is none there.
[[nodiscard]] std::string displayText(std::string_view path);

}  // namespace lintrel

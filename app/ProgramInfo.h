#pragma once

#include <optional>
#include <ostream>
#include <span>
#include <string_view>

namespace lintrel {

// Answers --help and --version, which must work without a display: before the window's
// application starts, it prints the answer and gives the exit code; otherwise nothing.
[[nodiscard]] std::optional<int> answerProgramInfo(std::span<char* const> arguments,
                                                   std::ostream& out);

}  // namespace lintrel

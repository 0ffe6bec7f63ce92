#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace lintrel {

// Reads a whole file into bytes; a file that does not exist (nor its folder) reads as no bytes.
// Anything but a regular file (or a link to one) of at most 64 KiB is refused with an error.
[[nodiscard]] std::error_code readIfPresent(const std::filesystem::path& file, std::string& bytes);

// Replaces a file's bytes so that a crash leaves either the old or the new bytes, never a mix:
// a temporary file beside it is written, synced and renamed over it. The file keeps its
// permissions; on failure it is untouched and the temporary is gone.
[[nodiscard]] std::error_code replaceContents(const std::filesystem::path& file,
                                              std::string_view bytes);

}  // namespace lintrel

#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace lintrel {

// The first bytes of a regular file (or of the regular file a link names), at most `limit` of
// them; nothing for anything else (a folder, a FIFO, a device, a socket) and for a file that
// cannot be opened or read. It never waits for a writer and never reads past the limit.
[[nodiscard]] std::optional<std::string> readFileHead(const std::string& path, std::size_t limit);

}  // namespace lintrel

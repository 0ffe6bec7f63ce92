#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace lintrel {

// indexLineEnds() may write this many slots past the last end it notes.
inline constexpr std::size_t kLineEndSlack = 8;

// Notes where the lines of bytes[from, bytes.size()) end, as offsets into `bytes`: each LF (after
// its CR when the line ends in CR LF), and each CR no LF follows. A CR at the last byte is noted;
// whether an LF comes after it is for the caller to tell. `out` has room for
// bytes.size() - from + kLineEndSlack offsets, and `bytes` is shorter than 4 GiB. Returns how many
// ends were noted. Finding them line by line cost a mispredicted branch per line.
std::size_t indexLineEnds(std::string_view bytes, std::size_t from, std::uint32_t* out);

}  // namespace lintrel

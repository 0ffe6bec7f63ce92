#pragma once

#include <cstddef>

namespace lintrel {

// What one thread writes as it goes and another reads is kept on cache lines of its own: a line
// shared with a busy writer travels between the cores at every write.
inline constexpr std::size_t kCacheLine = 64;

}  // namespace lintrel

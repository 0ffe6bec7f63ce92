#pragma once

#include <atomic>
#include <cstdint>

#include "CacheLine.h"

namespace lintrel {

// Where a part of a copy lies in the whole, shared by the thread that writes the part and the one
// that writes the whole. The part is written into a file of its own until the whole's thread
// places it, then straight into the whole; the whole's thread copies into place what the part
// wrote into its own file, as it grows, while the part goes on.
struct PartPlace {
    static constexpr std::uint64_t kUnplaced = UINT64_MAX;

    // Where the part starts in the whole, set once by the whole's thread; its file first.
    alignas(kCacheLine) std::atomic<std::uint64_t> at{kUnplaced};
    int wholeFd = -1;
    // How much of the part its own file holds, written through: the part's thread tells it after
    // each write, its file first.
    alignas(kCacheLine) std::atomic<std::uint64_t> ownBytes{0};
    int ownFd = -1;
    // The whole's thread alone: how much of ownBytes it has copied into place.
    alignas(kCacheLine) std::uint64_t copied = 0;
};

}  // namespace lintrel

#pragma once

#include <cstdint>

namespace lintrel {

// The eleven run counters, zeroed when a run starts and accumulated over all its files.
struct RunCounters {
    std::int32_t DuplicateCount = 0;
    std::int32_t JoinCount = 0;
    std::int32_t TextDeleteCount = 0;
    std::int32_t MTextDeleteCount = 0;
    std::int32_t DimensionDeleteCount = 0;
    std::int32_t XLineDeleteCount = 0;
    std::int32_t LineTypeLineCount = 0;
    std::int32_t LineTypeCircleArcCount = 0;
    std::int32_t PointDeleteCount = 0;
    std::int32_t SizeLineCount = 0;
    std::int32_t SizeCircleArcCount = 0;

    // TOTAL: what the run removed from the drawings, as one figure.
    std::int64_t total() const {
        return std::int64_t{DuplicateCount} + JoinCount + TextDeleteCount + MTextDeleteCount +
               DimensionDeleteCount + XLineDeleteCount + LineTypeLineCount +
               LineTypeCircleArcCount + PointDeleteCount + SizeLineCount + SizeCircleArcCount;
    }
};

}  // namespace lintrel

#pragma once

#include <cstdint>

namespace lintrel {

// The eleven run counters: what a pass, a file or a whole run removed, rule by rule (their labels,
// captions and keys are in the run's CounterTable.h).
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

    friend bool operator==(const RunCounters&, const RunCounters&) = default;
};

}  // namespace lintrel

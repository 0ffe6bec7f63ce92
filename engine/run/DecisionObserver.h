#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace lintrel {

// What a run decided for one entity record, one value per counter it adds to (text and blank
// text share the TEXT counter, MTEXT and blank MTEXT the MTEXT one).
enum class Verdict : std::uint8_t {
    Kept,
    Text,
    MText,
    Dimension,
    XLine,
    LineTypeLine,
    LineTypeCircleArc,
    Point,
    SizeLine,
    SizeCircleArc,
    Duplicate,   // a LINE removed because another lies on it
    Joined,      // a LINE piece taken into another that stays
    Lengthened,  // a LINE that stays, stretched over the pieces it took in
};

// Told of every record a run removes or lengthens, by the offset of its "  0" line, so that a
// preview shows what the run itself decided. Records nobody is told of are kept.
class DecisionObserver {
public:
    virtual ~DecisionObserver() = default;
    virtual void startFile(const std::string& path) = 0;
    virtual void decided(std::uint64_t recordOffset, Verdict verdict) = 0;
    // A lengthened LINE's ends after the join: x1, y1, x2, y2.
    virtual void lengthened(std::uint64_t recordOffset, const std::array<double, 4>& ends) = 0;
};

}  // namespace lintrel

// The fast line analysis against the literal one on tables decoded from the fuzzer's bytes:
// different verdicts abort, so the fuzzer hunts for disagreements as for crashes. The bytes
// choose among values on a coarse grid and a tolerance apart, where the two are likeliest to part.
#include <cstdlib>
#include <iostream>

#include "FuzzBytes.h"
#include "Numbers.h"
#include "RandomTables.h"

namespace {

using namespace lintrel;
using fuzz::FuzzBytes;

// Small tables meet every rule in many combinations and leave time for many more of them.
constexpr std::size_t kMostLines = 120;

template <class T, std::size_t N>
T pick(FuzzBytes& bytes, const T (&options)[N]) {
    return options[bytes.below(N)];
}

LineRules decodeRules(FuzzBytes& bytes) {
    // Single-precision values widened, and exact doubles at the same boundaries.
    const double offsets[] = {0,   0.05F, 0.1F, 0.25F, 0.5F,   0.7F, 1.0F, 2.0F,
                              0.1, 0.7,   0.3,  0.05,  0.0001, 0.1F, 0.5F, 1.0F};
    const double gaps[] = {0, 0.1F, 0.5F, 1.0F, 1.9F, 2.0F, 3.0F, 0.5, 1.5, 0.0001};
    const double corrections[] = {0, 0.01, 0.05, 0.1, 0.5, 0.0001};
    const std::uint8_t switches = bytes.byte();
    LineRules rules;
    rules.removeDuplicates = (switches & 1) != 0;
    rules.joinLines = (switches & 2) != 0;
    rules.sameLayerOnly = (switches & 4) != 0;
    rules.sameLineTypeOnly = (switches & 8) != 0;
    rules.DuplicateOffset = pick(bytes, offsets);
    rules.JoinOffset = pick(bytes, offsets);
    rules.JoinGap = pick(bytes, gaps);
    rules.LineCorrection = pick(bytes, corrections);
    return rules;
}

// A grid point (high four bits) nudged by a small amount (low four bits).
double coordinate(FuzzBytes& bytes) {
    const double nudges[] = {0,   0,   0,      0.05, 0.1, 0.2, 0.3,    0.4,
                             0.5, 0.7, 0.0001, -0.1, 1.9, 2.0, 0.0049, -0.0001};
    const std::uint8_t value = bytes.byte();
    return 0.5 * (value >> 4) + nudges[value & 15];
}

testing::DrawnLine decodeLine(FuzzBytes& bytes, const std::vector<testing::DrawnLine>& earlier) {
    const char* layers[] = {"0", "A", "a", "0"};
    const char* lineTypes[] = {"", "DASHED", "dashed", ""};
    const std::uint8_t kind = bytes.byte();
    const std::uint8_t names = bytes.byte();
    const double a = coordinate(bytes);
    const double b = coordinate(bytes);
    const double c = coordinate(bytes);
    const double d = coordinate(bytes);
    auto named = [&](double x1, double y1, double x2, double y2) {
        return testing::DrawnLine(roundFixed(x1, 4), roundFixed(y1, 4), roundFixed(x2, 4),
                                  roundFixed(y2, 4), layers[names & 3],
                                  lineTypes[(names >> 2) & 3]);
    };
    switch (kind % 8) {
        case 0:  // the same as an earlier line, maybe drawn the other way
            if (!earlier.empty()) {
                testing::DrawnLine copy = earlier[(names >> 4) % earlier.size()];
                if ((kind & 8) != 0) {
                    std::swap(copy.x1, copy.x2);
                    std::swap(copy.y1, copy.y2);
                }
                return copy;
            }
            return named(a, b, c, b);
        case 1:
        case 2:
            return named(a, b, c, b);  // horizontal
        case 3:
        case 4:
            return named(a, b, a, c);  // vertical
        case 5:
            return named(a, b, a + d / 100, c);  // nearly vertical: the correction decides
        case 6: {
            const double slopes[] = {0.5, 1, -1, 2, 1.00004, -0.49996, 0, 3};
            const double slope = slopes[(kind >> 3) & 7];
            return named(a, slope * a + d / 10, c, slope * c + d / 10);  // a slanted family
        }
        default:
            return named(a, b, c, d);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzBytes bytes(data, size);
    testing::RandomCase decoded;
    decoded.rules = decodeRules(bytes);
    const std::uint8_t stop = bytes.byte();
    while (!bytes.isEmpty() && decoded.lines.size() < kMostLines) {
        decoded.lines.push_back(decodeLine(bytes, decoded.lines));
    }
    if (decoded.lines.empty()) {
        return 0;
    }
    decoded.stopAt = stop < 32 ? 1 + stop % static_cast<int>(decoded.lines.size()) : 0;
    static testing::AnalysisComparison comparison;
    if (auto difference = comparison.compare(decoded); !difference.empty()) {
        std::cerr << "the fast and the literal analysis differ: " << difference << '\n'
                  << testing::describe(decoded);
        std::abort();
    }
    return 0;
}

#include <gtest/gtest.h>

#include "RandomTables.h"

namespace lintrel {
namespace {

// Enough cases to meet every rule in many combinations, few enough for a few seconds in CI;
// lintrel_analysis_soak runs millions.
constexpr std::uint64_t kSmallCases = 15000;
constexpr std::uint64_t kLargeCases = 200;

TEST(FastAnalysis, AgreesWithTheReferenceOnSmallCollidingTables) {
    testing::AnalysisComparison comparison;
    for (std::uint64_t seed = 1; seed <= kSmallCases; ++seed) {
        const auto randomCase = testing::randomCase(seed, testing::CaseSize::Small);
        ASSERT_EQ(comparison.compare(randomCase), "") << "seed " << seed << "\n"
                                                      << testing::describe(randomCase);
    }
}

TEST(FastAnalysis, AgreesWithTheReferenceOnLongRunsOfCandidates) {
    testing::AnalysisComparison comparison;
    for (std::uint64_t seed = 1; seed <= kLargeCases; ++seed) {
        const auto randomCase = testing::randomCase(seed, testing::CaseSize::Large);
        ASSERT_EQ(comparison.compare(randomCase), "") << "seed " << seed << "\n"
                                                      << testing::describe(randomCase);
    }
}

}  // namespace
}  // namespace lintrel

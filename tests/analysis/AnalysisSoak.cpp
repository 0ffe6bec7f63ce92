// lintrel_analysis_soak CASES [FIRST_SEED]: compares the fast analysis with the reference on
// CASES random colliding tables (nine small ones to every large one) and stops at the first
// difference, printing the case so that it can be turned into a test.

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "RandomTables.h"

namespace {

bool readCount(const char* text, std::uint64_t& value) {
    const std::string_view digits(text);
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return error == std::errc() && end == digits.data() + digits.size();
}

}  // namespace

int main(int argc, char** argv) {
    std::uint64_t cases = 0;
    std::uint64_t firstSeed = 1;
    if (argc < 2 || argc > 3 || !readCount(argv[1], cases) ||
        (argc == 3 && !readCount(argv[2], firstSeed))) {
        std::fprintf(stderr, "usage: %s CASES [FIRST_SEED]\n", argv[0]);
        return 2;
    }
    using lintrel::testing::CaseSize;
    lintrel::testing::AnalysisComparison comparison;
    for (std::uint64_t seed = firstSeed; seed < firstSeed + cases; ++seed) {
        const CaseSize size = seed % 10 == 0 ? CaseSize::Large : CaseSize::Small;
        const auto randomCase = lintrel::testing::randomCase(seed, size);
        if (const auto difference = comparison.compare(randomCase); !difference.empty()) {
            std::printf("seed %llu: %s\n%s", static_cast<unsigned long long>(seed),
                        difference.c_str(), lintrel::testing::describe(randomCase).c_str());
            return 1;
        }
        if ((seed - firstSeed + 1) % 100000 == 0) {
            const unsigned long long agreed = seed - firstSeed + 1;
            std::printf("%llu cases agree\n", agreed);
            std::fflush(stdout);
        }
    }
    std::printf("all %llu cases agree (seeds %llu to %llu)\n",
                static_cast<unsigned long long>(cases), static_cast<unsigned long long>(firstSeed),
                static_cast<unsigned long long>(firstSeed + cases - 1));
    return 0;
}

// Reading a drawing's coordinates: lintrel's rounded reading of the numbers a LINE holds, against
// the standard library's std::from_chars on the same texts in the same run.
#include <benchmark/benchmark.h>

#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "Numbers.h"

namespace {

// Coordinates as drawings write them: up to 20,000 with none to three decimals.
const std::vector<std::string>& coordinates() {
    static const std::vector<std::string> texts = [] {
        constexpr int kCount = 1'000'000;
        std::mt19937 random(7);
        std::vector<std::string> made;
        made.reserve(kCount);
        for (int k = 0; k < kCount; ++k) {
            const int decimals = static_cast<int>(random() % 4);
            const double value = static_cast<double>(random() % 2'000'000) / 100.0;
            std::array<char, 32> text{};
            std::snprintf(text.data(), text.size(), "%.*f", decimals, value);
            made.emplace_back(text.data());
        }
        return made;
    }();
    return texts;
}

void fromChars(benchmark::State& state) {
    for (auto _ : state) {
        for (const auto& text : coordinates()) {
            double value = 0;
            std::from_chars(text.data(), text.data() + text.size(), value);
            benchmark::DoNotOptimize(value);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(coordinates().size()));
}
BENCHMARK(fromChars)->Unit(benchmark::kMillisecond);

void roundedNumber(benchmark::State& state) {
    for (auto _ : state) {
        for (const auto& text : coordinates()) {
            double value = 0;
            benchmark::DoNotOptimize(lintrel::readRoundedNumber(text, value));
            benchmark::DoNotOptimize(value);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(coordinates().size()));
}
BENCHMARK(roundedNumber)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

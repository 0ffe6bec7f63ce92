// The line analysis on the drawings that used to take hours. Every case is set against copying the
// realistic table of 1,000,000 rows, measured in the same run, and the literal scan against the
// fast analysis at 20,000 lines; both kinds of ratio are printed at the end.
//
//   lintrel_analysis_bench [--benchmark_filter=REGEX ...]   the cases
//   lintrel_analysis_bench --once CASE                      one fast analysis of CASE (a table
//       name such as realistic_1M): the peak resident memory of the process and the longest
//       stretch of work between two chances for the window to breathe

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "LineAnalysis.h"
#include "analysis_tables.h"

namespace {

using lintrel::LineRules;
using lintrel::LineTable;
using lintrel::RunCounters;
using namespace lintrel::bench;

constexpr const char* kBaseline = "baseline/copy_realistic_1M";
constexpr const char* kReference = "reference/realistic_20k";
constexpr const char* kFastAtReferenceSize = "fast/realistic_20k";

// Check7, Check9, Check10 and Check11 ticked, with tolerances a user would type.
LineRules benchRules() {
    LineRules rules;
    rules.removeDuplicates = true;
    rules.joinLines = true;
    rules.sameLayerOnly = true;
    rules.sameLineTypeOnly = true;
    rules.DuplicateOffset = 0.1F;
    rules.JoinOffset = 0.1F;
    rules.JoinGap = 0.5F;
    rules.LineCorrection = 0.01;
    return rules;
}

class QuietObserver : public lintrel::RowObserver {
public:
    void beforeRow(int, const RunCounters&) override {}
};

// Shows nothing either, but remembers the longest stretch of work between two chances for the
// window to breathe, in processor time so that other programs on the machine do not count.
class StretchObserver : public lintrel::RowObserver {
public:
    void beforeRow(int, const RunCounters&) override { breathe(); }
    void duringRow(int, const RunCounters&) override { breathe(); }
    double longestStretchMs() const {
        return 1000.0 * static_cast<double>(m_longest) / CLOCKS_PER_SEC;
    }

private:
    void breathe() {
        const std::clock_t now = std::clock();
        m_longest = std::max(m_longest, now - m_last);
        m_last = now;
    }
    std::clock_t m_last = std::clock();
    std::clock_t m_longest = 0;
};

struct TableCase {
    const char* name;
    std::function<LineTable()> make;
};

const std::vector<TableCase>& tableCases() {
    static const std::vector<TableCase> cases = {
        {"realistic_1M", [] { return realisticTable(1'000'000); }},
        {"one_line_1M", [] { return oneLineTable(1'000'000); }},
        {"grid_1000x1000", [] { return gridTable(1000); }},
        {"identical_horizontal_1M",
         [] { return identicalTable(1'000'000, Direction::Horizontal); }},
        {"identical_vertical_1M", [] { return identicalTable(1'000'000, Direction::Vertical); }},
        {"identical_slanted_1M", [] { return identicalTable(1'000'000, Direction::Slanted); }},
        {"slanted_pieces_200k", [] { return slantedTable(200'000); }},
        {"realistic_20k", [] { return realisticTable(20'000); }},
    };
    return cases;
}

// Each table is made once, when a benchmark first needs it.
const LineTable& table(const std::string& name) {
    static std::map<std::string, LineTable> made;
    if (auto found = made.find(name); found != made.end()) {
        return found->second;
    }
    for (const TableCase& c : tableCases()) {
        if (name == c.name) {
            return made.emplace(name, c.make()).first->second;
        }
    }
    std::fprintf(stderr, "no table named %s\n", name.c_str());
    std::exit(2);
}

using Analysis = void (*)(LineTable&, const LineRules&, RunCounters&, lintrel::RowObserver&);

// The fast analysis with as many threads as lintrel-cli takes by default.
void analyseFast(LineTable& table, const LineRules& rules, RunCounters& counters,
                 lintrel::RowObserver& observer) {
    lintrel::analyseLines(table, rules, counters, observer);
}

// Tables are not copyable (their rows never move): copy row by row.
LineTable copyOf(const LineTable& original) {
    LineTable copy;
    copy.names() = original.names();
    for (int n = 1; n <= original.size(); ++n) {
        copy.append() = original[n];
    }
    return copy;
}

void timeAnalysis(benchmark::State& state, const std::string& name, Analysis analyse) {
    const LineTable& original = table(name);
    const LineRules rules = benchRules();
    LineTable copy;
    RunCounters counters;
    for (auto _ : state) {
        state.PauseTiming();
        copy = copyOf(original);
        counters = {};
        QuietObserver observer;
        state.ResumeTiming();
        analyse(copy, rules, counters, observer);
    }
    state.counters["rows"] = original.size();
    state.counters["joins"] = counters.JoinCount;
    state.counters["duplicates"] = counters.DuplicateCount;
}

void timeCopy(benchmark::State& state) {
    const LineTable& original = table("realistic_1M");
    for (auto _ : state) {
        LineTable copy = copyOf(original);
        benchmark::DoNotOptimize(copy);
    }
}

void registerBenchmarks() {
    benchmark::RegisterBenchmark(kBaseline, timeCopy)->Iterations(5)->Unit(benchmark::kMillisecond);
    for (const TableCase& c : tableCases()) {
        const std::string name = c.name;
        benchmark::RegisterBenchmark(("fast/" + name).c_str(), timeAnalysis, name, analyseFast)
            ->Iterations(3)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark(kReference, timeAnalysis, std::string("realistic_20k"),
                                 lintrel::analyseLinesReference)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
}

// The console report, remembering each case's time per iteration for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (!run.error_occurred && run.iterations > 0) {
                m_seconds[run.run_name.function_name] =
                    run.real_accumulated_time / static_cast<double>(run.iterations);
            }
        }
    }

    void printRatios() const {
        if (const auto baseline = m_seconds.find(kBaseline); baseline != m_seconds.end()) {
            std::printf("\nTime of each case as a multiple of %s (%.1f ms in this run):\n",
                        kBaseline, baseline->second * 1e3);
            for (const auto& [name, seconds] : m_seconds) {
                std::printf("  %-36s %8.2f\n", name.c_str(), seconds / baseline->second);
            }
        }
        const auto reference = m_seconds.find(kReference);
        const auto fast = m_seconds.find(kFastAtReferenceSize);
        if (reference != m_seconds.end() && fast != m_seconds.end()) {
            std::printf("\nSpeed-up over the reference at 20,000 lines: %.0f times\n",
                        reference->second / fast->second);
        }
    }

private:
    std::map<std::string, double> m_seconds;
};

int analyseOnce(const std::string& name) {
    for (const TableCase& c : tableCases()) {
        if (name != c.name) {
            continue;
        }
        LineTable analysed = c.make();
        RunCounters counters;
        StretchObserver observer;
        lintrel::analyseLines(analysed, benchRules(), counters, observer);
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf(
            "%s: %d rows; peak resident memory %.1f MB (table and analysis); longest "
            "stretch without a breath %.1f ms of processor time\n",
            c.name, analysed.size(), static_cast<double>(usage.ru_maxrss) / 1024.0,
            observer.longestStretchMs());
        return 0;
    }
    std::fprintf(stderr, "no table named %s\n", name.c_str());
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--once") == 0) {
        return analyseOnce(argv[2]);
    }
    registerBenchmarks();
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    return 0;
}

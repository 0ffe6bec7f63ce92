#include "RandomTables.h"

#include <random>
#include <sstream>

#include "Numbers.h"
#include "RunInterrupted.h"

namespace lintrel::testing {
namespace {

class CaseMaker {
public:
    CaseMaker(std::uint64_t seed, CaseSize size) : m_random(seed), m_size(size) {}

    RandomCase make() {
        RandomCase made;
        made.rules = makeRules();
        const int count = m_size == CaseSize::Small ? between(1, 40) : between(100, 400);
        for (int n = 0; n < count; ++n) {
            made.lines.push_back(makeLine(made.lines));
        }
        made.stopAt = chance(0.1) ? between(1, count) : 0;
        return made;
    }

private:
    int between(int low, int high) { return std::uniform_int_distribution(low, high)(m_random); }
    bool chance(double p) { return std::bernoulli_distribution(p)(m_random); }
    template <class T, std::size_t N>
    T pick(const T (&options)[N]) {
        return options[between(0, static_cast<int>(N) - 1)];
    }

    LineRules makeRules() {
        // Single-precision values widened, and exact doubles at the same boundaries.
        const double offsets[] = {0,   0.05F, 0.1F, 0.25F, 0.5F, 0.7F, 1.0F, 2.0F,
                                  0.1, 0.7,   0.3,  0.05,  0,    0.1F, 0.5F, 1.0F};
        const double gaps[] = {0, 0.1F, 0.5F, 1.0F, 1.9F, 2.0F, 3.0F, 0.5, 1.5};
        const double corrections[] = {0, 0, 0, 0.01, 0.05, 0.1};
        LineRules rules;
        rules.removeDuplicates = chance(0.8);
        rules.joinLines = chance(0.8);
        rules.sameLayerOnly = chance(0.4);
        rules.sameLineTypeOnly = chance(0.4);
        rules.DuplicateOffset = pick(offsets);
        rules.JoinOffset = pick(offsets);
        rules.JoinGap = pick(gaps);
        rules.LineCorrection = pick(corrections);
        return rules;
    }

    // Where a line lies across: a few grid values, some of them a tolerance away.
    double across() {
        const double bases[] = {0, 1, 2, 5};
        const double nudges[] = {0, 0, 0, 0.05, 0.1, 0.2, 0.3, 0.4, 0.5, 0.7, 0.0001, -0.1};
        const int baseCount = m_size == CaseSize::Small ? 4 : 2;
        return bases[between(0, baseCount - 1)] + (chance(0.5) ? 0 : pick(nudges));
    }

    // An end along a line: a coarse grid, so that ends coincide and pieces are equal.
    double along() {
        const double offGrid[] = {0.1, 0.5, 1.9, 2.0, 0.0001};
        const int cells = m_size == CaseSize::Small ? 20 : 60;
        const double end = 0.5 * between(0, cells);
        return chance(0.9) ? end : end + pick(offGrid);
    }

    DrawnLine named(double x1, double y1, double x2, double y2) {
        const char* layers[] = {"0", "0", "0", "A", "a"};
        const char* lineTypes[] = {"", "", "", "DASHED", "dashed"};
        return {roundFixed(x1, 4), roundFixed(y1, 4), roundFixed(x2, 4),
                roundFixed(y2, 4), pick(layers),      pick(lineTypes)};
    }

    DrawnLine makeLine(const std::vector<DrawnLine>& earlier) {
        const int kind = between(0, 99);
        if (kind < 6 && !earlier.empty()) {
            DrawnLine copy =
                earlier[static_cast<std::size_t>(between(0, static_cast<int>(earlier.size()) - 1))];
            if (chance(0.5)) {
                std::swap(copy.x1, copy.x2);
                std::swap(copy.y1, copy.y2);
            }
            return copy;
        }
        if (kind < 40) {
            const double y = across();
            return named(along(), y, along(), y);
        }
        if (kind < 74) {
            const double x = across();
            return named(x, along(), x, along());
        }
        if (kind < 80) {
            const double x = along();
            const double y = along();
            return named(x, y, x, y);
        }
        if (kind < 88) {
            // Nearly straight: the line correction decides which end moves.
            const double drifts[] = {0.005, 0.01, 0.05, 0.1, -0.005, -0.05};
            const double a = across();
            return chance(0.5) ? named(a, along(), a + pick(drifts), along())
                               : named(along(), a, along(), a + pick(drifts));
        }
        // A slanted family: slopes and intercepts that round to equal values.
        const double slopes[] = {0.5, 1, -1, 2, 1.00004, -0.49996};
        const double intercepts[] = {0, 0.03, -0.02, 0.04, 0.06, 1};
        const double slope = pick(slopes);
        const double intercept = pick(intercepts);
        const double x1 = along();
        const double x2 = along();
        return named(x1, slope * x1 + intercept, x2, slope * x2 + intercept);
    }

    std::mt19937_64 m_random;
    CaseSize m_size;
};

struct AnalysisRun {
    RunCounters counters;
    std::vector<int> turns;
    bool finished = false;
};

AnalysisRun run(const RandomCase& randomCase, Analysis analyse, LineTable& table) {
    fillTable(table, randomCase.lines, randomCase.rules.LineCorrection);
    AnalysisRun result;
    RecordingObserver observer(randomCase.stopAt);
    try {
        analyse(table, randomCase.rules, result.counters, observer);
        result.finished = true;
    } catch (const RunInterrupted&) {
        result.finished = false;
    }
    result.turns = observer.rows;
    return result;
}

// Shared turns announce other rows and stop elsewhere: only the finished outcome is compared.
std::string compareInParallel(const RandomCase& randomCase, const AnalysisRun& expected,
                              const LineTable& expectedTable, LineTable& table) {
    RandomCase unstopped = randomCase;
    unstopped.stopAt = 0;
    const AnalysisRun actual = run(unstopped, analyseShared, table);
    if (!actual.finished) {
        return "in parallel: the analysis did not finish";
    }
    if (randomCase.stopAt != 0) {
        return {};  // the reference stopped early: nothing finished to compare with
    }
    if (auto difference = firstDifference(expectedTable, table); !difference.empty()) {
        return "in parallel: " + difference;
    }
    if (actual.counters.DuplicateCount != expected.counters.DuplicateCount ||
        actual.counters.JoinCount != expected.counters.JoinCount) {
        return "in parallel: the counters differ";
    }
    return {};
}

}  // namespace

RandomCase randomCase(std::uint64_t seed, CaseSize size) {
    return CaseMaker(seed, size).make();
}

std::string describe(const RandomCase& randomCase) {
    const LineRules& rules = randomCase.rules;
    std::ostringstream text;
    text.precision(17);
    text << "rules: duplicates " << rules.removeDuplicates << " joins " << rules.joinLines
         << " sameLayer " << rules.sameLayerOnly << " sameLineType " << rules.sameLineTypeOnly
         << " DuplicateOffset " << rules.DuplicateOffset << " JoinOffset " << rules.JoinOffset
         << " JoinGap " << rules.JoinGap << " LineCorrection " << rules.LineCorrection
         << "; stop at " << randomCase.stopAt << "\nlines:\n";
    for (const DrawnLine& line : randomCase.lines) {
        text << "    {" << line.x1 << ", " << line.y1 << ", " << line.x2 << ", " << line.y2
             << ", \"" << line.layer << "\", \"" << line.lineType << "\"},\n";
    }
    return text.str();
}

std::string AnalysisComparison::compare(const RandomCase& randomCase) {
    const AnalysisRun expected = run(randomCase, analyseLinesReference, m_expected);
    const AnalysisRun actual = run(randomCase, analyseFast, m_actual);
    if (actual.turns != expected.turns) {
        return "the rows announced differ";
    }
    if (actual.finished != expected.finished) {
        return "one analysis was interrupted, the other not";
    }
    if (auto difference = firstDifference(m_expected, m_actual); !difference.empty()) {
        return difference;
    }
    if (actual.counters.DuplicateCount != expected.counters.DuplicateCount ||
        actual.counters.JoinCount != expected.counters.JoinCount) {
        return "the counters differ";
    }
    return compareInParallel(randomCase, expected, m_expected, m_inParallel);
}

}  // namespace lintrel::testing

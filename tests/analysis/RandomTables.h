#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "LineAnalysis.h"
#include "LineTables.h"

namespace lintrel::testing {

// A drawing made to collide: coordinates on a coarse grid so that ties, equal pieces, coinciding
// ends and zero-length lines are common; across-coordinates a tolerance apart; offsets and gaps
// typed as single-precision values or given as exact doubles around the same boundaries; a few
// layers and linetypes; slanted families whose slopes and intercepts round alike.
struct RandomCase {
    LineRules rules;
    std::vector<DrawnLine> lines;
    int stopAt = 0;  // the announcement at which the observer interrupts; 0 for none
};

enum class CaseSize {
    Small,  // up to 40 lines: every rule meets every other often
    Large,  // 100 to 400 lines on few across-coordinates: long runs of candidates
};

RandomCase randomCase(std::uint64_t seed, CaseSize size);

// The case as text that can be pasted into a test to reproduce it.
std::string describe(const RandomCase& randomCase);

// Runs the literal and the fast analysis on cases, in two tables kept from case to case.
class AnalysisComparison {
public:
    // Empty when both analyses agree on the rows announced, the outcome, every row's state and
    // coordinates and both counters, and the fast analysis in parallel agrees on the finished
    // outcome too; else the first difference.
    std::string compare(const RandomCase& randomCase);

private:
    LineTable m_expected;
    LineTable m_actual;
    LineTable m_inParallel;
};

}  // namespace lintrel::testing

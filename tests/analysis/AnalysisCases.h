#pragma once

#include <string>
#include <vector>

#include "LineAnalysis.h"
#include "LineTables.h"

namespace lintrel::testing {

// A small drawing with its options, and what the line analysis must make of it.
struct AnalysisCase {
    const char* name;
    LineRules rules;
    std::vector<DrawnLine> lines;
    std::vector<std::string> rows;  // describeRows() afterwards
    std::string outcome;            // describeOutcome() afterwards
};

// "duplicates 1, joins 0, turns 1 3": the counts the analysis added and the rows it announced.
std::string describeOutcome(const RunCounters& counters, const std::vector<int>& turns);

// Duplicates of every kind, containment, offsets at single-precision boundaries, zero-length
// lines, slanted collinearity, filters, joins, chains of joins and the line correction.
const std::vector<AnalysisCase>& designedCases();

// Checks one analysis against every case, each read with a line correction of 0.01.
void expectVerdicts(Analysis analyse, const std::vector<AnalysisCase>& cases);

}  // namespace lintrel::testing

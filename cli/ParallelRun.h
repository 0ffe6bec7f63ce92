#pragma once

#include <string>
#include <vector>

#include "CleanRun.h"
#include "InputList.h"
#include "OptionSet.h"

namespace lintrel {

// A run's report with the messages its window showed.
struct HeldRun {
    RunReport report;
    std::vector<std::string> messages;
};

// Cleans the listed files `jobs` at a time, each in a clean-up run of its own, and puts their
// reports together as one run's: files and counters in the list's order, the first failure or
// interrupt in that order as the outcome. A failure stops files from starting; those already
// started finish and are reported.
[[nodiscard]] HeldRun runInParallel(const OptionSet& options, const InputList& list,
                                    const RunTarget& target, int jobs);

}  // namespace lintrel

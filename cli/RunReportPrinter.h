#pragma once

#include <ostream>

#include <vector>

#include "CleanRun.h"
#include "PreviewOutput.h"

namespace lintrel {

// The counters of a run with the captions the window shows beside them, per file and in total.
// With cut lengths (one per finished file), each file's and the total's three figures too.
void printText(std::ostream& out, const RunReport& report,
               const std::vector<FileCutLength>* cuts = nullptr);

// The same as one JSON object, for scripts.
void printJson(std::ostream& out, const RunReport& report,
               const std::vector<FileCutLength>* cuts = nullptr);

}  // namespace lintrel

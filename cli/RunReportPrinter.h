#pragma once

#include <ostream>

#include "CleanRun.h"

namespace lintrel {

// The counters of a run with the captions the window shows beside them, per file and in total.
void printText(std::ostream& out, const RunReport& report);

// The same as one JSON object, for scripts.
void printJson(std::ostream& out, const RunReport& report);

}  // namespace lintrel

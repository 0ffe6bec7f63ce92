#pragma once

#include <string>

#include "LineTable.h"
#include "RunCounters.h"
#include "RunOptions.h"
#include "WindowOps.h"

namespace lintrel {

// The output path of an input: its last four characters replaced by "-Cut.dxf", leading blanks
// removed; with an output folder, the same name in that folder.
std::string outputPathFor(const std::string& input, const std::string& outputDir = {});

// Writes the cleaned copy of one drawing: the head unchanged, then every entity record decided
// against the options and the file's line table, everything else copied line by line.
class OutputPass {
public:
    OutputPass(WindowOps& window, const RunOptions& options, const LineTable& lines,
               RunCounters& counters)
        : m_window(window), m_options(options), m_lines(lines), m_counters(counters) {}

    // Throws DxfError on a read or write failure and RunInterrupted when the user interrupted;
    // either way nothing is left at the output path but what was there before.
    // An empty output path decides everything and writes nothing.
    void run(const std::string& input, const std::string& output);

private:
    WindowOps& m_window;
    const RunOptions& m_options;
    const LineTable& m_lines;
    RunCounters& m_counters;
};

}  // namespace lintrel

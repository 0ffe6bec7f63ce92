#pragma once

#include <string>

#include "LineTable.h"
#include "RecordLayout.h"
#include "RunCounters.h"
#include "RunOptions.h"
#include "ThreadBudget.h"
#include "WindowOps.h"

namespace lintrel {

// The first of the two passes over a file when duplicates are removed or lines joined: reads
// every LINE record into the line table, corrects and orients each row, then analyses them.
// Given a layout, it also notes there where the records with rules lie.
class LinePass {
public:
    LinePass(WindowOps& window, const RunOptions& options, LineTable& table, RunCounters& counters,
             bool referenceAnalysis = false, RecordLayout* layout = nullptr,
             const ThreadBudget& threads = {})
        : m_window(window),
          m_options(options),
          m_table(table),
          m_counters(counters),
          m_referenceAnalysis(referenceAnalysis),
          m_layout(layout),
          m_threads(threads) {}

    // Throws DxfError on a read failure and RunInterrupted when the user interrupted.
    void run(const std::string& input);

private:
    void read(const std::string& input);
    void analyse();

    WindowOps& m_window;
    const RunOptions& m_options;
    LineTable& m_table;
    RunCounters& m_counters;
    bool m_referenceAnalysis;
    RecordLayout* m_layout;
    ThreadBudget m_threads;
};

}  // namespace lintrel

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
    // `before`: the run's counters before this file, which the window shows beneath this file's.
    LinePass(WindowOps& window, const RunOptions& options, LineTable& table,
             const RunCounters& before, bool referenceAnalysis = false,
             RecordLayout* layout = nullptr, const ThreadBudget& threads = {})
        : m_window(window),
          m_options(options),
          m_table(table),
          m_before(before),
          m_referenceAnalysis(referenceAnalysis),
          m_layout(layout),
          m_threads(threads) {}

    // Returns the duplicates removed and the joins made. Throws DxfError on a read failure and
    // RunInterrupted when the user interrupted.
    RunCounters run(const std::string& input);

private:
    void read(const std::string& input);
    RunCounters analyse();

    WindowOps& m_window;
    const RunOptions& m_options;
    LineTable& m_table;
    RunCounters m_before;
    bool m_referenceAnalysis;
    RecordLayout* m_layout;
    ThreadBudget m_threads;
};

}  // namespace lintrel

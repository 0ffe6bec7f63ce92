#pragma once

#include "LineTable.h"
#include "RunCounters.h"
#include "ThreadBudget.h"

namespace lintrel {

// The option values the line analysis reads, fixed when the run starts.
struct LineRules {
    bool removeDuplicates = false;  // Check7
    bool joinLines = false;         // Check9
    bool sameLayerOnly = false;     // Check10
    bool sameLineTypeOnly = false;  // Check11
    double DuplicateOffset = 0;     // Text5, parsed as a float and widened
    double JoinOffset = 0;          // Text8, parsed as a float and widened
    double JoinGap = 0;             // Text9, parsed as a float and widened
    double LineCorrection = 0;      // Text6
};

// Told before each row the analysis examines (every row not yet deleted, in file order; on
// several threads, every such row of the calling thread). Either call may throw RunInterrupted
// to stop the analysis, which leaves the table part-analysed.
class RowObserver {
public:
    virtual ~RowObserver() = default;
    // Yields to the window and shows the progress.
    virtual void beforeRow(int row, const RunCounters& counters) = 0;
    // Yields to the window in the middle of a long turn (row is the row whose turn it is), every
    // kBreathEvery. The literal scan never calls it.
    virtual void duringRow(int /*row*/, const RunCounters& /*counters*/) {}
};

// Marks duplicate rows Deleted and merges collinear pieces (Lengthened / Deleted), counting both;
// passes on what the observer throws. When the budget allows three threads, a table of many rows
// (any table, when it shares any size) has its turns shared out among them: the vertical rows' on
// the calling thread, the horizontal rows' on another, the slanted rows' on a third. The verdicts
// are the same, but the observer hears only of the calling thread's rows, and an interrupted
// table is left part-analysed in a way the literal scan may never pass through. Otherwise, when
// it allows two, the indexes are built two at a time; with one, all is done on the calling thread.
void analyseLines(LineTable& table, const LineRules& rules, RunCounters& counters,
                  RowObserver& observer, const ThreadBudget& threads = {});

// The literal scan that compares every row with every other, restarting after each join.
// It is the definition of the verdicts; analyseLines() must give exactly the same.
void analyseLinesReference(LineTable& table, const LineRules& rules, RunCounters& counters,
                           RowObserver& observer);

}  // namespace lintrel

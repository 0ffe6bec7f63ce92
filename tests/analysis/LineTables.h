#pragma once

#include <string>
#include <utility>
#include <vector>

#include "LineAnalysis.h"
#include "LineTable.h"

namespace lintrel::testing {

// One LINE record as a drawing lists it: first point, second point, layer, linetype.
struct DrawnLine {
    DrawnLine(double fromX, double fromY, double toX, double toY, std::string onLayer = "0",
              std::string inLineType = "")
        : x1(fromX),
          y1(fromY),
          x2(toX),
          y2(toY),
          layer(std::move(onLayer)),
          lineType(std::move(inLineType)) {}

    double x1;
    double y1;
    double x2;
    double y2;
    std::string layer;
    std::string lineType;
};

// The table the first pass would fill from these records: one row each, corrected and oriented.
LineTable makeTable(const std::vector<DrawnLine>& lines, double lineCorrection = 0);
// The same into a table that already has room (a fresh table takes a whole block of rows).
void fillTable(LineTable& table, const std::vector<DrawnLine>& lines, double lineCorrection);

// Each row as "kept (10,0)-(0,0)", "lengthened (20,0)-(0,0)" or "deleted".
std::vector<std::string> describeRows(const LineTable& table);

// Empty when both tables hold the same rows, states and coordinates bit for bit (even the sign
// of a zero counts); else the first row that differs.
std::string firstDifference(const LineTable& expected, const LineTable& actual);

// An option value typed into a text box: read in single precision, then widened.
constexpr double widened(float value) {
    return value;
}

// Options with duplicate removal, joining, or both on.
LineRules duplicates(float offset);
LineRules joins(float offset, float gap);
LineRules joinsAndDuplicates(float joinOffset, float gap, float duplicateOffset);
LineRules sameLayer(LineRules rules);
LineRules sameLineType(LineRules rules);

// analyseLinesReference, or analyseLines as one of the three below.
using Analysis = void (*)(LineTable&, const LineRules&, RunCounters&, RowObserver&);

// analyseLines with three threads, whatever the machine has (a large table has its turns shared
// out among them); on the calling thread alone; with its turns shared out however few the rows.
void analyseFast(LineTable& table, const LineRules& rules, RunCounters& counters,
                 RowObserver& observer);
void analyseAlone(LineTable& table, const LineRules& rules, RunCounters& counters,
                  RowObserver& observer);
void analyseShared(LineTable& table, const LineRules& rules, RunCounters& counters,
                   RowObserver& observer);

// Remembers every row the analysis announces and the counters at that moment; throws
// RunInterrupted at the announcement numbered stopAt (1 for the first; 0 never stops).
class RecordingObserver : public RowObserver {
public:
    explicit RecordingObserver(int stopAt = 0) : m_stopAt(stopAt) {}
    void beforeRow(int row, const RunCounters& counters) override;

    std::vector<int> rows;
    std::vector<int> duplicateCounts;
    std::vector<int> joinCounts;

private:
    int m_stopAt;
};

}  // namespace lintrel::testing

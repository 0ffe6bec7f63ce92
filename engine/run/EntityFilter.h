#pragma once

#include <cstdint>
#include <string>

#include "CounterTable.h"
#include "DecisionObserver.h"
#include "EntitySection.h"
#include "LineTable.h"
#include "RunCounters.h"
#include "RunOptions.h"

namespace lintrel {

// Decides the entity records of one file against the run's options and the file's line table,
// counting each deletion in its counter and showing it in its label at once (when there is a
// display: a part of the file decided on another thread only counts).
class EntityFilter {
public:
    // The pairs of the records keep() reads.
    static constexpr KeptPairs kPairsRead{{},
                                          KeptPairs::codesOf({1, 6, 10, 20, 11, 21, 40, 50, 51})};

    // `counters`: what this filter deletes is added there. `linesBefore`: the LINE records before
    // the part of the file this filter decides.
    EntityFilter(const RunOptions& options, const LineTable& lines, RunCounters& counters,
                 CounterDisplay* display, std::string path, int linesBefore = 0)
        : m_options(options),
          m_lines(lines),
          m_counters(counters),
          m_display(display),
          m_path(std::move(path)),
          m_lineOrdinal(linesBefore) {}

    // True when the record is written; a joined LINE gets its new coordinates in the record.
    // Throws DxfError(Damaged) when a number the rules need is not one.
    bool keep(std::string_view type, EntityRecord& record, long lineNumber);

    // What becomes of a record when it can be told without its pairs.
    enum class VerdictWithoutPairs {
        Kept,        // written as it stands
        Dropped,     // left out, and counted when a rule deleted it
        NeedsPairs,  // keep() must see its pairs
    };
    // A LINE told here takes its place in the line table's order, as keep() would take it. Only a
    // line pass fills the table, so without one every LINE NeedsPairs.
    VerdictWithoutPairs verdictWithoutPairs(std::string_view type);

    // Tells the observer of every record removed or lengthened from now on; none by default.
    void observe(DecisionObserver* observer) { m_observer = observer; }
    // Where the record about to be decided starts, for the observer.
    void setRecordOffset(std::uint64_t offset) { m_recordOffset = offset; }

    // Adds what another filter of the same file counted, and shows the counts that changed.
    void addCounts(const RunCounters& other);

private:
    using Counter = std::int32_t RunCounters::*;

    bool keepText(const EntityRecord& record, bool deleteAll, bool deleteBlank, Counter counter);
    VerdictWithoutPairs textVerdict(bool deleteAll, bool deleteBlank, Counter counter);
    VerdictWithoutPairs dropped(Counter counter);  // counted as deleted by the counter's rule
    bool keepLine(EntityRecord& record, long lineNumber);
    bool countRuling(LineRuling ruling);  // counts a deletion; true when the line stays
    bool keepArc(const EntityRecord& record, long lineNumber);
    bool keepCircle(const EntityRecord& record, long lineNumber);
    bool keepPoint(const EntityRecord& record);
    double number(std::string_view value, long lineNumber) const;
    void count(Counter counter);
    void tellLineState(const LineRow& row);

    const RunOptions& m_options;
    const LineTable& m_lines;
    RunCounters& m_counters;
    CounterDisplay* m_display;
    std::string m_path;
    int m_lineOrdinal;  // n: the LINE records met so far, the index into the line table
    DecisionObserver* m_observer = nullptr;
    std::uint64_t m_recordOffset = 0;
};

}  // namespace lintrel

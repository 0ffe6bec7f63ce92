#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "CounterTable.h"
#include "DecisionObserver.h"
#include "EntitySection.h"
#include "LineTable.h"
#include "RecordLayout.h"
#include "RunCounters.h"
#include "RunOptions.h"
#include "ThreadBudget.h"
#include "WindowOps.h"

namespace lintrel {

class DxfLineReader;
class DxfLineWriter;
class EntityFilter;
class EntitySection;
class HelperThread;
class InputFile;

// Writes the cleaned copy of one drawing: the head unchanged, then every entity record decided
// against the options and the file's line table, everything else copied line by line.
class OutputPass {
public:
    // From `laterFrom` on (by itself, from the middle of a long drawing, when the threads allow)
    // a second thread writes the later part of a copy made with the layout at the same time.
    // `before`: the run's counters before this file, which the window shows beneath this file's.
    OutputPass(WindowOps& window, const RunOptions& options, const LineTable& lines,
               const RunCounters& before, const ThreadBudget& threads = {},
               std::optional<std::uint64_t> laterFrom = {})
        : m_window(window),
          m_options(options),
          m_lines(lines),
          m_display(window, before),
          m_threads(threads),
          m_laterFrom(laterFrom) {}

    // Throws DxfError on a read or write failure and RunInterrupted when the user interrupted;
    // either way nothing is left at the output path but what was there before.
    // An empty output path decides everything and writes nothing. With the layout the line pass
    // noted, only the records that may change are read; the copy is the same. Returns what the
    // pass deleted.
    RunCounters run(const std::string& input, const std::string& output,
                    const RecordLayout* layout = nullptr);
    // Tells the observer what becomes of each record; the copy is then written by one thread.
    void observe(DecisionObserver* observer) { m_observer = observer; }

private:
    class Progress;
    struct LaterPart;
    struct StreamedPart;

    KeptPairs keptPairs() const;
    template <class Pass>
    void produce(const std::string& input, const std::string& output, std::uint64_t size,
                 Pass&& pass);
    void stream(DxfLineReader& reader, const RecordLayout* layout, const std::string& output,
                DxfLineWriter& writer, EntityFilter& filter, Progress& progress);
    void streamInParts(const EntitySection& section, const DxfLineReader& reader,
                       const RecordLayout* layout, const std::vector<std::uint64_t>& laterFrom,
                       const std::string& output, DxfLineWriter& writer, EntityFilter& filter,
                       Progress& progress);
    void replay(InputFile& input, const RecordLayout& layout, const std::string& output,
                DxfLineWriter& writer, EntityFilter& filter, Progress& progress);
    void replayInTwo(InputFile& input, const RecordLayout& layout, std::size_t split,
                     const std::string& output, DxfLineWriter& writer, EntityFilter& filter,
                     Progress& progress);
    // Places [first, last) of the layout, within the bytes [begin, end).
    struct Part {
        std::size_t first;
        std::size_t last;
        std::uint64_t begin;
        std::uint64_t end;
    };
    // onPlace(offset) comes before each place is decided, and at the end.
    template <class OnPlace>
    void replayPart(InputFile& input, const RecordLayout& layout, const Part& part,
                    DxfLineWriter& writer, EntityFilter& filter, OnPlace&& onPlace);
    void writeLaterPart(InputFile& input, const RecordLayout& layout, LaterPart& later,
                        const std::stop_token& stop);
    static void waitForLaterPart(HelperThread& writing, const LaterPart& later,
                                 EntityFilter& filter, const std::function<void()>& breathe);

    WindowOps& m_window;
    const RunOptions& m_options;
    const LineTable& m_lines;
    CounterDisplay m_display;
    RunCounters m_added;
    ThreadBudget m_threads;
    std::optional<std::uint64_t> m_laterFrom;
    DecisionObserver* m_observer = nullptr;
};

}  // namespace lintrel

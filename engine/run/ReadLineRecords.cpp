#include "ReadLineRecords.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <limits>
#include <optional>
#include <stop_token>
#include <utility>
#include <vector>

#include "CacheLine.h"
#include "DxfError.h"
#include "DxfLineReader.h"
#include "EntitySection.h"
#include "HelperThread.h"
#include "LineRecordReader.h"

namespace lintrel {
namespace {

// Below this much after the head, another thread costs more than it saves.
constexpr std::uint64_t kShortestPart = std::uint64_t{4} << 20;
// What follows the head is read in this many parts at most, each by a thread of its own while
// this one waits. More threads than cores: when one is done early, the parts left share both
// cores.
constexpr std::size_t kMostParts = 4;
constexpr std::uint64_t kSearching = std::numeric_limits<std::uint64_t>::max();
constexpr std::uint64_t kNotFound = kSearching - 1;
constexpr std::size_t kNoPart = std::numeric_limits<std::size_t>::max();

// A part of what follows the head, read by a thread of its own up to where the next part starts,
// or to the end of the file. The first starts right after the head; each later one at the record
// its thread finds near where it starts to look. The thread reading the part before reads
// `start` at every record: it has a line of its own, away from the tables this part's thread
// writes at every record. The rest is read by the calling thread once the part's thread ended.
struct Part {
    alignas(kCacheLine) std::atomic<std::uint64_t> start{kSearching};
    alignas(kCacheLine) LineTable table;
    RecordLayout layout;
    std::size_t next = kNoPart;  // the part whose start it met; none at the end of the file
    std::uint64_t end = 0;
    long lines = 0;  // from its start to its end
    bool endsAllInCrLf = true;
};
using Parts = std::array<Part, kMostParts>;

// The first group 0 code line after `from` that is followed by the type name of a record with
// rules: most likely a record's start, which the first thread confirms or not when it gets there.
std::uint64_t findRecordStart(const InputFile& file, std::uint64_t from,
                              const std::stop_token& stop) {
    DxfLineReader reader(file, from);
    if (!reader.atEnd()) {
        static_cast<void>(reader.readLine());  // the rest of a line cut in two, or a whole one
    }
    while (!reader.atEnd() && !stop.stop_requested()) {
        const std::string_view line = reader.readLine();
        if (!isGroupCode(line, 0) || reader.atEnd()) {
            continue;
        }
        const std::uint64_t offset = reader.offsetOf(line);
        const std::string_view type = reader.readLine();
        if (std::find(RecordLayout::kTypes.begin(), RecordLayout::kTypes.end(), type) !=
            RecordLayout::kTypes.end()) {
            return offset;
        }
    }
    return kNotFound;
}

// Reads records up to the first that starts where a later part starts, from part `next` on, and
// gives that part's number; kNoPart at the end of the file, or once told to stop. A part whose
// start it passes by does not count: what was read there is left unused. Nor is it stopped, as
// this part's own start may yet prove wrong.
std::size_t readUpToNextPart(EntitySection& section, const DxfLineReader& reader,
                             LineRecordReader& take, const Parts& parts, std::size_t next,
                             std::size_t count, const std::stop_token& stop) {
    while (section.hasMore()) {
        if (stop.stop_requested()) {
            return kNoPart;
        }
        for (; next < count; ++next) {
            const std::uint64_t start = parts[next].start.load(std::memory_order_acquire);
            const std::uint64_t at = section.nextItemOffset();
            if (at == start) {
                return next;
            }
            if (start != kNotFound && (start == kSearching || at < start)) {
                break;
            }
        }
        take.takeNext(section, reader);
    }
    return kNoPart;
}

// Reads one part on its own thread. A DxfError counts its lines from the part's start.
void readPart(const InputFile& file, const RunOptions& options, std::uint64_t from,
              bool placesRecords, Parts& parts, std::size_t index, std::size_t count,
              const std::stop_token& stop) {
    Part& part = parts[index];
    try {
        const std::uint64_t start = index == 0 ? from : findRecordStart(file, from, stop);
        part.start.store(start, std::memory_order_release);
        if (start == kNotFound) {
            return;
        }
        DxfLineReader reader(file, start);
        EntitySection section(reader, options.recordTypes(), "LINE");
        LineRecordReader take(options, part.table, placesRecords ? &part.layout : nullptr);
        part.next = readUpToNextPart(section, reader, take, parts, index + 1, count, stop);
        part.end = section.nextItemOffset();
        part.lines = section.linesBeforeNextItem();
        part.endsAllInCrLf = reader.endsAllInCrLf();
    } catch (...) {
        std::uint64_t searching = kSearching;
        part.start.compare_exchange_strong(searching, kNotFound);
        throw;
    }
}

// Where the parts after the first start to look for a record: the rest after the head shared
// evenly among as many parts as the threads allow, as far as it is long enough.
std::vector<std::uint64_t> evenParts(std::uint64_t headEnd, std::uint64_t size,
                                     const ThreadBudget& threads) {
    const std::uint64_t rest = size > headEnd ? size - headEnd : 0;
    const std::uint64_t longEnough = threads.sharesAnySize ? kMostParts : rest / kShortestPart;
    const auto parts = std::min<std::uint64_t>(
        {kMostParts, longEnough, static_cast<std::uint64_t>(threads.threads)});
    std::vector<std::uint64_t> starts;
    for (std::uint64_t k = 1; k < parts; ++k) {
        starts.push_back(headEnd + rest * k / parts);
    }
    return starts;
}

// Waits for a part's thread, with a failure's line counted from the start of the file.
void waitForPart(HelperThread& reading, const std::function<void()>& poll, const std::string& path,
                 long linesBefore) {
    try {
        reading.wait(poll);
    } catch (const DxfError& error) {
        throw DxfError(error.kind(), path, error.line() > 0 ? linesBefore + error.line() : 0,
                       error.reason(), error.systemError());
    }
}

// The records after the head, read by the calling thread alone.
void readAlone(EntitySection& section, const DxfLineReader& reader, const RunOptions& options,
               LineTable& table, RecordLayout* layout, const std::function<void()>& poll) {
    LineRecordReader take(options, table, layout);
    while (section.hasMore()) {
        poll();
        take.takeNext(section, reader);
    }
    if (layout != nullptr) {
        layout->complete(reader.position(), reader.endsAllInCrLf());
    }
}

// The records after the head, read in parts by threads of their own. The first part counts;
// each part whose start a counting part met counts too. The calling thread only waits meanwhile,
// so that its core is theirs.
void readInParts(const EntitySection& section, const DxfLineReader& reader,
                 const RunOptions& options, const std::vector<std::uint64_t>& laterFrom,
                 LineTable& table, RecordLayout* layout, const std::function<void()>& poll) {
    const std::uint64_t headEnd = section.nextItemOffset();
    const std::size_t count = std::min(laterFrom.size() + 1, kMostParts);
    Parts parts;
    std::array<std::optional<HelperThread>, kMostParts> reading;  // after the parts they fill
    for (std::size_t k = 0; k < count; ++k) {
        reading[k].emplace(
            [&, k, from = k == 0 ? headEnd : laterFrom[k - 1]](const std::stop_token& stop) {
                readPart(reader.file(), options, from, layout != nullptr, parts, k, count, stop);
            });
    }
    long linesBefore = section.linesBeforeNextItem();
    std::uint64_t end = headEnd;
    bool endsAllInCrLf = reader.endsAllInCrLf();
    for (std::size_t next = 0; next != kNoPart;) {
        Part& part = parts[next];
        waitForPart(*reading[next], poll, reader.path(), linesBefore);
        for (std::size_t passed = next + 1; passed < std::min(part.next, count); ++passed) {
            reading[passed]->requestStop();
        }
        table.append(std::move(part.table));
        if (layout != nullptr) {
            layout->append(std::move(part.layout));
        }
        linesBefore += part.lines;
        end = part.end;
        endsAllInCrLf = endsAllInCrLf && part.endsAllInCrLf;
        next = part.next;
    }
    if (layout != nullptr) {
        layout->complete(end, endsAllInCrLf);
    }
}

}  // namespace

void readLineRecords(const std::string& path, const RunOptions& options, LineTable& table,
                     RecordLayout* layout, const std::function<void()>& poll,
                     const ThreadBudget& threads, std::vector<std::uint64_t> laterFrom) {
    DxfLineReader reader(path);
    EntitySection section(reader, options.recordTypes(), "LINE");
    if (layout != nullptr) {
        layout->clear();
    }
    section.readHead([&](std::string_view) { poll(); });
    if (laterFrom.empty()) {
        laterFrom = evenParts(section.nextItemOffset(), reader.size(), threads);
    }
    if (laterFrom.empty()) {
        readAlone(section, reader, options, table, layout, poll);
    } else {
        readInParts(section, reader, options, laterFrom, table, layout, poll);
    }
}

}  // namespace lintrel

#include "ReadLineRecords.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <exception>
#include <future>
#include <limits>
#include <stop_token>
#include <thread>
#include <utility>

#include "CacheLine.h"
#include "DxfError.h"
#include "DxfLineReader.h"
#include "EntitySection.h"
#include "LineRecordReader.h"

namespace lintrel {
namespace {

// Below this much after the head a second thread costs more than it saves.
constexpr std::uint64_t kShortestShared = std::uint64_t{4} << 20;
constexpr std::uint64_t kSearching = std::numeric_limits<std::uint64_t>::max();
constexpr std::uint64_t kNotFound = kSearching - 1;

// What the second thread read, from the record it started at to the end of the file. The first
// thread reads `start` at every record: it has a line of its own, away from the tables the second
// thread writes at every record.
struct LaterPart {
    alignas(kCacheLine) std::atomic<std::uint64_t> start{kSearching};
    alignas(kCacheLine) LineTable table;
    RecordLayout layout;
    std::uint64_t end = 0;
    bool endsAllInCrLf = true;
    std::exception_ptr failure;  // a DxfError counts its lines from `start`
};

// The first "  0" line after `from` that is followed by the type name of a record with rules: most
// likely a record's start, which the first thread confirms or not when it gets there.
std::uint64_t findRecordStart(const InputFile& file, std::uint64_t from,
                              const std::stop_token& stop) {
    DxfLineReader reader(file, from);
    if (!reader.atEnd()) {
        static_cast<void>(reader.readLine());  // the rest of a line cut in two, or a whole one
    }
    while (!reader.atEnd() && !stop.stop_requested()) {
        const std::string_view line = reader.readLine();
        if (!isLine(line, kRecordStart) || reader.atEnd()) {
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

void readLaterPart(const InputFile& file, const RunOptions& options, std::uint64_t from,
                   bool placesRecords, LaterPart& part, const std::stop_token& stop) {
    try {
        const std::uint64_t start = findRecordStart(file, from, stop);
        part.start.store(start, std::memory_order_release);
        if (start == kNotFound) {
            return;
        }
        DxfLineReader reader(file, start);
        EntitySection section(reader, options.recordTypes(), "LINE");
        LineRecordReader take(options, part.table, placesRecords ? &part.layout : nullptr);
        while (section.hasMore() && !stop.stop_requested()) {
            take.takeNext(section, reader);
        }
        part.end = reader.position();
        part.endsAllInCrLf = reader.endsAllInCrLf();
    } catch (...) {
        part.failure = std::current_exception();
        std::uint64_t searching = kSearching;
        part.start.compare_exchange_strong(searching, kNotFound);
    }
}

// Rethrows the second thread's failure with its line counted from the start of the file.
[[noreturn]] void rethrowLater(const LaterPart& part, const std::string& path, long linesBefore) {
    try {
        std::rethrow_exception(part.failure);
    } catch (const DxfError& error) {
        throw DxfError(error.kind(), path, error.line() > 0 ? linesBefore + error.line() : 0,
                       error.reason(), error.systemError());
    }
}

}  // namespace

void readLineRecords(const std::string& path, const RunOptions& options, LineTable& table,
                     RecordLayout* layout, const std::function<void()>& poll,
                     std::optional<std::uint64_t> laterFrom) {
    DxfLineReader reader(path);
    EntitySection section(reader, options.recordTypes(), "LINE");
    if (layout != nullptr) {
        layout->clear();
    }
    section.readHead([&](std::string_view) { poll(); });
    const std::uint64_t headEnd = section.nextItemOffset();
    if (!laterFrom && reader.size() >= headEnd + kShortestShared) {
        laterFrom = headEnd + (reader.size() - headEnd) / 2;
    }

    LaterPart later;
    std::promise<void> laterDone;
    std::future<void> laterRead = laterDone.get_future();
    std::jthread second;  // declared last: leaving early stops and joins it first
    if (laterFrom) {
        second = std::jthread([&, from = *laterFrom](const std::stop_token& stop) {
            readLaterPart(reader.file(), options, from, layout != nullptr, later, stop);
            laterDone.set_value();
        });
    }

    LineRecordReader take(options, table, layout);
    while (section.hasMore()) {
        poll();
        if (second.joinable()) {
            const std::uint64_t start = later.start.load(std::memory_order_acquire);
            const std::uint64_t at = section.nextItemOffset();
            if (start == kNotFound || (start != kSearching && at > start)) {
                second.request_stop();
                second.join();  // it guessed wrong: this thread reads on alone
            } else if (at == start) {
                while (laterRead.wait_for(std::chrono::milliseconds(10)) !=
                       std::future_status::ready) {
                    poll();
                }
                if (later.failure) {
                    rethrowLater(later, path, section.linesBeforeNextItem());
                }
                table.append(std::move(later.table));
                if (layout != nullptr) {
                    layout->append(std::move(later.layout));
                    layout->complete(later.end, reader.endsAllInCrLf() && later.endsAllInCrLf);
                }
                return;
            }
        }
        take.takeNext(section, reader);
    }
    if (layout != nullptr) {
        layout->complete(reader.position(), reader.endsAllInCrLf());
    }
}

}  // namespace lintrel

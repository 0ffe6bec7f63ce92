#include "OutputPass.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <stop_token>

#include "CacheLine.h"
#include "Controls.h"
#include "DxfError.h"
#include "DxfLineReader.h"
#include "DxfLineWriter.h"
#include "EntityFilter.h"
#include "EntitySection.h"
#include "ForwardReader.h"
#include "HelperThread.h"
#include "InputFile.h"
#include "LetWindowBreathe.h"
#include "OutputFile.h"
#include "PartPlace.h"
#include "SectionParts.h"

namespace lintrel {
namespace {

// What is copied through the reader at a time.
constexpr std::uint64_t kStretch = std::uint64_t{1} << 20;

void writeRecord(DxfLineWriter& writer, std::string_view startCode, std::string_view type,
                 const EntityRecord& record) {
    writer.writePair(startCode, type);
    if (const auto lines = record.linesAsRead()) {
        writer.writeBytes(*lines);
        return;
    }
    // Only the pairs the rules read kept, and a line read with another end than CR LF.
    if (!record.keepsEveryPair()) {
        record.handOverLinesAsRead([&](std::string_view line) { writer.writeLine(line); });
        return;
    }
    // A record with new values (a lengthened line's ends) is mostly as read still.
    if (record.handOverInCrLf([&](std::string_view lines) { writer.writeBytes(lines); },
                              [&](std::string_view line) { writer.writeLine(line); })) {
        return;
    }
    for (int i = 0; i < record.size(); ++i) {
        writer.writePair(record.code(i), record.value(i));
    }
}

[[noreturn]] void changedSinceFirstRead(const std::string& path) {
    throw DxfError(DxfError::Kind::Damaged, path, 0, "the file changed after it was first read");
}

// The line a streaming read has just read when it decides the record at this place: the type
// name of the record after it. Only a damaged drawing asks, so it is counted then.
long lineNumberDeciding(InputFile& input, const RecordLayout::Place& place) {
    ForwardReader reader(input);
    long lineEnds = 0;
    for (std::uint64_t at = 0; at < place.end(); at += kStretch) {
        auto bytes = reader.bytes(at, std::min(kStretch, place.end() - at));
        lineEnds += std::count(bytes.begin(), bytes.end(), '\n');
    }
    return lineEnds + 2;
}

// How often the second thread of the output tells how far it has got.
constexpr int kPlacesPerTelling = 64;

// Below this size a second thread for the output costs more than it saves.
constexpr std::uint64_t kShortestShared = std::uint64_t{8} << 20;

// A replayed copy's first part is shorter than half by this fraction of it (a seventh). At a tenth,
// as the parts of a streamed copy are (kFirstPartShorterBy), the later part of a long drawing still
// wrote on well after the first had ended, and much of the copying of what it wrote before was
// left until then.
constexpr std::uint64_t kFirstReplayedPartShorterBy = 7;

// The first place of the later part, where a second thread takes over; 0 for none. By itself a
// long drawing is shared before its middle, when the threads allow.
std::size_t laterPartStart(const RecordLayout& layout, const ThreadBudget& threads,
                           std::optional<std::uint64_t> laterFrom) {
    if (!laterFrom) {
        if (!threads.allows(2) || (layout.fileSize() < kShortestShared && !threads.sharesAnySize)) {
            return 0;
        }
        const std::uint64_t even = layout.fileSize() / 2;
        laterFrom = even - even / kFirstReplayedPartShorterBy;
    }
    const std::size_t split = layout.firstPlaceFrom(*laterFrom);
    return split == layout.size() ? 0 : split;
}

// The LINE records before the place where the later part starts: the later part's filter
// numbers the rows it decides from there.
int lineRecordsBefore(const RecordLayout& layout, std::size_t split) {
    int lines = 0;
    for (std::size_t k = 0; k < split; ++k) {
        lines += layout[k].typeName() == "LINE" ? 1 : 0;
    }
    return lines;
}

// The LINE records the layout places before the offset: a part of a streamed copy starting there
// numbers the rows it decides from there.
int lineRecordsBeforeOffset(const RecordLayout& layout, std::uint64_t offset) {
    return lineRecordsBefore(layout, layout.firstPlaceFrom(offset));
}

// Writes an item of a streamed copy as it stands, or its record as the filter decides.
void passItem(EntitySection& section, const DxfLineReader& reader, DxfLineWriter& writer,
              EntityFilter& filter) {
    switch (section.next()) {
        case EntitySection::Item::Pair:
            writer.writePair(section.code(), section.value());
            break;
        case EntitySection::Item::Line:
            writer.writeLine(section.line());
            break;
        case EntitySection::Item::OtherRecordHead:
            writer.writePair(section.startCode(), section.typeName());
            break;
        case EntitySection::Item::Record:
            filter.setRecordOffset(section.recordOffset());
            if (filter.keep(section.typeName(), section.record(), reader.lineNumber())) {
                writeRecord(writer, section.startCode(), section.typeName(), section.record());
            }
            break;
    }
}

}  // namespace

// Sets ProgressBar1 to the share of the file read so far, telling the window only of changes;
// between two percent steps it costs one comparison per call.
class OutputPass::Progress {
public:
    Progress(WindowOps& window, std::uint64_t size) : m_window(window), m_size(size) {}

    void at(std::uint64_t position) {
        if (position < m_next) {
            return;
        }
        int percent = m_size == 0
                          ? 100
                          : static_cast<int>(std::min<std::uint64_t>(100, position * 100 / m_size));
        m_window.setProgress(percent);
        m_next = percent >= 100 ? UINT64_MAX : ((percent + 1) * m_size + 99) / 100;
    }

private:
    WindowOps& m_window;
    std::uint64_t m_size;
    std::uint64_t m_next = 0;
};

RunCounters OutputPass::run(const std::string& input, const std::string& output,
                            const RecordLayout* layout) {
    // The input is opened first: a drawing that cannot be read leaves no output file behind.
    if (layout != nullptr && layout->isReplayable()) {
        InputFile file(input);
        produce(input, output, file.size(), [&](auto& writer, auto& filter, auto& progress) {
            replay(file, *layout, output, writer, filter, progress);
        });
    } else {
        DxfLineReader reader(input);
        produce(input, output, reader.size(), [&](auto& writer, auto& filter, auto& progress) {
            stream(reader, layout, output, writer, filter, progress);
        });
    }
    return m_added;
}

template <class Pass>
void OutputPass::produce(const std::string& input, const std::string& output, std::uint64_t size,
                         Pass&& pass) {
    Progress progress(m_window, size);
    m_window.setVisible(control::ProgressBar1, true);
    std::unique_ptr<OutputFile> file;
    if (!output.empty()) {
        file = std::make_unique<OutputFile>(output);
    }
    DxfLineWriter writer(file.get());
    EntityFilter filter(m_options, m_lines, m_added, &m_display, input);
    filter.observe(m_observer);
    progress.at(0);
    pass(writer, filter, progress);
    if (file) {
        file->commit();
    }
    m_window.setVisible(control::ProgressBar1, false);
}

void OutputPass::stream(DxfLineReader& reader, const RecordLayout* layout,
                        const std::string& output, DxfLineWriter& writer, EntityFilter& filter,
                        Progress& progress) {
    EntitySection section(reader, m_options.recordTypes(), keptPairs());
    section.readHead([&](std::string_view line) {
        progress.at(reader.position());
        writer.writeLine(line);
    });
    // A part numbers its rows from the LINE records the layout of this very file places before
    // it; without rows the records are decided alike wherever a part starts. With an observer
    // they are told in file order.
    const RecordLayout* rowsFrom =
        layout != nullptr && layout->placesEveryRecord() && layout->fileSize() == reader.size()
            ? layout
            : nullptr;
    const auto laterFrom =
        (m_lines.size() == 0 || rowsFrom != nullptr) && m_observer == nullptr
            ? streamedSectionParts(section.nextItemOffset(), reader.size(), m_threads)
            : std::vector<std::uint64_t>{};
    if (!laterFrom.empty()) {
        streamInParts(section, reader, rowsFrom, laterFrom, output, writer, filter, progress);
        return;
    }
    while (section.hasMore()) {
        letWindowBreathe(m_window);
        progress.at(reader.position());
        passItem(section, reader, writer, filter);
    }
}

// Without a line table no record changes: it keeps only the pairs the rules read, and is written
// as read.
KeptPairs OutputPass::keptPairs() const {
    return m_lines.size() == 0 ? EntityFilter::kPairsRead : KeptPairs{};
}

// One part of a copy streamed in parts, with a filter and counts of its own. The first part writes
// straight into the copy, which nothing else writes meanwhile; each later one into a part file of
// its own until the parts before it are done and it is placed in the copy, then straight there.
struct OutputPass::StreamedPart {
    StreamedPart(const OutputPass& pass, const std::string& input, const std::string& output,
                 std::size_t partNumber, int linesBefore, DxfLineWriter* copy, PartPlace& place)
        : number(partNumber),
          filter(pass.m_options, pass.m_lines, counts, nullptr, input, linesBefore),
          file(copy == nullptr && !output.empty() ? std::make_unique<OutputFile>(output, place)
                                                  : nullptr),
          ownWriter(file.get()),
          writer(copy != nullptr ? *copy : ownWriter) {}

    void take(EntitySection& section, const DxfLineReader& reader) {
        passItem(section, reader, writer, filter);
    }

    std::size_t number;
    RunCounters counts;
    EntityFilter filter;
    std::unique_ptr<OutputFile> file;
    DxfLineWriter ownWriter;
    DxfLineWriter& writer;
};

// Only this thread talks to the window: it shows the counts of each part once the parts before it
// are done (of a part that failed too, as one thread would have counted up to the failure), and
// the bar what all parts have read. Once a part is done it places the next in the copy, and while
// it waits for that part it copies into place what the part wrote before.
void OutputPass::streamInParts(const EntitySection& section, const DxfLineReader& reader,
                               const RecordLayout* layout,
                               const std::vector<std::uint64_t>& laterFrom,
                               const std::string& output, DxfLineWriter& writer,
                               EntityFilter& filter, Progress& progress) {
    std::array<PartPlace, kMostSectionParts> places;  // outlives the parts that refer to it
    SectionParts<StreamedPart> parts(
        reader, m_options.recordTypes(), keptPairs(), [&](std::size_t part, std::uint64_t start) {
            const int linesBefore = layout != nullptr ? lineRecordsBeforeOffset(*layout, start) : 0;
            return std::make_unique<StreamedPart>(*this, reader.path(), output, part, linesBefore,
                                                  part == 0 ? &writer : nullptr, places[part]);
        });
    OutputFile* const copy = writer.file();
    std::size_t placed = section_parts::kNoPart;
    const std::uint64_t headEnd = section.nextItemOffset();
    const auto breathe = [&] {
        letWindowBreathe(m_window);
        progress.at(headEnd + parts.bytesRead());
        if (placed != section_parts::kNoPart) {
            copy->copyPlaced(places[placed]);
        }
    };
    parts.walk(
        section, laterFrom, breathe,
        [&](StreamedPart& part) {
            filter.addCounts(part.counts);
            if (copy == nullptr) {
                return;
            }
            // The copying below may leave no part to wait for.
            breathe();
            std::uint64_t end = 0;
            if (part.number == 0) {
                end = copy->flushedSize();
            } else {  // placed when the part before it was done
                end = places[part.number].at.load(std::memory_order_relaxed) +
                      part.file->flushedSize();
                copy->copyPlaced(places[part.number]);
            }
            placed = parts.nextAfter(part.number);
            if (placed != section_parts::kNoPart) {
                copy->place(places[placed], end);
            } else {
                copy->resumeAt(end);
            }
        },
        [&](StreamedPart& part) { filter.addCounts(part.counts); });
    progress.at(reader.size());
}

// Every line of the drawing ends in CR LF, so what lies between the records that change is
// copied as it stands: it is what the streaming pass would write line by line. On a long drawing
// a second thread writes the later half meanwhile.
void OutputPass::replay(InputFile& input, const RecordLayout& layout, const std::string& output,
                        DxfLineWriter& writer, EntityFilter& filter, Progress& progress) {
    if (input.size() != layout.fileSize()) {
        changedSinceFirstRead(input.path());
    }
    const std::size_t split =
        m_observer == nullptr ? laterPartStart(layout, m_threads, m_laterFrom) : 0;
    if (split != 0) {
        replayInTwo(input, layout, split, output, writer, filter, progress);
    } else {
        replayPart(input, layout, {0, layout.size(), 0, layout.fileSize()}, writer, filter,
                   [&](std::uint64_t offset) {
                       letWindowBreathe(m_window);
                       progress.at(offset);
                   });
    }
}

// The later part of a copy made in two, written by a second thread and counted by a filter of its
// own: into a part file of its own until this thread places it in the copy, then straight there.
// This thread adds the counts once that thread has ended. What the second thread writes as it
// goes, and what each thread reads of the other's, lie on lines of their own.
struct OutputPass::LaterPart {
    LaterPart(const OutputPass& pass, const InputFile& input, const RecordLayout& layout,
              std::size_t split, const std::string& output, bool isWriting)
        : places{split, layout.size(), layout[split].offset(), layout.fileSize()},
          filter(pass.m_options, pass.m_lines, counts, nullptr, input.path(),
                 lineRecordsBefore(layout, split)),
          file(isWriting ? std::make_unique<OutputFile>(output, place) : nullptr),
          writer(file.get()),
          reached(places.begin) {}

    const Part places;
    PartPlace place;  // before the file, which refers to it
    alignas(kCacheLine) RunCounters counts;
    alignas(kCacheLine) EntityFilter filter;
    std::unique_ptr<OutputFile> file;
    alignas(kCacheLine) DxfLineWriter writer;
    // How far the second thread has got, told every few records; this thread shows it.
    alignas(kCacheLine) std::atomic<std::uint64_t> reached;
};

// Only this thread talks to the window; the bar shows what both parts have done. Once its own
// part is done, this thread places the later one in the copy and, while it waits, copies into
// place what that part wrote before.
void OutputPass::replayInTwo(InputFile& input, const RecordLayout& layout, std::size_t split,
                             const std::string& output, DxfLineWriter& writer, EntityFilter& filter,
                             Progress& progress) {
    LaterPart later(*this, input, layout, split, output, writer.isWriting());
    OutputFile* const copy = writer.file();
    const auto onPlace = [&](std::uint64_t offset) {
        letWindowBreathe(m_window);
        progress.at(offset + later.reached.load(std::memory_order_relaxed) - later.places.begin);
    };
    {
        HelperThread writing(
            [&](const std::stop_token& stop) { writeLaterPart(input, layout, later, stop); });
        replayPart(input, layout, {0, split, 0, later.places.begin}, writer, filter, onPlace);
        if (copy != nullptr) {
            copy->place(later.place, copy->flushedSize());
        }
        waitForLaterPart(writing, later, filter, [&] {
            onPlace(later.places.begin);
            if (copy != nullptr) {
                copy->copyPlaced(later.place);
            }
        });
    }
    letWindowBreathe(m_window);  // the window shows the last counts before the copy is finished
    if (copy != nullptr) {
        const std::uint64_t end =
            later.place.at.load(std::memory_order_relaxed) + later.file->flushedSize();
        copy->copyPlaced(later.place);
        copy->resumeAt(end);
    }
    progress.at(layout.fileSize());
}

void OutputPass::writeLaterPart(InputFile& input, const RecordLayout& layout, LaterPart& later,
                                const std::stop_token& stop) {
    int untold = 0;
    replayPart(input, layout, later.places, later.writer, later.filter, [&](std::uint64_t offset) {
        throwIfStopped(stop);
        if (++untold == kPlacesPerTelling) {
            untold = 0;
            later.reached.store(offset, std::memory_order_relaxed);
        }
    });
}

// The earlier part ended well: what the later part counted up to its end, or up to its failure,
// is what one thread would have counted.
void OutputPass::waitForLaterPart(HelperThread& writing, const LaterPart& later,
                                  EntityFilter& filter, const std::function<void()>& breathe) {
    try {
        writing.wait(breathe);
    } catch (const DxfError&) {
        filter.addCounts(later.counts);
        throw;
    }
    filter.addCounts(later.counts);
}

template <class OnPlace>
void OutputPass::replayPart(InputFile& input, const RecordLayout& layout, const Part& part,
                            DxfLineWriter& writer, EntityFilter& filter, OnPlace&& onPlace) {
    ForwardReader reader(input);
    std::uint64_t copied = part.begin;  // everything before it is written or left out
    auto copyUpTo = [&](std::uint64_t end) {
        for (; copied < end && writer.isWriting(); copied += kStretch) {
            writer.writeBytes(reader.bytes(copied, std::min(kStretch, end - copied)));
        }
        copied = end;
    };
    EntityRecord record;
    for (std::size_t k = part.first; k < part.last; ++k) {
        const RecordLayout::Place& place = layout[k];
        const std::uint64_t offset = place.offset();
        onPlace(offset);
        const std::string_view type = place.typeName();
        filter.setRecordOffset(offset);
        const auto verdict = filter.verdictWithoutPairs(type);
        if (verdict == EntityFilter::VerdictWithoutPairs::Kept) {
            continue;
        }
        if (verdict == EntityFilter::VerdictWithoutPairs::Dropped) {
            copyUpTo(offset);
            copied = place.end();
            continue;
        }
        if (offset - copied > kStretch) {
            copyUpTo(offset);
        }
        // The record is read with what lies before it, which it may still join.
        const std::string_view stretch = reader.bytes(copied, place.end() - copied);
        const std::string_view before = stretch.substr(0, offset - copied);
        const std::string_view lines = stretch.substr(before.size());
        const std::size_t startEnd = lines.find("\r\n");
        const std::string_view startCode = lines.substr(0, startEnd);
        const std::size_t headSize = startCode.size() + type.size() + 4;  // two CR LFs
        bool isAsFirstRead =
            startEnd != std::string_view::npos && isGroupCode(startCode, 0) &&
            lines.size() >= headSize && lines.substr(startEnd + 2, type.size()) == type &&
            lines.substr(headSize - 2, 2) == "\r\n" && record.assign(lines.substr(headSize));
        if (!isAsFirstRead) {
            changedSinceFirstRead(input.path());
        }
        bool isKept = false;
        try {
            isKept = filter.keep(type, record, 0);
        } catch (const DxfError& error) {
            throw DxfError(error.kind(), input.path(), lineNumberDeciding(input, place),
                           error.reason());
        }
        if (isKept && !record.isChanged()) {
            continue;
        }
        writer.writeBytes(before);
        copied = place.end();
        if (isKept) {
            writeRecord(writer, startCode, type, record);
        }
    }
    onPlace(part.end);  // the window shows the last count before the copy is finished
    copyUpTo(part.end);
}

}  // namespace lintrel

#include "ReadLineRecords.h"

#include <memory>
#include <stdexcept>
#include <utility>

#include "DxfError.h"
#include "DxfLineReader.h"
#include "EntitySection.h"
#include "LineRecordReader.h"
#include "SectionParts.h"

namespace lintrel {
namespace {

// The rows and places of one part of a drawing read in parts.
struct LineRecordsPart {
    explicit LineRecordsPart(const RunOptions& options, bool placesRecords)
        : records(options, table, placesRecords ? &layout : nullptr) {}

    void take(EntitySection& section, const DxfLineReader& reader) {
        records.takeNext(section, reader);
    }

    LineTable table;
    RecordLayout layout;
    LineRecordReader records;
};

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

// The records after the head, read in parts by threads of their own.
void readInParts(const EntitySection& section, const DxfLineReader& reader,
                 const RunOptions& options, const std::vector<std::uint64_t>& laterFrom,
                 LineTable& table, RecordLayout* layout, const std::function<void()>& poll) {
    SectionParts<LineRecordsPart> parts(reader, options.recordTypes(), LineRecordReader::kPairsRead,
                                        [&](std::size_t, std::uint64_t) {
                                            return std::make_unique<LineRecordsPart>(
                                                options, layout != nullptr);
                                        });
    const auto walked = parts.walk(section, laterFrom, poll, [&](LineRecordsPart& part) {
        table.append(std::move(part.table));
        if (layout != nullptr) {
            layout->append(std::move(part.layout));
        }
    });
    if (layout != nullptr) {
        layout->complete(walked.end, walked.endsAllInCrLf);
    }
}

}  // namespace

void readLineRecords(const std::string& path, const RunOptions& options, LineTable& table,
                     RecordLayout* layout, const std::function<void()>& poll,
                     const ThreadBudget& threads, std::vector<std::uint64_t> laterFrom) {
    DxfLineReader reader(path);
    EntitySection section(reader, options.recordTypes(), LineRecordReader::kPairsRead);
    if (layout != nullptr) {
        layout->clear();
    }
    section.readHead([&](std::string_view) { poll(); });
    if (laterFrom.empty()) {
        laterFrom = evenSectionParts(section.nextItemOffset(), reader.size(), threads);
    }
    try {
        if (laterFrom.empty()) {
            readAlone(section, reader, options, table, layout, poll);
        } else {
            readInParts(section, reader, options, laterFrom, table, layout, poll);
        }
    } catch (const std::length_error& error) {
        throw DxfError(DxfError::Kind::Damaged, path, 0, error.what());
    }
}

}  // namespace lintrel

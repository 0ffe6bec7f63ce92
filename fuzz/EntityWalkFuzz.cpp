// The entity section walk on any bytes: it ends with every byte read or with DxfError, items
// start in order, and a kept record's pairs are whole lines of the file: all of them, or only
// those of the codes kept.
#include <cstdlib>
#include <string_view>
#include <vector>

#include "DxfError.h"
#include "DxfLineReader.h"
#include "EntitySection.h"
#include "FuzzBytes.h"

namespace {

void walk(const std::string& path, lintrel::RecordTypes types, lintrel::KeptPairs kept) {
    using namespace lintrel;
    DxfLineReader reader(path);
    EntitySection section(reader, types, kept);
    try {
        section.readHead([](std::string_view) {});
        std::uint64_t previous = 0;
        while (section.hasMore()) {
            std::uint64_t start = section.nextItemOffset();
            if (start < previous) {
                std::abort();
            }
            previous = start;
            if (section.next() == EntitySection::Item::Record) {
                if (section.recordOffset() != start || section.recordEnd() < start) {
                    std::abort();
                }
                const EntityRecord& record = section.record();
                // Its lines as read are its pairs, when it kept them all.
                if (record.keepsEveryPair()) {
                    std::vector<std::string_view> lines;
                    record.handOverLinesAsRead(
                        [&](std::string_view line) { lines.push_back(line); });
                    if (lines.size() != 2 * static_cast<std::size_t>(record.size())) {
                        std::abort();
                    }
                    for (int i = 0; i < record.size(); ++i) {
                        const auto at = 2 * static_cast<std::size_t>(i);
                        if (lines[at] != record.code(i) || lines[at + 1] != record.value(i)) {
                            std::abort();
                        }
                    }
                }
                for (int i = 0; i < record.size(); ++i) {
                    const auto code = static_cast<unsigned>(record.groupCode(i));
                    if (!record.keepsEveryPair() &&
                        (code >= 64 || ((kept.codes >> code) & 1U) == 0)) {
                        std::abort();
                    }
                    if (record.code(i).find_first_of("\r\n") != std::string_view::npos ||
                        record.value(i).find_first_of("\r\n") != std::string_view::npos) {
                        std::abort();
                    }
                }
            }
        }
        if (reader.position() != reader.size()) {
            std::abort();
        }
    } catch (const DxfError& error) {
        if (error.kind() != DxfError::Kind::Damaged) {
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    lintrel::fuzz::FuzzBytes bytes(data, size);
    lintrel::RecordTypes types{bytes.flag(), bytes.flag(), bytes.flag()};
    constexpr std::string_view kKeptTypes[] = {"", "LINE", "TEXT", "ARC"};
    lintrel::KeptPairs kept{kKeptTypes[bytes.below(std::size(kKeptTypes))]};
    kept.mayBeWritten = bytes.flag();
    if (bytes.flag()) {
        kept.codes = 0;
        for (int k = 0; k < 4; ++k) {
            kept.codes |= std::uint64_t{1} << bytes.below(64);
        }
    }
    lintrel::fuzz::MemoryFile file(bytes.rest());
    walk(file.path(), types, kept);
    return 0;
}

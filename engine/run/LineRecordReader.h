#pragma once

#include <optional>
#include <string_view>

#include "EntitySection.h"
#include "LineTable.h"
#include "RecordLayout.h"
#include "RunOptions.h"

namespace lintrel {

// Takes the items of an entity section into a line table: every LINE record becomes a row,
// corrected, oriented and ruled on its linetype and size. With a layout, every record with rules
// also gets its place there.
class LineRecordReader {
public:
    LineRecordReader(const RunOptions& options, LineTable& table, RecordLayout* layout)
        : m_options(options), m_table(table), m_layout(layout) {}

    // Reads the next item; throws DxfError(Damaged) at a coordinate that is no number.
    void takeNext(EntitySection& section, const DxfLineReader& reader);

private:
    void takeLine(const EntityRecord& record, const DxfLineReader& reader);

    const RunOptions& m_options;
    LineTable& m_table;
    RecordLayout* m_layout;
};

// The group code of a code line as the line pass reads it: an integer after leading blanks;
// false when the line holds none (such a group is ignored).
[[nodiscard]] bool readGroupCode(std::string_view line, int& code);

// The same, nothing when the line holds none. Inline, as roundedNumber() is, for the same stall.
[[nodiscard]] inline std::optional<int> groupCode(std::string_view line) {
    int code = 0;
    return readGroupCode(line, code) ? std::optional<int>(code) : std::nullopt;
}

}  // namespace lintrel

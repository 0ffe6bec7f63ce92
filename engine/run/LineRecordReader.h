#pragma once

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
    // The pairs a row is made of; a section read for them keeps no others.
    static constexpr KeptPairs kPairsRead{"LINE", KeptPairs::codesOf({6, 8, 10, 20, 11, 21}),
                                          false};

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

}  // namespace lintrel

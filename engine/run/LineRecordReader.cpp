#include "LineRecordReader.h"

#include <array>

#include "DxfError.h"
#include "EntityRules.h"
#include "Numbers.h"

namespace lintrel {
namespace {

std::string_view skipBlanks(std::string_view text) {
    text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
    return text;
}

}  // namespace

void LineRecordReader::takeNext(EntitySection& section, const DxfLineReader& reader) {
    if (section.next() != EntitySection::Item::Record) {
        return;
    }
    if (m_layout != nullptr) {
        m_layout->add(section.typeName(), section.recordOffset(), section.recordEnd());
    }
    if (section.typeName() == "LINE") {
        takeLine(section.record(), reader);
    }
}

void LineRecordReader::takeLine(const EntityRecord& record, const DxfLineReader& reader) {
    LineRow& row = m_table.append();
    NameTable& names = m_table.names();
    // The ends as the size rule reads them, from the very same pairs.
    std::array<double, 4> ends{};
    bool hasEnds = true;
    std::string_view lineType;  // the last group 6 as read, which the linetype rule reads
    for (int i = 0; i < record.size(); ++i) {
        const int code = record.groupCode(i);
        double* coordinate = nullptr;
        switch (code) {
            case 6:
                lineType = record.value(i);
                row.LineTypeName = names.intern(skipBlanks(lineType));
                break;
            case 8:
                row.LayerName = names.intern(skipBlanks(record.value(i)));
                break;
            case 10:
                coordinate = &row.X1;
                break;
            case 20:
                coordinate = &row.Y1;
                break;
            case 11:
                coordinate = &row.X2;
                break;
            case 21:
                coordinate = &row.Y2;
                break;
            default:
                break;
        }
        if (coordinate == nullptr) {
            continue;
        }
        const std::string_view value = skipBlanks(record.value(i));
        auto number = roundedNumber(value);
        if (!number) {
            throw DxfError(DxfError::Kind::Damaged, reader.path(), reader.lineNumber(),
                           "not a number: \"" + std::string(value) + "\"");
        }
        *coordinate = *number;
        if (int k = lineEndOf(code); k >= 0 && m_options.bySize) {
            // The size rule reads the value with its blanks, which only a rare one has.
            auto asRead =
                value.size() == record.value(i).size() ? number : roundedNumber(record.value(i));
            hasEnds = hasEnds && asRead.has_value();
            ends[static_cast<std::size_t>(k)] = asRead.value_or(0);
        }
    }
    row.ruling = hasEnds ? ruleLine(lineType, ends, m_options) : LineRuling::Undecided;
    correctAndOrient(row, m_options.lines.LineCorrection);
}

}  // namespace lintrel

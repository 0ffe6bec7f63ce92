#include "LineRecordReader.h"

#include <array>
#include <charconv>

#include "DxfError.h"
#include "EntityRules.h"
#include "Numbers.h"

namespace lintrel {
namespace {

// Fewer digits than this never overflow an int.
constexpr std::size_t kFewDigits = 9;

std::string_view skipBlanks(std::string_view text) {
    text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
    return text;
}

// The rare code line: from_chars after the blanks, then nothing but blanks.
bool readParsedGroupCode(std::string_view line, int& code) {
    line = skipBlanks(line);
    auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), code);
    return error == std::errc() && skipBlanks({end, line.size() - (end - line.data())}).empty();
}

}  // namespace

bool readGroupCode(std::string_view line, int& code) {
    // Nearly every code line is a few digits after blanks, read here at once; from_chars below
    // settles the rest (signs, long numbers, stray characters).
    std::size_t at = 0;
    while (at < line.size() && line[at] == ' ') {
        ++at;
    }
    const std::size_t digits = at;
    int value = 0;
    while (at < line.size() && at - digits < kFewDigits && line[at] >= '0' && line[at] <= '9') {
        value = value * 10 + (line[at] - '0');
        ++at;
    }
    if (at > digits && at - digits < kFewDigits && line.find_first_not_of(' ', at) == line.npos) {
        code = value;
        return true;
    }
    return readParsedGroupCode(line, code);
}

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
    for (int i = 0; i < record.size(); ++i) {
        auto code = groupCode(record.code(i));
        std::string_view value = skipBlanks(record.value(i));
        double* coordinate = nullptr;
        switch (code.value_or(0)) {
            case 6:
                row.LineTypeName = names.intern(value);
                break;
            case 8:
                row.LayerName = names.intern(value);
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
        auto number = roundedNumber(value);
        if (!number) {
            throw DxfError(DxfError::Kind::Damaged, reader.path(), reader.lineNumber(),
                           "not a number: \"" + std::string(value) + "\"");
        }
        *coordinate = *number;
        if (int k = lineEndOf(record.code(i)); k >= 0 && m_options.bySize) {
            // The size rule reads the value with its blanks, which only a rare one has.
            auto asRead =
                value.size() == record.value(i).size() ? number : roundedNumber(record.value(i));
            hasEnds = hasEnds && asRead.has_value();
            ends[static_cast<std::size_t>(k)] = asRead.value_or(0);
        }
    }
    row.ruling = hasEnds ? ruleLine(lineTypeOf(record), ends, m_options) : LineRuling::Undecided;
    correctAndOrient(row, m_options.lines.LineCorrection);
}

}  // namespace lintrel

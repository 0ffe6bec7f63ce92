#include "EntitySection.h"

#include "DxfError.h"
#include "LineEnds.h"

namespace lintrel {

void EntityRecord::setValue(int i, std::string_view value) {
    m_pairs[index(i)].value = Span::of(m_replaced.size(), value.size(), true);
    m_replaced.append(value);
    m_isChanged = true;
}

bool EntityRecord::assign(std::string_view lines) {
    clear();
    m_lines = lines.data();
    CrLfFinder lineEnds(lines);
    std::size_t at = 0;
    while (at < lines.size()) {
        const std::size_t codeEnd = lineEnds.next();
        const std::size_t valueEnd = codeEnd == std::string_view::npos ? codeEnd : lineEnds.next();
        if (valueEnd == std::string_view::npos) {
            return false;
        }
        const std::string_view code = lines.substr(at, codeEnd - at);
        int groupCode = kNoGroupCode;
        if (readGroupCode(code, groupCode) && groupCode == 0) {
            return false;
        }
        addPair(at, code.size(), groupCode, codeEnd + 2, valueEnd - codeEnd - 2);
        at = valueEnd + 2;
    }
    m_linesLength = lines.size();
    m_isReadInCrLf = true;
    return true;
}

void EntityRecord::clear() {
    m_size = 0;
    m_linesLength = 0;
    m_keepsEveryPair = true;
    m_replaced.clear();
    m_isChanged = false;
    m_isReadInCrLf = false;
}

bool RecordTypes::isRecord(std::string_view type) const {
    return isLine(type, "LINE") || isLine(type, "ARC") || isLine(type, "CIRCLE") ||
           isLine(type, "TEXT") || isLine(type, "MTEXT") ||
           (dimensions && isLine(type, "DIMENSION")) || (xlines && isLine(type, "XLINE")) ||
           (points && isLine(type, "POINT"));
}

bool EntitySection::isWhole() const {
    if (!m_isPastEof) {
        throw DxfError(DxfError::Kind::Damaged, m_reader.path(), m_reader.lineNumber(),
                       "the file ends before its EOF group");
    }
    return false;
}

EntitySection::Item EntitySection::next() {
    m_reader.unpin();
    if (m_hasPending) {
        m_hasPending = false;
        m_current ^= 1;
    } else if (m_isPastEof) {
        m_value = m_reader.readLine();
        return Item::Line;
    } else {
        // Pinned, so that the code line stays where it is while its value is read.
        m_reader.pin();
        const std::string_view code = m_reader.readLine();
        const std::size_t codeOffset = m_reader.pinnedOffsetOf(code);
        if (!isGroupCode(code, 0)) {
            m_value = m_reader.readLine();
            m_code = {m_reader.pinnedBase() + codeOffset, code.size()};
            return Item::Pair;
        }
        m_nextRecordOffset = m_reader.offsetOf(code);
        m_heads[m_current].code.assign(code);
        m_heads[m_current].type.assign(m_reader.readLine());
    }
    m_recordOffset = m_nextRecordOffset;
    const std::string& type = m_heads[m_current].type;
    m_isPastEof = isLine(type, "EOF");
    if (!m_types.isRecord(type)) {
        return Item::OtherRecordHead;
    }
    readRecord();
    return Item::Record;
}

void EntitySection::readRecord() {
    m_record.clear();
    const bool keepsPairs = m_kept.keepsRecord(m_heads[m_current].type);
    if (keepsPairs) {
        m_reader.pin();
    }
    // A drawing whose lines do not all end in CR LF is written pair by pair: every pair counts.
    // In locals: the stores of the pairs kept would have them read again at every pair.
    const bool keepsEveryCode =
        m_kept.codes == KeptPairs::kEveryCode || (m_kept.mayBeWritten && !m_reader.endsAllInCrLf());
    const std::uint64_t keptCodes = m_kept.codes;
    // The record ends at the next group 0, whose type line is read with it.
    m_reader.readPairs([&](std::string_view code, std::string_view value) {
        int groupCode = kNoGroupCode;
        if (readGroupCode(code, groupCode) && groupCode == 0) {
            m_nextRecordOffset = m_reader.offsetOf(code);
            Head& pending = m_heads[m_current ^ 1];
            pending.code.assign(code);
            pending.type.assign(value);
            if (keepsPairs) {
                m_record.m_linesLength = m_reader.pinnedOffsetOf(code);
            }
            return false;
        }
        const bool isKeptCode = keepsEveryCode || (static_cast<unsigned>(groupCode) < 64 &&
                                                   ((keptCodes >> groupCode) & 1U) != 0);
        if (keepsPairs && isKeptCode) {
            m_record.addPair(m_reader.pinnedOffsetOf(code), code.size(), groupCode,
                             m_reader.pinnedOffsetOf(value), value.size());
        }
        return true;
    });
    m_hasPending = true;
    m_record.m_lines = m_reader.pinnedBase();
    m_record.m_isReadInCrLf = keepsPairs && m_reader.endsAllInCrLf();
    m_record.m_keepsEveryPair = keepsPairs && keepsEveryCode;
}

}  // namespace lintrel

#include "EntitySection.h"

namespace lintrel {

void EntityRecord::setValue(int i, std::string_view value) {
    m_pairs[index(i)].value = {m_replaced.size(), value.size(), true};
    m_replaced.append(value);
}

void EntityRecord::clear() {
    m_pairs.clear();
    m_replaced.clear();
}

bool RecordTypes::isRecord(std::string_view type) const {
    return isLine(type, "LINE") || isLine(type, "ARC") || isLine(type, "CIRCLE") ||
           isLine(type, "TEXT") || isLine(type, "MTEXT") ||
           (dimensions && isLine(type, "DIMENSION")) || (xlines && isLine(type, "XLINE")) ||
           (points && isLine(type, "POINT"));
}

EntitySection::Item EntitySection::next() {
    m_reader.unpin();
    if (m_hasPending) {
        m_hasPending = false;
        m_type.swap(m_pendingType);
    } else {
        m_line = m_reader.readLine();
        if (!isLine(m_line, kRecordStart)) {
            return Item::Line;
        }
        m_type.assign(m_reader.readLine());
    }
    if (!m_types.isRecord(m_type)) {
        return Item::OtherRecordHead;
    }
    readRecord();
    return Item::Record;
}

void EntitySection::readRecord() {
    m_record.clear();
    bool keepsPairs = m_keptType.empty() || m_type == m_keptType;
    if (keepsPairs) {
        m_reader.pin();
    }
    for (;;) {
        std::string_view code = m_reader.readLine();
        if (isLine(code, kRecordStart)) {
            break;
        }
        if (!keepsPairs) {
            static_cast<void>(m_reader.readLine());
            continue;
        }
        // Offsets, not views: the next read may move the pinned lines within the buffer.
        EntityRecord::Span codeSpan{m_reader.pinnedOffsetOf(code), code.size(), false};
        std::string_view value = m_reader.readLine();
        m_record.m_pairs.push_back(
            {codeSpan, {m_reader.pinnedOffsetOf(value), value.size(), false}});
    }
    m_pendingType.assign(m_reader.readLine());
    m_hasPending = true;
    m_record.m_lines = m_reader.pinnedBase();
}

}  // namespace lintrel

#include "EntitySection.h"

namespace lintrel {

void EntityRecord::setValue(int i, std::string_view value) {
    m_pairs[index(i)].value = Span::of(m_replaced.size(), value.size(), true);
    m_replaced.append(value);
    m_isChanged = true;
}

bool EntityRecord::assign(std::string_view lines) {
    clear();
    m_lines = lines.data();
    std::size_t at = 0;
    auto nextLine = [&](Span& span) {
        std::size_t end = lines.find("\r\n", at);
        if (end == std::string_view::npos) {
            return false;
        }
        span = Span::of(at, end - at, false);
        at = end + 2;
        return true;
    };
    while (at < lines.size()) {
        Pair pair{};
        if (!nextLine(pair.code) || !nextLine(pair.value)) {
            return false;
        }
        m_pairs.push_back(pair);
    }
    return true;
}

void EntityRecord::clear() {
    m_pairs.clear();
    m_replaced.clear();
    m_isChanged = false;
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
        m_nextRecordOffset = m_reader.offsetOf(m_line);
        m_type.assign(m_reader.readLine());
    }
    m_recordOffset = m_nextRecordOffset;
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
            m_nextRecordOffset = m_reader.offsetOf(code);
            break;
        }
        if (!keepsPairs) {
            static_cast<void>(m_reader.readLine());
            continue;
        }
        // Offsets, not views: the next read may move the pinned lines within the buffer.
        const auto codeSpan =
            EntityRecord::Span::of(m_reader.pinnedOffsetOf(code), code.size(), false);
        std::string_view value = m_reader.readLine();
        m_record.m_pairs.push_back({codeSpan, EntityRecord::Span::of(m_reader.pinnedOffsetOf(value),
                                                                     value.size(), false)});
    }
    m_pendingType.assign(m_reader.readLine());
    m_hasPending = true;
    m_record.m_lines = m_reader.pinnedBase();
}

}  // namespace lintrel

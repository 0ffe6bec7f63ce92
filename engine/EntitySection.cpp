#include "EntitySection.h"

#include <array>

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

void EntitySection::readHead(const std::function<void(std::string_view)>& onLine) {
    // A table entry or block named ENTITIES must not start the section early.
    static constexpr std::array<std::string_view, 3> kOpening = {"  0", "SECTION", "  2"};
    std::array<std::string, 3> previous;
    for (;;) {
        std::string_view line = m_reader.readLine();
        onLine(line);
        if (isLine(line, "ENTITIES") && previous[0] == kOpening[0] && previous[1] == kOpening[1] &&
            previous[2] == kOpening[2]) {
            return;
        }
        previous[0] = std::move(previous[1]);
        previous[1] = std::move(previous[2]);
        previous[2].assign(line);
    }
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
        // Offsets, not views: the next read may move the pinned lines within the buffer.
        EntityRecord::Span codeSpan{m_reader.pinnedOffsetOf(code), code.size(), false};
        std::string_view value = m_reader.readLine();
        if (keepsPairs) {
            m_record.m_pairs.push_back(
                {codeSpan, {m_reader.pinnedOffsetOf(value), value.size(), false}});
        }
    }
    m_pendingType.assign(m_reader.readLine());
    m_hasPending = true;
    m_record.m_lines = m_reader.pinnedBase();
}

}  // namespace lintrel

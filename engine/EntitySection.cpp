#include "EntitySection.h"

#include <array>

namespace lintrel {

EntityRecord::Span EntityRecord::keep(std::string_view text) {
    Span span{m_bytes.size(), text.size()};
    m_bytes.append(text);
    return span;
}

void EntityRecord::append(std::string_view code, std::string_view value) {
    Span codeSpan = keep(code);
    m_pairs.push_back({codeSpan, keep(value)});
}

void EntityRecord::clear() {
    m_bytes.clear();
    m_pairs.clear();
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
    for (;;) {
        std::string_view code = m_reader.readLine();
        if (isLine(code, kRecordStart)) {
            m_pendingType.assign(m_reader.readLine());
            m_hasPending = true;
            return;
        }
        if (!keepsPairs) {
            static_cast<void>(m_reader.readLine());
            continue;
        }
        // The code is copied before the next read may move the reader's buffer.
        std::size_t before = m_record.size();
        m_record.append(code, {});
        m_record.setValue(static_cast<int>(before), m_reader.readLine());
    }
}

}  // namespace lintrel

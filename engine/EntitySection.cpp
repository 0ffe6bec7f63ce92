#include "EntitySection.h"

#include <array>

namespace lintrel {

GroupPair& EntityRecord::append() {
    if (static_cast<std::size_t>(m_count) == m_pairs.size()) {
        m_pairs.emplace_back();
    }
    return m_pairs[static_cast<std::size_t>(m_count++)];
}

bool RecordTypes::isRecord(std::string_view type) const {
    return type == "MTEXT" || type == "TEXT" || (type == "DIMENSION" && dimensions) ||
           (type == "XLINE" && xlines) || type == "LINE" || type == "ARC" || type == "CIRCLE" ||
           (type == "POINT" && points);
}

void EntitySection::readHead(const std::function<void(std::string_view)>& onLine) {
    // A table entry or block named ENTITIES must not start the section early.
    static constexpr std::array<std::string_view, 3> kOpening = {"  0", "SECTION", "  2"};
    std::array<std::string, 3> previous;
    for (;;) {
        std::string_view line = m_reader.readLine();
        onLine(line);
        if (line == "ENTITIES" && previous[0] == kOpening[0] && previous[1] == kOpening[1] &&
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
        if (m_line != kRecordStart) {
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
    for (;;) {
        std::string_view code = m_reader.readLine();
        if (code == kRecordStart) {
            m_pendingType.assign(m_reader.readLine());
            m_hasPending = true;
            return;
        }
        GroupPair& pair = m_record.append();
        pair.code.assign(code);
        pair.value.assign(m_reader.readLine());
    }
}

}  // namespace lintrel

#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "DxfLineReader.h"

namespace lintrel {

// One code/value pair of an entity record, both lines exactly as read.
struct GroupPair {
    std::string code;
    std::string value;
};

// The pairs of one entity record after its opening "  0" pair, up to the next code line "  0".
// Slots keep their capacity from record to record, so reading a record does not allocate.
class EntityRecord {
public:
    int size() const { return m_count; }
    GroupPair& operator[](int i) { return m_pairs[static_cast<std::size_t>(i)]; }
    const GroupPair& operator[](int i) const { return m_pairs[static_cast<std::size_t>(i)]; }
    void clear() { m_count = 0; }
    GroupPair& append();

private:
    std::vector<GroupPair> m_pairs;
    int m_count = 0;
};

// Which entity types are read as whole records (the others pass line by line). Both passes over a
// file must use the same choice, or they would count different LINE records.
struct RecordTypes {
    bool dimensions = false;  // DIMENSION, when Check6 deletes them
    bool xlines = false;      // XLINE, when Check8 deletes them
    bool points = false;      // POINT, when Check4 deletes them

    bool isRecord(std::string_view type) const;
};

// Walks a drawing as both passes see it: the head up to the ENTITIES landmark, then one item at a
// time: a single line, the head of a record of another type, or a whole record of a type above.
class EntitySection {
public:
    enum class Item { Line, OtherRecordHead, Record };

    EntitySection(DxfLineReader& reader, RecordTypes types) : m_reader(reader), m_types(types) {}

    // Hands every line up to and including the line "ENTITIES" that names the entity section
    // ("  0", "SECTION", "  2", "ENTITIES"); throws DxfError(Damaged) when there is none.
    void readHead(const std::function<void(std::string_view)>& onLine);

    // True while items remain.
    bool hasMore() { return m_hasPending || !m_reader.atEnd(); }
    // Reads the next item; throws DxfError(Damaged) when the file ends inside it.
    Item next();

    std::string_view line() const { return m_line; }          // Item::Line
    const std::string& typeName() const { return m_type; }    // the record heads
    EntityRecord& record() { return m_record; }                // Item::Record
    long lineNumber() const { return m_reader.lineNumber(); }

private:
    void readRecord();

    DxfLineReader& m_reader;
    RecordTypes m_types;
    std::string_view m_line;
    std::string m_type;
    std::string m_pendingType;  // the type name of the "  0" pair that ended the last record
    bool m_hasPending = false;
    EntityRecord m_record;
};

inline constexpr std::string_view kRecordStart = "  0";

}  // namespace lintrel

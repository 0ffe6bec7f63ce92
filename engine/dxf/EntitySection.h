#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "TextCompare.h"

#include "DxfLineReader.h"

namespace lintrel {

inline constexpr std::string_view kRecordStart = "  0";

// The pairs of one entity record after its opening "  0" pair, up to the next code line "  0",
// each line exactly as read. The lines stay where the reader read them; only replaced values are
// stored here, so reading a record copies nothing.
class EntityRecord {
public:
    int size() const { return static_cast<int>(m_pairs.size()); }
    std::string_view code(int i) const { return view(m_pairs[index(i)].code); }
    std::string_view value(int i) const { return view(m_pairs[index(i)].value); }
    void setValue(int i, std::string_view value);
    bool isChanged() const { return m_isChanged; }
    // Takes the pairs from the lines of a record as a CR LF drawing holds them, after its opening
    // pair; the record then points into `lines`. False when they are not whole pairs.
    bool assign(std::string_view lines);

private:
    friend class EntitySection;

    // 32 bits are room enough: the reader refuses to hold more than 256 MiB of lines at once, so
    // no record it hands over is longer. Half the size of two size_t keeps the many pairs of a
    // million records in fewer cache lines.
    struct Span {
        std::uint32_t offset;
        std::uint32_t length;
        bool isReplaced;  // in m_replaced rather than in the reader's buffer

        static Span of(std::size_t offset, std::size_t length, bool isReplaced) {
            return {static_cast<std::uint32_t>(offset), static_cast<std::uint32_t>(length),
                    isReplaced};
        }
    };
    struct Pair {
        Span code;
        Span value;
    };
    static std::size_t index(int i) { return static_cast<std::size_t>(i); }
    std::string_view view(Span span) const {
        return {(span.isReplaced ? m_replaced.data() : m_lines) + span.offset, span.length};
    }
    void clear();

    const char* m_lines = nullptr;  // the reader's pinned lines
    std::vector<Pair> m_pairs;
    std::string m_replaced;
    bool m_isChanged = false;
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

    // With a type to keep, records of the other types are read past without keeping their pairs.
    EntitySection(DxfLineReader& reader, RecordTypes types, std::string_view keptType = {})
        : m_reader(reader), m_types(types), m_keptType(keptType) {}

    // Hands every line up to and including the line "ENTITIES" that names the entity section
    // ("  0", "SECTION", "  2", "ENTITIES"); throws DxfError(Damaged) when there is none.
    template <class OnLine>
    void readHead(OnLine&& onLine) {
        // How many lines of "  0", "SECTION", "  2" have just been read in a row; a table entry or
        // block named ENTITIES must not start the section early.
        int opening = 0;
        for (;;) {
            std::string_view line = m_reader.readLine();
            onLine(line);
            if (opening == 3 && isLine(line, "ENTITIES")) {
                return;
            }
            bool continues =
                (opening == 1 && isLine(line, "SECTION")) || (opening == 2 && isLine(line, "  2"));
            opening = continues ? opening + 1 : isLine(line, kRecordStart) ? 1 : 0;
        }
    }

    // Where the next item starts in the file.
    std::uint64_t nextItemOffset() const {
        return m_hasPending ? m_nextRecordOffset : m_reader.position();
    }
    // How many lines lie before the next item.
    long linesBeforeNextItem() const { return m_reader.lineNumber() - (m_hasPending ? 2 : 0); }
    // True while items remain.
    bool hasMore() { return m_hasPending || !m_reader.atEnd(); }
    // Reads the next item; throws DxfError(Damaged) when the file ends inside it.
    Item next();

    std::string_view line() const { return m_line; }        // Item::Line
    const std::string& typeName() const { return m_type; }  // the record heads
    EntityRecord& record() { return m_record; }             // Item::Record, when its pairs are kept
    // Item::Record: where its "  0" line starts in the file, and where the "  0" line after it.
    std::uint64_t recordOffset() const { return m_recordOffset; }
    std::uint64_t recordEnd() const { return m_nextRecordOffset; }

private:
    void readRecord();

    DxfLineReader& m_reader;
    RecordTypes m_types;
    std::string_view m_keptType;
    std::string_view m_line;
    std::string m_type;
    std::string m_pendingType;  // the type name of the "  0" pair that ended the last record
    bool m_hasPending = false;
    std::uint64_t m_recordOffset = 0;
    std::uint64_t m_nextRecordOffset = 0;  // of the "  0" line that ended the last record
    EntityRecord m_record;
};

}  // namespace lintrel

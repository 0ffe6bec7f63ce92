#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "TextCompare.h"

#include "DxfLineReader.h"
#include "GroupCode.h"

namespace lintrel {

// The group code of a code line that holds none.
inline constexpr int kNoGroupCode = std::numeric_limits<int>::min();

// The pairs of one entity record after its opening group 0 pair, up to the next group 0 code
// line, each line exactly as read, each code also as the integer it holds. The lines stay where
// the reader read them; only replaced values are stored here, so reading a record copies nothing.
class EntityRecord {
public:
    int size() const { return static_cast<int>(m_size); }
    std::string_view code(int i) const {
        const Pair& pair = m_pairs[index(i)];
        return {m_lines + pair.codeOffset, pair.codeLength};
    }
    int groupCode(int i) const { return m_pairs[index(i)].groupCode; }  // kNoGroupCode for none
    std::string_view value(int i) const { return view(m_pairs[index(i)].value); }
    void setValue(int i, std::string_view value);
    bool isChanged() const { return m_isChanged; }
    // False when only some of its pairs were kept (KeptPairs): its lines are then written as read.
    bool keepsEveryPair() const { return m_keepsEveryPair; }
    // The record's lines as read, each ending in CR LF, while none was replaced and the reader
    // met no other line end so far; then they are what writing each pair gives.
    std::optional<std::string_view> linesAsRead() const {
        if (m_isChanged || !m_isReadInCrLf) {
            return std::nullopt;
        }
        return std::string_view(m_lines, m_linesLength);
    }
    // Hands the record's pairs over as lines ending in CR LF, to `lines` (bytes that hold their
    // line ends) and `line` (a line without its end), when they were read in CR LF: what lies
    // between replaced values as read, each replaced value alone. False otherwise, handing nothing.
    template <class Lines, class Line>
    bool handOverInCrLf(Lines lines, Line line) const {
        if (!m_isReadInCrLf) {
            return false;
        }
        std::size_t asRead = 0;  // what is handed over as read starts here
        for (std::size_t i = 0; i < m_size; ++i) {
            const Span value = m_pairs[i].value;
            if (!value.isReplaced) {
                continue;
            }
            // Up to the value, its code line included; the value read ended where the next pair
            // starts.
            const std::size_t valueStart = m_pairs[i].codeOffset + m_pairs[i].codeLength + 2;
            lines(std::string_view(m_lines + asRead, valueStart - asRead));
            line(view(value));
            asRead = i + 1 < m_size ? m_pairs[i + 1].codeOffset : m_linesLength;
        }
        lines(std::string_view(m_lines + asRead, m_linesLength - asRead));
        return true;
    }
    // Hands each of the record's lines as read to `line`, without its line end (CR LF, a lone CR or
    // a lone LF): what writing each of its pairs gives while none was replaced, whichever pairs
    // were kept.
    template <class Line>
    void handOverLinesAsRead(Line line) const {
        const std::string_view lines(m_lines, m_linesLength);
        std::size_t at = 0;
        while (at < lines.size()) {
            // Every line of a record ends within it.
            const std::size_t end = std::min(lines.find_first_of("\r\n", at), lines.size());
            line(lines.substr(at, end - at));
            const bool isCrLf =
                end + 1 < lines.size() && lines[end] == '\r' && lines[end + 1] == '\n';
            at = end + (isCrLf ? 2 : 1);
        }
    }
    // Takes the pairs from the lines of a record as a CR LF drawing holds them, after its opening
    // pair; the record then points into `lines`. False when they are not whole pairs or another
    // record starts among them.
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
    // Codes are never replaced, so their span needs no flag; the pair stays 24 bytes.
    struct Pair {
        std::uint32_t codeOffset;
        std::uint32_t codeLength;
        std::int32_t groupCode;
        Span value;
    };
    // Inline, with room that only grows: a million records add a dozen pairs each.
    void addPair(std::size_t codeOffset, std::size_t codeLength, int groupCode,
                 std::size_t valueOffset, std::size_t valueLength) {
        if (m_size == m_room) {
            m_pairs.resize(2 * m_size + 16);
            m_room = m_pairs.size();
        }
        m_pairs[m_size++] = {static_cast<std::uint32_t>(codeOffset),
                             static_cast<std::uint32_t>(codeLength), groupCode,
                             Span::of(valueOffset, valueLength, false)};
    }
    static std::size_t index(int i) { return static_cast<std::size_t>(i); }
    std::string_view view(Span span) const {
        return {(span.isReplaced ? m_replaced.data() : m_lines) + span.offset, span.length};
    }
    void clear();

    const char* m_lines = nullptr;  // the reader's pinned lines
    std::size_t m_linesLength = 0;
    std::vector<Pair> m_pairs;  // the first m_size hold this record's pairs
    std::size_t m_size = 0;
    std::size_t m_room = 0;  // m_pairs.size(), kept apart: a vector's size is a division
    std::string m_replaced;
    bool m_isChanged = false;
    bool m_isReadInCrLf = false;
    bool m_keepsEveryPair = true;
};

// Which entity types are read as whole records (the others pass line by line). Both passes over a
// file must use the same choice, or they would count different LINE records.
struct RecordTypes {
    bool dimensions = false;  // DIMENSION, when Check6 deletes them
    bool xlines = false;      // XLINE, when Check8 deletes them
    bool points = false;      // POINT, when Check4 deletes them

    bool isRecord(std::string_view type) const;
};

// Which pairs of the records are kept: of the records of `type` (of every record when it is
// empty), those with a group code among `codes` (as bits, for codes below 64), or all of them with
// kEveryCode. A record of another type keeps none. A record kept in part is written as its lines
// were read, never from its pairs; once the drawing has shown a line end other than CR LF, every
// pair of a record that may be written is kept, for its lines are then written pair by pair.
struct KeptPairs {
    static constexpr std::uint64_t kEveryCode = ~std::uint64_t{0};

    std::string_view type;
    std::uint64_t codes = kEveryCode;
    bool mayBeWritten = true;  // false where records are only read (the line table)

    static constexpr std::uint64_t codesOf(std::initializer_list<int> codes) {
        std::uint64_t bits = 0;
        for (const int code : codes) {
            bits |= std::uint64_t{1} << code;
        }
        return bits;
    }
    bool keepsRecord(std::string_view recordType) const {
        return type.empty() || recordType == type;
    }
};

// Walks a drawing as both passes see it: the head up to the ENTITIES landmark, then one item at a
// time: a group (code and value), the head of a record of another type, a whole record of a type
// above, or, after the EOF group, a single line. Code lines are read by the integer they hold, so
// a record starts at " 0" or "0" as at "  0"; every line is handed over exactly as read.
class EntitySection {
public:
    enum class Item { Pair, OtherRecordHead, Record, Line };

    EntitySection(DxfLineReader& reader, RecordTypes types, KeptPairs kept = {})
        : m_reader(reader), m_types(types), m_kept(kept) {}

    // Hands every line up to and including the line "ENTITIES" that names the entity section
    // (groups 0 "SECTION" and 2 "ENTITIES"); throws DxfError(Damaged) when there is none.
    template <class OnLine>
    void readHead(OnLine&& onLine) {
        // How many lines of group 0, "SECTION", group 2 have just been read in a row; a table entry
        // or block named ENTITIES must not start the section early.
        int opening = 0;
        for (;;) {
            std::string_view line = m_reader.readLine();
            onLine(line);
            if (opening == 3 && isLine(line, "ENTITIES")) {
                return;
            }
            bool continues =
                (opening == 1 && isLine(line, "SECTION")) || (opening == 2 && isGroupCode(line, 2));
            opening = continues ? opening + 1 : isGroupCode(line, 0) ? 1 : 0;
        }
    }

    // Where the next item starts in the file.
    std::uint64_t nextItemOffset() const {
        return m_hasPending ? m_nextRecordOffset : m_reader.position();
    }
    // How many lines lie before the next item.
    long linesBeforeNextItem() const { return m_reader.lineNumber() - (m_hasPending ? 2 : 0); }
    // True while items remain; throws DxfError(Damaged) at the end of a file that did not end
    // with the EOF group: it was cut short.
    bool hasMore() { return m_hasPending || !m_reader.atEnd() || isWhole(); }
    // True once the EOF group has been read: every item after it is a Line.
    bool isPastEof() const { return m_isPastEof; }
    // Reads the next item; throws DxfError(Damaged) when the file ends inside it.
    Item next();

    std::string_view code() const { return m_code; }    // Item::Pair, until the next read
    std::string_view value() const { return m_value; }  // Item::Pair, until the next read
    std::string_view line() const { return m_value; }   // Item::Line, until the next read
    // The record heads: the code line that opened the record, and its type name.
    const std::string& startCode() const { return m_heads[m_current].code; }
    const std::string& typeName() const { return m_heads[m_current].type; }
    EntityRecord& record() { return m_record; }  // Item::Record, when its pairs are kept
    // Item::Record: where its opening code line starts in the file, and where the one after it.
    std::uint64_t recordOffset() const { return m_recordOffset; }
    std::uint64_t recordEnd() const { return m_nextRecordOffset; }

private:
    void readRecord();
    bool isWhole() const;  // at the end of the file: false, or throws

    DxfLineReader& m_reader;
    RecordTypes m_types;
    KeptPairs m_kept;
    std::string_view m_code;
    std::string_view m_value;
    // The record heads: the current one, and the group 0 pair that ended the last record. A
    // pending head becomes the current one by a turn of m_current, not a copy.
    struct Head {
        std::string code;
        std::string type;
    };
    std::array<Head, 2> m_heads;
    std::size_t m_current = 0;
    bool m_hasPending = false;
    bool m_isPastEof = false;  // the EOF group has been read
    std::uint64_t m_recordOffset = 0;
    std::uint64_t m_nextRecordOffset = 0;  // of the code line that ended the last record
    EntityRecord m_record;
};

}  // namespace lintrel

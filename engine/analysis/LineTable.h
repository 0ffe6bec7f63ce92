#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "BlockVector.h"

namespace lintrel {

// The verdict the line analysis leaves for one LINE record.
enum class LineState : std::uint8_t { Kept = 0, Deleted = 1, Lengthened = 2 };

// What the linetype and size rules make of a LINE record as the line pass read it, so that the
// output pass need not read it again; a joined line is rewritten and judged then.
enum class LineRuling : std::uint8_t {
    Kept,
    ByLineType,  // deleted for its linetype
    BySize,      // deleted for its length
    Undecided,   // a value the size rule reads is no number: the output pass tells
};

// Layer and linetype names stored once each; rows hold small ids, equal names share one id.
class NameTable {
public:
    using Id = std::uint32_t;
    static constexpr Id kEmpty = 0;  // the empty name (a LINE without a linetype group)
    // Ids fit in this many bits; no drawing an int can number the rows of comes near so many names.
    static constexpr int kIdBits = 27;
    static constexpr Id kMostNames = Id{1} << kIdBits;

    NameTable();
    // Throws std::length_error rather than hand out an id of kIdBits or more bits.
    Id intern(std::string_view name);
    const std::string& name(Id id) const { return m_names[id]; }
    Id size() const { return static_cast<Id>(m_names.size()); }
    void clear();

private:
    static constexpr Id kNone = ~Id{0};
    Id lookUp(std::string_view name);

    std::vector<std::string> m_names;
    std::unordered_map<std::string, Id> m_ids;
    // The last two names looked up: a LINE asks for its layer, then for its linetype.
    std::array<Id, 2> m_recent{kNone, kNone};
};

// One LINE record of the file: its end points rounded to four decimals, its names and verdict.
// After correctAndOrient(): X1 >= X2, and Y1 >= Y2 when X1 == X2.
struct LineRow {
    double X1 = 0;
    double Y1 = 0;
    double X2 = 0;
    double Y2 = 0;
    NameTable::Id LayerName = NameTable::kEmpty;
    // The linetype shares its word with the verdict: a row of 40 bytes rather than 48 keeps a
    // million rows 8 MB smaller.
    NameTable::Id LineTypeName : NameTable::kIdBits = NameTable::kEmpty;
    LineState state : 2 = LineState::Kept;
    LineRuling ruling : 2 = LineRuling::Undecided;
    bool isJoinedPiece : 1 = false;  // Deleted as a piece another row took in, not as a duplicate

    bool isVertical() const { return X1 == X2; }  // zero-length lines count as vertical
    bool isHorizontal() const { return X1 != X2 && Y1 == Y2; }
    bool isSlanted() const { return X1 != X2 && Y1 != Y2; }
    bool isDeleted() const { return state == LineState::Deleted; }
};
static_assert(sizeof(LineRow) == 40);

// The LINE records of one file in file order, numbered from 1 like the records they describe.
class LineTable {
public:
    int size() const { return static_cast<int>(m_rows.size()); }  // LineCount
    LineRow& operator[](int n) { return m_rows[static_cast<std::size_t>(n - 1)]; }
    const LineRow& operator[](int n) const { return m_rows[static_cast<std::size_t>(n - 1)]; }
    LineRow& append() { return m_rows.emplace_back(); }
    // Appends the rows of another table, their names put in this table's terms; the other table
    // is left empty.
    void append(LineTable&& other);
    void clear();

    NameTable& names() { return m_names; }
    const NameTable& names() const { return m_names; }

    // The verdict for the n-th LINE record; records beyond the table are kept.
    LineState stateOf(int n) const {
        return n >= 1 && n <= size() ? (*this)[n].state : LineState::Kept;
    }

private:
    BlockVector<LineRow> m_rows;
    NameTable m_names;
};

// Moves the first-listed end onto the other end's X (or Y) when within the correction, then puts
// the right (or upper) end first.
void correctAndOrient(LineRow& row, double lineCorrection);

}  // namespace lintrel

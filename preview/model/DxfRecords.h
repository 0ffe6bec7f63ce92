#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "DrawingFile.h"

namespace lintrel::preview {

// One group of a record: its code as a number and its value line as it stands.
struct Group {
    int code = 0;
    std::string_view value;
};

// One record: the value of its "  0" group, where that group starts, and the groups after it.
struct Record {
    std::string_view type;
    std::uint64_t offset = 0;
    std::vector<Group> groups;
};

// Reads the records of a drawing one after the other: one held in memory, or a file read piece
// by piece into a window that moves along it. A code line that is no integer, or a file ending
// inside a group, ends the reading and marks the drawing damaged.
class RecordReader {
public:
    // A drawing's bytes are read from a file this many at a time.
    static constexpr std::size_t kWindow = std::size_t{1} << 20;

    explicit RecordReader(std::string_view bytes) : m_bytes(bytes) {}
    // `file` outlives the reader; `window` bytes of it are read at a time.
    explicit RecordReader(DrawingFile& file, std::size_t window = kWindow)
        : m_file(&file), m_window(window) {}

    // Reads the next record into `record` (its groups replaced); false at the end. The values of
    // the records read stay where they are until releaseRecordsRead().
    bool next(Record& record);
    // The records read so far are no longer looked at: the memory of the file's windows before may
    // go to the next ones.
    void releaseRecordsRead();
    bool isDamaged() const { return m_isDamaged; }

private:
    // Memory a window of the file is read into.
    struct Buffer {
        std::unique_ptr<char[]> bytes;
        std::size_t size = 0;
    };

    // The lines of this many bytes from the reading place have their ends found in one go.
    static constexpr std::size_t kIndexed = std::size_t{1} << 16;

    bool readLine(std::string_view& line);
    bool readGroup(Group& group, std::uint64_t& offset);
    // The group at the reading place, whose lines the index tells the ends of.
    bool readIndexedGroup(Group& group);
    // The group at the reading place when the index tells no ends of its lines (yet).
    bool readGroupAtLinesUnfound(Group& group, std::uint64_t& offset);
    // Finds where the lines from the reading place end, up to kIndexed bytes on.
    void indexLines();
    void forgetLineEnds() { m_endCount = m_nextEnd = 0; }
    void markDamaged();
    // Whether the window holds the group at the reading place whole, with what ends its lines.
    bool holdsGroup() const;
    // Reads on into the window, keeping what lies from m_keptFrom on; false at the file's end.
    bool readMore();

    std::string_view m_bytes;  // the window: the drawing's bytes from m_base on
    std::uint64_t m_base = 0;
    std::size_t m_at = 0;  // the reading place, in the window
    bool m_isDamaged = false;
    bool m_hasHead = false;  // the "  0" group of the next record is read already
    Group m_head;
    std::uint64_t m_headOffset = 0;
    DrawingFile* m_file = nullptr;  // none for a drawing held in memory
    std::size_t m_window = 0;
    std::uint64_t m_keptFrom = 0;  // where the records that may still be looked at start
    Buffer m_buffer;               // the window's memory
    Buffer m_spare;
    std::vector<Buffer> m_earlier;  // of earlier windows, kept while their records may be looked at
    // Where the next lines end, as offsets from m_indexFrom in the window: looking for each line's
    // end alone cost a mispredicted branch per line.
    std::unique_ptr<std::uint32_t[]> m_lineEnds;
    std::size_t m_indexFrom = 0;
    std::size_t m_endCount = 0;
    std::size_t m_nextEnd = 0;  // the end of the line at the reading place
};

// The groups of one record, read by code: the value of the first group with a code, or numbers
// from it. A value that should be a number and is not marks the record broken.
class Fields {
public:
    explicit Fields(const std::vector<Group>& groups);

    std::string_view text(int code) const;
    bool has(int code) const;
    double number(int code, double fallback = 0);
    int integer(int code, int fallback = 0);
    // A value as a number, marking the record broken when it is not one.
    double numberOf(std::string_view value);
    bool isBroken() const { return m_isBroken; }
    void markBroken() { m_isBroken = true; }

private:
    // The codes of an entity's own values (its points, sizes, angles, layer, colour and flags) are
    // asked for most: the first group of each is found at once.
    static constexpr int kListed = 80;
    // Most other codes asked for are not in a record: a bit per code (a few codes share one) tells
    // most of them without a look at every group. 61 is prime, so the codes a record mostly holds
    // get bits of their own.
    static std::uint64_t bitOf(int code) {
        constexpr unsigned kBits = 61;
        return std::uint64_t{1} << (static_cast<unsigned>(code) % kBits);
    }
    const Group* find(int code) const;

    const std::vector<Group>& m_groups;
    // The group of each such code the record holds, told by a bit of m_holds: a record holds a
    // few of them, and clearing two words costs less than marking every code absent.
    std::array<std::int32_t, kListed> m_firstOf;
    std::array<std::uint64_t, (kListed + 63) / 64> m_holds{};
    std::uint64_t m_mayHold = 0;
    bool m_isBroken = false;
};

}  // namespace lintrel::preview

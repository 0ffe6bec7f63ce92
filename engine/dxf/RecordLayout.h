#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "BlockVector.h"

namespace lintrel {

// Where the records of the types with rules lie in a drawing, as the line pass met them, so that
// the output pass need not read the drawing line by line again: it copies what lies between the
// records that change and reads only those.
class RecordLayout {
public:
    // The record types with rules, the only ones placed here.
    static constexpr std::array<std::string_view, 8> kTypes = {
        "LINE", "ARC", "CIRCLE", "TEXT", "MTEXT", "DIMENSION", "XLINE", "POINT"};

    // Twelve bytes, not sixteen: a million places take 4 MB less.
    struct Place {
        std::uint32_t offsetLow;
        // The type (into kTypes) in the low byte, bits 32 to 55 of the offset above it.
        std::uint32_t offsetHighAndType;
        std::uint32_t length;  // up to the "  0" line after it

        std::uint64_t offset() const {  // of its "  0" line
            return std::uint64_t{offsetHighAndType >> 8} << 32 | offsetLow;
        }
        std::string_view typeName() const { return kTypes[offsetHighAndType & 0xFF]; }
        std::uint64_t end() const { return offset() + length; }
    };
    static_assert(sizeof(Place) == 12);

    void clear() {
        m_places.clear();
        m_fits = true;
        m_isReplayable = false;
    }
    // A record of one of kTypes.
    void add(std::string_view type, std::uint64_t offset, std::uint64_t end);
    // The places of a layout of what follows in the same drawing; that layout is left empty.
    void append(RecordLayout&& later);
    // The line pass read the whole drawing. Only when every line ended in CR LF and every record
    // fitted in a place does what lies between the places read back exactly as the output pass
    // would write it.
    void complete(std::uint64_t fileSize, bool endsAllInCrLf) {
        m_fileSize = fileSize;
        m_isReplayable = m_fits && endsAllInCrLf;
    }

    bool isReplayable() const { return m_isReplayable; }
    // Every record of kTypes the line pass read has its place, whatever its lines end in.
    bool placesEveryRecord() const { return m_fits; }
    std::uint64_t fileSize() const { return m_fileSize; }
    std::size_t size() const { return m_places.size(); }
    const Place& operator[](std::size_t i) const { return m_places[i]; }
    // The first place whose record starts at or after the offset; size() for none.
    std::size_t firstPlaceFrom(std::uint64_t offset) const;

private:
    BlockVector<Place> m_places;
    std::uint64_t m_fileSize = 0;
    bool m_fits = true;
    bool m_isReplayable = false;
};

}  // namespace lintrel

#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "AciColours.h"
#include "DxfRecords.h"
#include "Geometry.h"
#include "TextDecoding.h"

namespace lintrel::preview {

// One piece of an entity's geometry in the entity's own coordinates. A piece holds only what its
// kind uses; the other fields stay as a new piece has them.
struct Piece {
    enum class Kind { Polyline, Conic, Spline, Text, Mark, XLine, Ray, Insert };
    Kind kind = Kind::Polyline;
    std::vector<Point> points;  // Polyline; Mark, XLine, Ray: the point (and the direction)
    bool isClosed = false;
    Conic conic;
    Spline spline;
    double height = 0;  // Text
    double radians = 0;
    std::string text;
    std::string block;  // Insert: the block's name, placed by `place`
    Affine place;

    bool operator==(const Piece&) const = default;
};

// An entity record (with the VERTEX, ATTRIB and SEQEND records after it) read into pieces.
struct ParsedEntity {
    std::string type;
    std::string layer;
    std::string lineType;
    std::uint64_t handle = 0;
    std::uint64_t offset = 0;
    int colourIndex = 256;  // 256 BYLAYER, 0 BYBLOCK
    std::optional<Rgb> trueColour;
    bool isModelSpace = true;
    bool isDrawable = true;  // false for a type not drawn or a value that is no number
    std::vector<Piece> pieces;
    // A LINE's ends, in place of its one piece: most entities of a large drawing are LINEs, and
    // the thread that adds them to the model finds their ends here, beside the rest of the
    // entity, instead of through two more pointers into memory the parsing thread has just
    // written.
    std::optional<std::array<Point, 2>> lineEnds;
};

// Reads the pieces of one entity into `entity`, every field overwritten and the room of its
// strings kept (a million entities are read through a few thousand); `followers` are
// the VERTEX / ATTRIB records of a POLYLINE or INSERT.
void parseEntity(const Record& record, const std::vector<Record>& followers,
                 const TextDecoding& decoding, ParsedEntity& entity);

}  // namespace lintrel::preview

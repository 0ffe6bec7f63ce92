#include "EntityPieces.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

namespace lintrel::preview {
namespace {

constexpr double kDegree = std::numbers::pi / 180;

Piece polyline(std::vector<Point> points, bool isClosed) {
    Piece piece;
    piece.points = std::move(points);
    piece.isClosed = isClosed;
    return piece;
}

Piece conic(const Conic& arc) {
    Piece piece;
    piece.kind = Piece::Kind::Conic;
    piece.conic = arc;
    return piece;
}

Piece spline(Spline curve) {
    Piece piece;
    piece.kind = Piece::Kind::Spline;
    piece.spline = std::move(curve);
    return piece;
}

Piece pointed(Piece::Kind kind, std::vector<Point> points) {
    Piece piece;
    piece.kind = kind;
    piece.points = std::move(points);
    return piece;
}

Point pointOf(Fields& fields, int xCode) {
    return {fields.number(xCode), fields.number(xCode + 10)};
}

// A polyline with bulges, as straight runs and arcs.
void addBulged(std::vector<Piece>& pieces, const std::vector<Point>& vertices,
               const std::vector<double>& bulges, bool isClosed) {
    if (vertices.size() < 2) {
        if (vertices.size() == 1) {
            pieces.push_back(polyline(vertices, false));
        }
        return;
    }
    const std::size_t sides = isClosed ? vertices.size() : vertices.size() - 1;
    std::vector<Point> run{vertices[0]};
    bool hasArc = false;
    for (std::size_t i = 0; i < sides; ++i) {
        const Point to = vertices[(i + 1) % vertices.size()];
        if (bulges[i] != 0) {
            hasArc = true;
            if (run.size() > 1) {
                pieces.push_back(polyline(run, false));
            }
            pieces.push_back(conic(bulgeArc(vertices[i], to, bulges[i])));
            run = {to};
        } else {
            run.push_back(to);
        }
    }
    if (run.size() > 1) {
        // A closed outline of straight sides stays one closed path.
        const bool isWhole = !hasArc && isClosed;
        if (isWhole) {
            run.pop_back();
        }
        pieces.push_back(polyline(run, isWhole));
    }
}

// A spline through fit points: a cubic Bezier piece between each two, tangents from the
// neighbours, written as a B-spline with triple inner knots.
Spline throughFitPoints(const std::vector<Point>& fit) {
    Spline curve;
    curve.degree = 3;
    const std::size_t n = fit.size() - 1;
    auto tangent = [&](std::size_t i) {
        const Point before = fit[i == 0 ? 0 : i - 1];
        const Point after = fit[i == n ? n : i + 1];
        const double share = (i == 0 || i == n) ? 1 : 0.5;
        return Point{(after.x - before.x) * share, (after.y - before.y) * share};
    };
    curve.knots = {0, 0, 0, 0};
    for (std::size_t i = 0; i < n; ++i) {
        const Point t0 = tangent(i);
        const Point t1 = tangent(i + 1);
        if (i == 0) {
            curve.control.push_back(fit[0]);
        }
        curve.control.push_back({fit[i].x + t0.x / 3, fit[i].y + t0.y / 3});
        curve.control.push_back({fit[i + 1].x - t1.x / 3, fit[i + 1].y - t1.y / 3});
        curve.control.push_back(fit[i + 1]);
        const auto knot = static_cast<double>(i + 1);
        curve.knots.insert(curve.knots.end(), i + 1 == n ? 4 : 3, knot);
    }
    return curve;
}

void parseSpline(Fields& fields, const std::vector<Group>& groups, std::vector<Piece>& pieces) {
    Spline curve;
    curve.degree = fields.integer(71, 3);
    std::vector<Point> fit;
    for (const Group& group : groups) {
        if (group.code == 40) {
            curve.knots.push_back(fields.numberOf(group.value));
        } else if (group.code == 41) {
            curve.weights.push_back(fields.numberOf(group.value));
        } else if (group.code == 10) {
            curve.control.push_back({fields.numberOf(group.value), 0});
        } else if (group.code == 20 && !curve.control.empty()) {
            curve.control.back().y = fields.numberOf(group.value);
        } else if (group.code == 11) {
            fit.push_back({fields.numberOf(group.value), 0});
        } else if (group.code == 21 && !fit.empty()) {
            fit.back().y = fields.numberOf(group.value);
        }
    }
    if (curve.isValid()) {
        pieces.push_back(spline(std::move(curve)));
    } else if (curve.control.empty() && fit.size() >= 2) {
        pieces.push_back(spline(throughFitPoints(fit)));
    } else if (!curve.control.empty()) {
        pieces.push_back(polyline(curve.control, false));
    }
}

void parseLwPolyline(Fields& fields, const std::vector<Group>& groups, std::vector<Piece>& pieces) {
    std::vector<Point> vertices;
    std::vector<double> bulges;
    for (const Group& group : groups) {
        if (group.code == 10) {
            vertices.push_back({fields.numberOf(group.value), 0});
            bulges.push_back(0);
        } else if (group.code == 20 && !vertices.empty()) {
            vertices.back().y = fields.numberOf(group.value);
        } else if (group.code == 42 && !vertices.empty()) {
            bulges.back() = fields.numberOf(group.value);
        }
    }
    addBulged(pieces, vertices, bulges, (fields.integer(70) & 1) != 0);
}

// A POLYLINE's vertices from its VERTEX records; false for meshes and polyface meshes.
bool parsePolyline(Fields& fields, const std::vector<Record>& followers,
                   std::vector<Piece>& pieces) {
    const int flags = fields.integer(70);
    if ((flags & (16 | 64)) != 0) {
        return false;
    }
    std::vector<Point> vertices;
    std::vector<double> bulges;
    for (const Record& vertex : followers) {
        if (vertex.type != "VERTEX") {
            continue;
        }
        Fields at(vertex.groups);
        if ((at.integer(70) & 16) != 0) {
            continue;  // a control point of a spline-fitted polyline, not on the curve
        }
        vertices.push_back(pointOf(at, 10));
        bulges.push_back(at.number(42));
        if (at.isBroken()) {
            fields.markBroken();
        }
    }
    addBulged(pieces, vertices, bulges, (flags & 1) != 0);
    return true;
}

// Walks a HATCH's groups in their order, skipping the groups it does not need.
class HatchCursor {
public:
    HatchCursor(Fields& fields, const std::vector<Group>& groups)
        : m_fields(fields), m_groups(groups) {}

    // The next group with this code, as a number; false when there is none.
    bool take(int code, double& value) {
        while (m_at < m_groups.size() && m_groups[m_at].code != code) {
            ++m_at;
        }
        if (m_at == m_groups.size()) {
            return false;
        }
        value = m_fields.numberOf(m_groups[m_at++].value);
        return true;
    }
    double take(int code) {
        double value = 0;
        m_isShort = !take(code, value) || m_isShort;
        return value;
    }
    int count(int code) { return static_cast<int>(take(code)); }
    // Passes the next group with this code without reading its value (a handle, say).
    void skip(int code) {
        while (m_at < m_groups.size() && m_groups[m_at].code != code) {
            ++m_at;
        }
        m_at = std::min(m_at + 1, m_groups.size());
    }
    Point point(int xCode) {
        const double x = take(xCode);
        return {x, take(xCode + 10)};
    }
    bool isShort() const { return m_isShort; }

private:
    Fields& m_fields;
    const std::vector<Group>& m_groups;
    std::size_t m_at = 0;
    bool m_isShort = false;
};

void hatchEdges(HatchCursor& cursor, std::vector<Piece>& pieces) {
    const int edges = cursor.count(93);
    for (int e = 0; e < edges && !cursor.isShort(); ++e) {
        const int kind = cursor.count(72);
        if (kind == 1) {
            const Point from = cursor.point(10);
            pieces.push_back(polyline({from, cursor.point(11)}, false));
        } else if (kind == 2) {
            const Point centre = cursor.point(10);
            const double radius = cursor.take(40);
            const double start = cursor.take(50);
            const double end = cursor.take(51);
            const bool isCounterClockwise = cursor.count(73) != 0;
            pieces.push_back(conic(
                isCounterClockwise ? circleArc(centre, radius, start * kDegree, end * kDegree)
                                   : circleArc(centre, radius, -end * kDegree, -start * kDegree)));
        } else if (kind == 3) {
            const Point centre = cursor.point(10);
            const Point major = cursor.point(11);
            const double ratio = cursor.take(40);
            double start = cursor.take(50) * kDegree;
            double end = cursor.take(51) * kDegree;
            if (cursor.count(73) == 0) {
                std::swap(start, end);
                start = -start;
                end = -end;
            }
            while (end < start) {
                end += 2 * std::numbers::pi;
            }
            pieces.push_back(
                conic({centre, major, {-major.y * ratio, major.x * ratio}, start, end}));
        } else if (kind == 4) {
            Spline curve;
            curve.degree = cursor.count(94);
            const bool isRational = cursor.count(73) != 0;
            cursor.count(74);
            const int knots = cursor.count(95);
            const int controls = cursor.count(96);
            for (int k = 0; k < knots && !cursor.isShort(); ++k) {
                curve.knots.push_back(cursor.take(40));
            }
            for (int k = 0; k < controls && !cursor.isShort(); ++k) {
                curve.control.push_back(cursor.point(10));
                if (isRational) {
                    curve.weights.push_back(cursor.take(42));
                }
            }
            if (curve.isValid()) {
                pieces.push_back(spline(std::move(curve)));
            }
        }
    }
}

void parseHatch(Fields& fields, const std::vector<Group>& groups, std::vector<Piece>& pieces) {
    HatchCursor cursor(fields, groups);
    const int paths = cursor.count(91);
    for (int p = 0; p < paths && !cursor.isShort(); ++p) {
        const int flags = cursor.count(92);
        if ((flags & 2) != 0) {
            const bool hasBulges = cursor.count(72) != 0;
            cursor.count(73);
            const int count = cursor.count(93);
            std::vector<Point> vertices;
            std::vector<double> bulges;
            for (int k = 0; k < count && !cursor.isShort(); ++k) {
                vertices.push_back(cursor.point(10));
                bulges.push_back(hasBulges ? cursor.take(42) : 0);
            }
            addBulged(pieces, vertices, bulges, true);  // a boundary is closed, flag or not
        } else {
            hatchEdges(cursor, pieces);
        }
        const int sources = cursor.count(97);
        for (int k = 0; k < sources; ++k) {
            cursor.skip(330);
        }
    }
}

Piece textPiece(Fields& fields, std::string text, bool isAligned) {
    Piece piece;
    piece.kind = Piece::Kind::Text;
    piece.points = {pointOf(fields, isAligned ? 11 : 10)};
    piece.height = fields.number(40, 1);
    piece.radians = fields.number(50) * kDegree;
    piece.text = std::move(text);
    return piece;
}

void parseText(Fields& fields, const TextDecoding& decoding, std::vector<Piece>& pieces) {
    const bool isAligned =
        (fields.integer(72) != 0 || fields.integer(73) != 0 || fields.integer(74) != 0) &&
        fields.has(11);
    pieces.push_back(textPiece(fields, plainText(decoding.decode(fields.text(1))), isAligned));
}

void parseMText(Fields& fields, const std::vector<Group>& groups, const TextDecoding& decoding,
                std::vector<Piece>& pieces) {
    std::string bytes;
    for (const Group& group : groups) {
        if (group.code == 3) {
            bytes.append(group.value);
        }
    }
    bytes.append(fields.text(1));
    Piece piece = textPiece(fields, plainMText(decoding.decode(bytes)), false);
    if (fields.has(11)) {
        piece.radians = std::atan2(fields.number(21), fields.number(11));
    }
    pieces.push_back(std::move(piece));
}

void parseInsert(Fields& fields, const std::vector<Record>& followers, const TextDecoding& decoding,
                 std::vector<Piece>& pieces) {
    const std::string name(fields.text(2));
    const Point at = pointOf(fields, 10);
    const double sx = fields.number(41, 1);
    const double sy = fields.number(42, 1);
    const double radians = fields.number(50) * kDegree;
    const int columns = std::max(1, fields.integer(70, 1));
    const int rows = std::max(1, fields.integer(71, 1));
    const double columnStep = fields.number(44);
    const double rowStep = fields.number(45);
    const Affine turn = Affine::placing({0, 0}, 1, 1, radians);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const Point shift = turn.map({c * columnStep, r * rowStep});
            Piece piece;
            piece.kind = Piece::Kind::Insert;
            piece.block = name;
            piece.place = Affine::placing({at.x + shift.x, at.y + shift.y}, sx, sy, radians);
            pieces.push_back(std::move(piece));
        }
    }
    for (const Record& attribute : followers) {
        Fields values(attribute.groups);
        if (attribute.type == "ATTRIB" && (values.integer(70) & 1) == 0) {
            parseText(values, decoding, pieces);
        }
    }
}

// Replaces the entity's geometry with the record's; false for a type that is not drawn.
bool parseGeometry(const Record& record, const std::vector<Record>& followers,
                   const TextDecoding& decoding, Fields& fields, ParsedEntity& entity) {
    const std::string_view type = record.type;
    const auto& groups = record.groups;
    std::vector<Piece>& pieces = entity.pieces;
    pieces.clear();
    entity.lineEnds.reset();
    if (type == "LINE") {
        entity.lineEnds = std::array<Point, 2>{pointOf(fields, 10), pointOf(fields, 11)};
        return true;
    }
    if (type == "CIRCLE") {
        pieces.push_back(
            conic(circleArc(pointOf(fields, 10), fields.number(40), 0, 2 * std::numbers::pi)));
    } else if (type == "ARC") {
        pieces.push_back(
            conic(circleArc(pointOf(fields, 10), fields.number(40), fields.number(50) * kDegree,
                            fields.number(51) * kDegree)));
    } else if (type == "ELLIPSE") {
        const Point major = pointOf(fields, 11);
        const double ratio = fields.number(40, 1);
        double end = fields.number(42, 2 * std::numbers::pi);
        const double start = fields.number(41);
        while (end <= start) {
            end += 2 * std::numbers::pi;
        }
        pieces.push_back(
            conic({pointOf(fields, 10), major, {-major.y * ratio, major.x * ratio}, start, end}));
    } else if (type == "LWPOLYLINE") {
        parseLwPolyline(fields, groups, pieces);
    } else if (type == "POLYLINE") {
        return parsePolyline(fields, followers, pieces);
    } else if (type == "SPLINE") {
        parseSpline(fields, groups, pieces);
    } else if (type == "POINT") {
        pieces.push_back(pointed(Piece::Kind::Mark, {pointOf(fields, 10)}));
    } else if (type == "XLINE" || type == "RAY") {
        const Point base = pointOf(fields, 10);
        const Point direction = pointOf(fields, 11);
        pieces.push_back(pointed(type == "XLINE" ? Piece::Kind::XLine : Piece::Kind::Ray,
                                 {base, {base.x + direction.x, base.y + direction.y}}));
    } else if (type == "SOLID" || type == "TRACE") {
        pieces.push_back(polyline(
            {pointOf(fields, 10), pointOf(fields, 11), pointOf(fields, 13), pointOf(fields, 12)},
            true));
    } else if (type == "HATCH") {
        parseHatch(fields, groups, pieces);
    } else if (type == "TEXT" || type == "ATTRIB") {
        parseText(fields, decoding, pieces);
    } else if (type == "MTEXT") {
        parseMText(fields, groups, decoding, pieces);
    } else if (type == "INSERT") {
        parseInsert(fields, followers, decoding, pieces);
    } else if (type == "DIMENSION") {
        Piece piece;
        piece.kind = Piece::Kind::Insert;
        piece.block = std::string(fields.text(2));
        pieces.push_back(std::move(piece));
    } else {
        return false;
    }
    return true;
}

// Entities in an object coordinate system seen from below (extrusion 0, 0, -1) are mirrored.
bool isSeenFromBelow(Fields& fields, std::string_view type) {
    const bool hasOcs = type == "ARC" || type == "CIRCLE" || type == "LWPOLYLINE" ||
                        type == "POLYLINE" || type == "INSERT" || type == "TEXT" ||
                        type == "SOLID" || type == "TRACE" || type == "HATCH";
    return hasOcs && fields.number(230, 1) < 0;
}

void mirror(std::vector<Piece>& pieces) {
    const Affine flip{-1, 0, 0, 1, 0, 0};
    for (Piece& piece : pieces) {
        for (Point& p : piece.points) {
            p = flip.map(p);
        }
        // Only what a piece of its kind holds: the rest stays as a new piece has it.
        switch (piece.kind) {
            case Piece::Kind::Conic:
                piece.conic = piece.conic.mapped(flip);
                break;
            case Piece::Kind::Spline:
                piece.spline = piece.spline.mapped(flip);
                break;
            case Piece::Kind::Insert:
                piece.place = flip.after(piece.place);
                break;
            case Piece::Kind::Text:
                piece.radians = std::numbers::pi - piece.radians;
                break;
            case Piece::Kind::Polyline:
            case Piece::Kind::Mark:
            case Piece::Kind::XLine:
            case Piece::Kind::Ray:
                break;
        }
    }
}

std::uint64_t hexHandle(std::string_view text) {
    std::uint64_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value, 16);
    return value;
}

}  // namespace

void parseEntity(const Record& record, const std::vector<Record>& followers,
                 const TextDecoding& decoding, ParsedEntity& entity) {
    entity.type.assign(record.type);
    entity.offset = record.offset;
    Fields fields(record.groups);
    entity.layer.assign(fields.text(8));
    entity.lineType.assign(fields.text(6));
    entity.handle = hexHandle(fields.text(5));
    entity.colourIndex = fields.integer(62, 256);
    entity.trueColour.reset();
    if (fields.has(420)) {
        entity.trueColour = static_cast<Rgb>(fields.integer(420)) & 0xFFFFFF;
    }
    entity.isModelSpace = fields.integer(67) == 0;
    entity.isDrawable = parseGeometry(record, followers, decoding, fields, entity);
    if (entity.isDrawable && isSeenFromBelow(fields, entity.type)) {
        mirror(entity.pieces);
    }
    if (fields.isBroken()) {
        entity.isDrawable = false;
        entity.pieces.clear();
        entity.lineEnds.reset();
    }
}

}  // namespace lintrel::preview

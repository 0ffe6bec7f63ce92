#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <stop_token>
#include <string>
#include <vector>

#include "AciColours.h"
#include "DecisionObserver.h"
#include "Geometry.h"
#include "HugePages.h"
#include "PathIndex.h"

namespace lintrel::preview {

// A full turn of an arc is drawn with this many straight pieces.
inline constexpr double kPiecesPerTurn = 96;

// One stroke of an entity: points joined by straight pieces, in drawing coordinates, or an arc
// of a conic drawn with kPiecesPerTurn pieces to a turn.
struct Path {
    std::uint32_t first = 0;  // into DrawingModel::points, or DrawingModel::conics
    std::uint32_t count = 0;  // of its points; an arc's when drawn
    Rgb colour = 0xFFFFFF;
    bool isClosed = false;
    bool isFaint = false;  // on a layer that is frozen or off
    bool isConic = false;
    std::uint32_t entity = 0;  // into DrawingModel::entities
    // The box around what is drawn of it, in single precision: enough to pass over what lies out
    // of view.
    Box box;
};

// A text shown at its insertion point.
struct TextItem {
    std::uint32_t entity = 0;  // into DrawingModel::entities
    Point at;
    double height = 0;
    double radians = 0;
    std::string text;  // UTF-8, lines split at '\n'
    Rgb colour = 0xFFFFFF;
    bool isFaint = false;
};

// How an entity is drawn beyond its paths.
enum class EntityShape : std::uint8_t {
    Paths,  // its paths and texts; a path of one point is a small cross
    XLine,  // infinite both ways: a line through its first point along the second minus the first
    Ray,    // infinite one way, from its first point
};

// One entity record of the ENTITIES section as it is drawn, and what the run decided for it.
struct Entity {
    static constexpr std::uint32_t kNotLengthened = UINT32_MAX;

    std::uint64_t offset = 0;  // of its "  0" line in the file
    std::uint64_t handle = 0;  // group 5 read as hexadecimal, 0 when absent
    double cutLength = 0;      // what a cutter travels along it; 0 for types not cut
    std::uint32_t type = 0;    // names into DrawingModel::names
    std::uint32_t layer = 0;
    std::uint32_t lineType = 0;
    Rgb colour = 0xFFFFFF;
    std::uint32_t firstPath = 0;
    std::uint32_t pathCount = 0;
    // A LINE the run stretched (and may have deleted): its ends then, in
    // DrawingModel::lengthenedEnds; kept apart, as a drawing has far fewer of them than entities.
    std::uint32_t lengthening = kNotLengthened;
    EntityShape shape = EntityShape::Paths;
    bool isModelSpace = true;  // group 67 absent or 0
    Verdict verdict = Verdict::Kept;

    bool isLengthened() const { return lengthening != kNotLengthened; }
};

// The axis-aligned box around what is drawn.
struct Extents {
    Point low{1, 1};
    Point high{0, 0};  // empty while low > high

    bool isEmpty() const { return low.x > high.x; }
    void add(Point p);
};

// The single-precision box around a non-empty extent, rounded outwards.
Box boxAround(const Extents& extents);

// Type, layer and linetype names, each stored once.
class Names {
public:
    std::uint32_t intern(std::string_view name);
    const std::string& operator[](std::uint32_t id) const { return m_names[id]; }

private:
    std::vector<std::string> m_names;
    std::map<std::string, std::uint32_t, std::less<>> m_ids;
};

// The index over a model's paths and the entities it leaves out (XLINE and RAY), built from the
// model without changing it: on another thread, while the model is drawn.
struct PathsIndexed {
    PathIndex index;
    std::vector<std::uint32_t> unbounded;
};

// A drawing read for the preview: its entities as paths and texts, what could not be drawn, and
// the run's decisions once given.
struct DrawingModel {
    // The large arrays of a long drawing, filled once from start to end: in huge pages, which
    // cost a page fault per 2 MiB instead of one per 4 KiB.
    HugeVector<Entity> entities;  // in file order
    Names names;
    HugeVector<Path> paths;
    HugeVector<Point> points;
    HugeVector<Conic> conics;  // kept as arcs, not points, as most are drawn as a dot or not at all
    HugeVector<TextItem> texts;
    HugeVector<std::array<double, 4>> lengthenedEnds;  // x1, y1, x2, y2 of a lengthened LINE
    std::map<std::string, int> notDrawn;               // type name -> count
    Extents extents;                                   // of everything but XLINE and RAY
    int insUnits = 0;                                  // $INSUNITS, 0 when unset
    int undecided = 0;                     // decisions told of records the model has no entity for
    PathIndex index;                       // over the paths of every entity but XLINE and RAY
    std::vector<std::uint32_t> unbounded;  // the XLINE and RAY entities, by number

    // The points of a path: in `points`, or an arc's worked out into `scratch`.
    const Point* pointsOf(const Path& path, std::vector<Point>& scratch) const;
    // The ends a lengthened entity was stretched to.
    const std::array<double, 4>& endsOf(const Entity& entity) const {
        return lengthenedEnds[entity.lengthening];
    }
    // The entity whose record starts at this offset, or nullptr.
    Entity* entityAt(std::uint64_t offset);
    // Builds `index` and `unbounded` once the boxes are final.
    void indexPaths();
    // Puts an index built of this model in place.
    void useIndex(PathsIndexed indexed);
};

// Asked to stop, it ends within a few steps of the build, with nothing indexed.
PathsIndexed indexPathsOf(const DrawingModel& model, const std::stop_token& stop = {});

// The "描画しない図形: 3DSOLID 4, ..." line, empty when everything was drawn.
std::string notDrawnLine(const DrawingModel& model);

inline constexpr std::string_view kNotDrawnCaption = "描画しない図形: ";

}  // namespace lintrel::preview

#include "DrawingReader.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <numbers>
#include <optional>
#include <span>

#include "BatchQueue.h"
#include "CacheLine.h"
#include "CleanRun.h"
#include "EntityPieces.h"
#include "HelperThread.h"
#include "Numbers.h"

namespace lintrel::preview {
namespace {

// After this many entities the model makes room for the rest of the section at once.
constexpr std::size_t kEntitiesSampled = 4096;
// Entities are handed from the thread that parses them to the one that builds the model in
// batches of this many, at most kBatchesAhead batches ahead.
constexpr std::size_t kBatch = 2048;
constexpr std::size_t kBatchesAhead = 4;

// A reading asked to stop notices within this many records.
constexpr std::uint64_t kRecordsBetweenStops = 4096;
// Inserts nested deeper than this are not followed.
constexpr int kDeepestInsert = 16;
constexpr int kPiecesPerSplineSpan = 16;

bool isCutType(std::string_view type) {
    return type == "LINE" || type == "ARC" || type == "CIRCLE" || type == "ELLIPSE" ||
           type == "LWPOLYLINE" || type == "POLYLINE" || type == "SPLINE";
}

bool isFollower(std::string_view type) {
    return type == "VERTEX" || type == "ATTRIB" || type == "SEQEND";
}

struct Layer {
    Rgb colour = 0xFFFFFF;
    bool isFaint = false;
};

struct Block {
    Point base;
    std::vector<ParsedEntity> entities;
};

// What a block's entities take from the insert that places them.
struct Inherited {
    Rgb colour = 0xFFFFFF;
    bool isFaint = false;
    std::string_view layer = "0";  // drawn on; held by the parsed entity that names it
};

// The id of the name an entity has in one of its fields (type, layer, linetype): mostly the name
// the entity before had there, which is told by one comparison.
class RecentName {
public:
    std::uint32_t idOf(const std::string& name, Names& names) {
        if (!m_id || name != m_name) {
            m_name = name;
            m_id = names.intern(name);
        }
        return *m_id;
    }

private:
    std::string m_name;
    std::optional<std::uint32_t> m_id;
};

// Builds the model record by record, section by section.
class ModelBuilder {
public:
    // A drawing of `size` bytes read by `reader`; `stop`, when asked, ends the reading with
    // RunInterrupted. With `awaited`, the entities are built on one thread until it is set.
    ModelBuilder(RecordReader reader, std::uint64_t size, std::stop_token stop = {},
                 const std::atomic<bool>* awaited = nullptr)
        : m_reader(std::move(reader)), m_size(size), m_stop(std::move(stop)), m_awaited(awaited) {}

    DrawingModel build();

private:
    bool nextRecord(Record& record);
    void countRecord();
    void readHeader(const Record& section);
    void readLayer(const Record& record);
    void parseWithFollowers(const Record& record, ParsedEntity& entity);
    void addEntity(const ParsedEntity& parsed);
    void emit(const ParsedEntity& parsed, const Affine& map, const Inherited& style,
              bool countsLength, int depth, Entity& entity);
    void emitPiece(const Piece& piece, const Affine& map, const Inherited& style, bool countsLength,
                   int depth, Entity& entity);
    void emitPoints(std::span<const Point> points, bool isClosed, const Affine& map,
                    const Inherited& style, bool countsLength, Entity& entity);
    void addPath(std::span<const Point> points, bool isClosed, const Inherited& style,
                 Entity& entity);
    void addAppendedPath(std::size_t first, bool isClosed, const Inherited& style, Entity& entity);
    void addConic(const Conic& conic, const Inherited& style, Entity& entity);
    void addStroke(Path path, const Extents& box, const Inherited& style, Entity& entity);
    Inherited styleOf(const ParsedEntity& parsed, const Inherited& inherited, int depth);
    const Layer& layerNamed(std::string_view name);
    void makeRoom(std::uint64_t offset);
    bool nextEntityRecord(Record& record);
    void readEntities();
    void readEntitiesOnTwoThreads();

    // What the thread that parses the entities works with.
    RecordReader m_reader;
    std::uint64_t m_size;  // of the drawing, in bytes
    std::stop_token m_stop;
    const std::atomic<bool>* m_awaited;
    std::uint64_t m_recordsRead = 0;
    Record m_pending;
    bool m_hasPending = false;
    std::vector<Record> m_followers;
    std::uint64_t m_entitiesStart = 0;  // where the ENTITIES section's records start
    TextDecoding m_decoding{"", true};
    std::string m_codePage;
    bool m_isUtf8 = false;
    // What the thread that adds the entities to the model writes as it goes: on cache lines
    // apart from the parsing thread's.
    alignas(kCacheLine) DrawingModel m_model;
    RecentName m_typeName;
    RecentName m_layerName;
    RecentName m_lineTypeName;
    Extents m_entityExtents;                 // of the entity being read
    std::vector<std::string> m_insertStack;  // the blocks being drawn, to cut cycles
    // The layers and blocks, read by both while the entities are read.
    alignas(kCacheLine) std::map<std::string, Layer, std::less<>> m_layers;
    std::map<std::string, Block, std::less<>> m_blocks;
    // Written by the adding thread, apart again.
    alignas(kCacheLine) std::map<std::string, Layer, std::less<>>::const_iterator m_lastLayer =
        m_layers.end();
};

bool ModelBuilder::nextRecord(Record& record) {
    if (m_hasPending) {
        std::swap(record, m_pending);
        m_hasPending = false;
        return true;
    }
    // What the model keeps of the records before (the section's and the block's names too) it
    // keeps in copies: their memory may go to the records that follow.
    m_reader.releaseRecordsRead();
    return m_reader.next(record);
}

void ModelBuilder::countRecord() {
    if (++m_recordsRead % kRecordsBetweenStops == 0) {
        throwIfStopped(m_stop);
    }
}

void ModelBuilder::readHeader(const Record& section) {
    std::string_view variable;
    for (const Group& group : section.groups) {
        if (group.code == 9) {
            variable = group.value;
        } else if (variable == "$ACADVER") {
            m_isUtf8 = group.value >= "AC1021";
        } else if (variable == "$DWGCODEPAGE") {
            m_codePage = std::string(group.value);
        } else if (variable == "$INSUNITS" && group.code == 70) {
            m_model.insUnits = static_cast<int>(parseDecimal(group.value).value_or(0));
        }
    }
    m_decoding = TextDecoding(m_codePage, m_isUtf8);
}

void ModelBuilder::readLayer(const Record& record) {
    Fields fields(record.groups);
    Layer layer;
    const int colour = fields.integer(62, 7);
    layer.colour = fields.has(420) ? static_cast<Rgb>(fields.integer(420)) & 0xFFFFFF
                                   : aciColour(std::abs(colour));
    layer.isFaint = colour < 0 || (fields.integer(70) & 1) != 0;
    m_layers[std::string(fields.text(2))] = layer;
}

void ModelBuilder::parseWithFollowers(const Record& record, ParsedEntity& entity) {
    m_followers.clear();
    const bool hasFollowers = record.type == "POLYLINE" ||
                              (record.type == "INSERT" && Fields(record.groups).integer(66) == 1);
    if (hasFollowers) {
        Record next;
        while (m_reader.next(next)) {
            if (!isFollower(next.type)) {
                m_pending = std::move(next);
                m_hasPending = true;
                break;
            }
            const bool isEnd = next.type == "SEQEND";
            m_followers.push_back(std::move(next));
            if (isEnd) {
                break;
            }
        }
    }
    parseEntity(record, m_followers, m_decoding, entity);
}

// Neighbours in a drawing mostly share their layer: the last one found is looked at first.
const Layer& ModelBuilder::layerNamed(std::string_view name) {
    static const Layer kUnlisted;
    if (m_lastLayer == m_layers.end() || m_lastLayer->first != name) {
        m_lastLayer = m_layers.find(name);
    }
    return m_lastLayer == m_layers.end() ? kUnlisted : m_lastLayer->second;
}

Inherited ModelBuilder::styleOf(const ParsedEntity& parsed, const Inherited& inherited, int depth) {
    // In a block, layer 0 stands for the insert's layer.
    const bool takesInsertLayer = depth > 0 && parsed.layer == "0";
    Inherited style;
    style.layer = takesInsertLayer ? inherited.layer : parsed.layer;
    const Layer& layer = layerNamed(style.layer);
    if (parsed.trueColour) {
        style.colour = *parsed.trueColour;
    } else if (parsed.colourIndex == 0) {
        style.colour = inherited.colour;
    } else if (parsed.colourIndex == 256) {
        style.colour = takesInsertLayer ? inherited.colour : layer.colour;
    } else {
        style.colour = aciColour(std::abs(parsed.colourIndex));
    }
    style.isFaint = inherited.isFaint || layer.isFaint;
    return style;
}

void ModelBuilder::addPath(std::span<const Point> points, bool isClosed, const Inherited& style,
                           Entity& entity) {
    const std::size_t first = m_model.points.size();
    m_model.points.insert(m_model.points.end(), points.begin(), points.end());
    addAppendedPath(first, isClosed, style, entity);
}

// The path of the model's points from `first` on, the last ones added.
void ModelBuilder::addAppendedPath(std::size_t first, bool isClosed, const Inherited& style,
                                   Entity& entity) {
    if (first == m_model.points.size()) {
        return;
    }
    Path path;
    path.first = static_cast<std::uint32_t>(first);
    path.count = static_cast<std::uint32_t>(m_model.points.size() - first);
    path.isClosed = isClosed;
    Extents box;
    for (std::size_t k = first; k < m_model.points.size(); ++k) {
        box.add(m_model.points[k]);
    }
    addStroke(path, box, style, entity);
}

void ModelBuilder::addConic(const Conic& conic, const Inherited& style, Entity& entity) {
    Path path;
    path.first = static_cast<std::uint32_t>(m_model.conics.size());
    path.count = static_cast<std::uint32_t>(conic.pieces(kPiecesPerTurn) + 1);
    path.isConic = true;
    const auto bounds = conic.bounds();
    Extents box;
    box.add({bounds[0], bounds[1]});
    box.add({bounds[2], bounds[3]});
    m_model.conics.push_back(conic);
    addStroke(path, box, style, entity);
}

void ModelBuilder::addStroke(Path path, const Extents& box, const Inherited& style,
                             Entity& entity) {
    path.colour = style.colour;
    path.isFaint = style.isFaint;
    path.entity = static_cast<std::uint32_t>(m_model.entities.size());
    path.box = boxAround(box);
    m_model.paths.push_back(path);
    m_entityExtents.add(box.low);
    m_entityExtents.add(box.high);
    ++entity.pathCount;
}

void ModelBuilder::emitPiece(const Piece& piece, const Affine& map, const Inherited& style,
                             bool countsLength, int depth, Entity& entity) {
    switch (piece.kind) {
        case Piece::Kind::Polyline:
        case Piece::Kind::Mark:
        case Piece::Kind::XLine:
        case Piece::Kind::Ray: {
            if (depth == 0 && piece.kind == Piece::Kind::XLine) {
                entity.shape = EntityShape::XLine;
            } else if (depth == 0 && piece.kind == Piece::Kind::Ray) {
                entity.shape = EntityShape::Ray;
            }
            emitPoints(piece.points, piece.isClosed, map, style, countsLength, entity);
            break;
        }
        case Piece::Kind::Conic: {
            const Conic image = piece.conic.mapped(map);
            if (countsLength) {
                entity.cutLength += image.length();
            }
            addConic(image, style, entity);
            break;
        }
        case Piece::Kind::Spline: {
            const Spline image = piece.spline.mapped(map);
            if (countsLength) {
                entity.cutLength += image.length();
            }
            addPath(image.sample(kPiecesPerSplineSpan), false, style, entity);
            break;
        }
        case Piece::Kind::Text: {
            TextItem text;
            text.entity = static_cast<std::uint32_t>(m_model.entities.size());
            text.at = map.map(piece.points.front());
            const Point up = map.mapVector({0, 1});
            text.height = piece.height * std::hypot(up.x, up.y);
            text.radians = piece.radians + std::atan2(map.b, map.a);
            text.text = piece.text;
            text.colour = style.colour;
            text.isFaint = style.isFaint;
            m_model.texts.push_back(std::move(text));
            break;
        }
        case Piece::Kind::Insert: {
            const auto found = m_blocks.find(piece.block);
            const bool isOnStack = std::find(m_insertStack.begin(), m_insertStack.end(),
                                             piece.block) != m_insertStack.end();
            if (found == m_blocks.end() || isOnStack || depth >= kDeepestInsert) {
                break;
            }
            m_insertStack.push_back(piece.block);
            const Affine inner =
                map.after(piece.place)
                    .after(Affine::moving({-found->second.base.x, -found->second.base.y}));
            for (const ParsedEntity& child : found->second.entities) {
                const bool childCounts =
                    countsLength && (isCutType(child.type) || child.type == "INSERT");
                emit(child, inner, styleOf(child, style, depth + 1), childCounts, depth + 1,
                     entity);
            }
            m_insertStack.pop_back();
            break;
        }
    }
}

// Mapped straight into the model: a vector of its own per piece cost an allocation per LINE.
void ModelBuilder::emitPoints(std::span<const Point> points, bool isClosed, const Affine& map,
                              const Inherited& style, bool countsLength, Entity& entity) {
    const std::size_t first = m_model.points.size();
    for (Point p : points) {
        m_model.points.push_back(map.map(p));
    }
    if (countsLength) {
        entity.cutLength += polylineLength(std::span(m_model.points).subspan(first), isClosed);
    }
    addAppendedPath(first, isClosed, style, entity);
}

// The pieces (or the LINE) of `parsed` drawn in its own `style`.
void ModelBuilder::emit(const ParsedEntity& parsed, const Affine& map, const Inherited& style,
                        bool countsLength, int depth, Entity& entity) {
    if (parsed.lineEnds) {
        emitPoints(*parsed.lineEnds, false, map, style, countsLength, entity);
    }
    for (const Piece& piece : parsed.pieces) {
        emitPiece(piece, map, style, countsLength, depth, entity);
    }
}

void ModelBuilder::addEntity(const ParsedEntity& parsed) {
    if (m_model.entities.size() == kEntitiesSampled) {
        makeRoom(parsed.offset);
    }
    Entity entity;
    entity.offset = parsed.offset;
    entity.type = m_typeName.idOf(parsed.type, m_model.names);
    entity.layer = m_layerName.idOf(parsed.layer, m_model.names);
    entity.lineType = m_lineTypeName.idOf(parsed.lineType, m_model.names);
    entity.handle = parsed.handle;
    entity.isModelSpace = parsed.isModelSpace;
    entity.firstPath = static_cast<std::uint32_t>(m_model.paths.size());
    m_entityExtents = Extents();
    if (!parsed.isDrawable) {
        ++m_model.notDrawn[parsed.type];
    } else {
        const bool countsLength =
            parsed.isModelSpace && (isCutType(parsed.type) || parsed.type == "INSERT");
        const Inherited style = styleOf(parsed, Inherited{}, 0);
        entity.colour = style.colour;
        emit(parsed, Affine{}, style, countsLength, 0, entity);
    }
    if (entity.shape == EntityShape::Paths && !m_entityExtents.isEmpty()) {
        m_model.extents.add(m_entityExtents.low);
        m_model.extents.add(m_entityExtents.high);
    }
    m_model.entities.push_back(entity);
}

// A long drawing's vectors would grow by doubling, copying each and holding both copies for a
// moment: the model's peak memory. The first entities tell how many the rest of the file holds.
void ModelBuilder::makeRoom(std::uint64_t offset) {
    const double perEntity = static_cast<double>(offset - m_entitiesStart) / kEntitiesSampled;
    const double scale = (static_cast<double>(m_size - m_entitiesStart) / perEntity) * 1.05 /
                         static_cast<double>(kEntitiesSampled);
    const auto room = [scale](auto& items) {
        items.reserve(static_cast<std::size_t>(static_cast<double>(items.size()) * scale) + 16);
    };
    room(m_model.entities);
    room(m_model.paths);
    room(m_model.points);
    room(m_model.conics);
    room(m_model.texts);
}

// The next record of the ENTITIES section; false at its end.
bool ModelBuilder::nextEntityRecord(Record& record) {
    if (!nextRecord(record)) {
        return false;
    }
    countRecord();
    if (record.type == "ENDSEC") {
        return false;
    }
    if (m_entitiesStart == 0) {
        m_entitiesStart = record.offset;
    }
    return true;
}

// While a run shares the cores, handing the entities to a helper costs more processor time than
// it saves (each one is written on one core and read on the other): this thread builds them
// itself until the model is awaited.
void ModelBuilder::readEntities() {
    if (m_awaited != nullptr) {
        ParsedEntity parsed;
        Record record;
        while (!m_awaited->load(std::memory_order_relaxed)) {
            if (!nextEntityRecord(record)) {
                return;
            }
            parseWithFollowers(record, parsed);
            addEntity(parsed);
        }
    }
    readEntitiesOnTwoThreads();
}

// Parsing an entity takes longer than adding it to the model: this thread parses the section's
// records while a helper adds them, in file order.
void ModelBuilder::readEntitiesOnTwoThreads() {
    BatchQueue<ParsedEntity> queue(kBatchesAhead);
    HelperThread builder([&](const std::stop_token& stop) {
        try {
            std::vector<ParsedEntity> batch;
            while (queue.pop(batch, stop)) {
                for (const ParsedEntity& parsed : batch) {
                    addEntity(parsed);
                }
            }
        } catch (...) {
            queue.abandon();
            throw;
        }
    });
    // A batch comes back with the entities the builder took: they are read over, their room kept.
    std::vector<ParsedEntity> batch;
    std::size_t filled = 0;
    Record record;
    bool isTaken = true;
    while (isTaken && nextEntityRecord(record)) {
        if (filled == batch.size()) {
            batch.reserve(kBatch);
            batch.emplace_back();
        }
        parseWithFollowers(record, batch[filled++]);
        if (filled == kBatch) {
            isTaken = queue.push(std::move(batch));
            batch = queue.returned();
            filled = 0;
        }
    }
    if (isTaken && filled > 0) {
        batch.resize(filled);
        queue.push(std::move(batch));
    }
    queue.close();
    builder.wait([] {});
}

DrawingModel ModelBuilder::build() {
    Record record;
    std::string section;
    std::string block;
    while (nextRecord(record)) {
        countRecord();
        if (record.type == "SECTION") {
            section = Fields(record.groups).text(2);
            if (section == "HEADER") {
                readHeader(record);
            } else if (section == "ENTITIES") {
                readEntities();
                section.clear();
            }
        } else if (record.type == "ENDSEC") {
            section.clear();
        } else if (section == "TABLES" && record.type == "LAYER") {
            readLayer(record);
        } else if (section == "BLOCKS" && record.type == "BLOCK") {
            Fields fields(record.groups);
            block = std::string(fields.text(2));
            m_blocks[block].base = {fields.number(10), fields.number(20)};
        } else if (section == "BLOCKS" && record.type == "ENDBLK") {
            block.clear();
        } else if (section == "BLOCKS" && !block.empty()) {
            parseWithFollowers(record, m_blocks[block].entities.emplace_back());
        }
    }
    for (const TextItem& text : m_model.texts) {
        m_model.extents.add(text.at);
    }
    return std::move(m_model);
}

}  // namespace

DrawingModel modelOf(std::string_view bytes) {
    return ModelBuilder(RecordReader(bytes), bytes.size()).build();
}

std::variant<DrawingModel, std::string> readDrawing(const std::string& path, std::stop_token stop,
                                                    const std::atomic<bool>* awaited) {
    DrawingFile file(path);
    return readDrawing(file, path, std::move(stop), awaited);
}

std::variant<DrawingModel, std::string> readDrawing(DrawingFile& file, const std::string& path,
                                                    std::stop_token stop,
                                                    const std::atomic<bool>* awaited) {
    const std::string shown = " " + std::filesystem::path(path).filename().string();
    if (!file.isOpen()) {
        return shown + std::string(kUnreadable);
    }
    DrawingModel model =
        ModelBuilder(RecordReader(file), file.size(), std::move(stop), awaited).build();
    switch (file.state()) {
        case DrawingFile::State::Unchanged:
            return model;
        case DrawingFile::State::Changed:
            return shown + std::string(kChangedWhileRead);
        case DrawingFile::State::Unreadable:
            break;
    }
    return shown + std::string(kUnreadable);
}

}  // namespace lintrel::preview

#include "ScenePainter.h"

#include <QFontMetricsF>
#include <QPaintEngine>
#include <QStringList>
#include <algorithm>
#include <future>
#include <thread>
#include <vector>

#include "CutLength.h"
#include "LineBuckets.h"
#include "RunDecisions.h"
#include "SceneLooks.h"

namespace lintrel::preview {
namespace {

constexpr double kSmallestText = 3;  // texts lower than this many pixels are not drawn
constexpr std::string_view kLegendCounts = "件";

// The strokes of one frame: what each path of the model adds to the buckets in a style.
class Strokes {
public:
    Strokes(const DrawingModel& model, const SceneStyle& style, LineBuckets& buckets)
        : m_model(model), m_looks(style), m_isDark(style.isDark), m_buckets(buckets) {}

    void addEntity(const Entity& entity) {
        for (std::uint32_t k = 0; k < entity.pathCount; ++k) {
            addPath(entity, entity.firstPath + k);
        }
    }

    void addPath(const Entity& entity, std::uint32_t number) {
        const Look& look = m_looks.of(entity);
        if (!look.isDrawn) {
            return;
        }
        const Path& path = m_model.paths[number];
        if (look.showsExtent) {
            // A lengthened line has one path; it is drawn as the line that stays instead.
            const auto& ends = m_model.endsOf(entity);
            m_buckets.addLine(bucketOf(look, path.colour, false), {ends[0], ends[1]},
                              {ends[2], ends[3]});
            return;
        }
        LineBuckets::Bucket& bucket = bucketOf(look, path.colour, path.isFaint);
        if (entity.shape != EntityShape::Paths && path.count == 2) {
            const Point* ends = m_model.pointsOf(path, m_scratch);
            m_buckets.addInfinite(bucket, ends[0], ends[1], entity.shape == EntityShape::Ray);
            return;
        }
        if (path.count == 1) {
            m_buckets.addMark(bucket, *m_model.pointsOf(path, m_scratch));
            return;
        }
        const LineBuckets::Reach reach = m_buckets.reachOf(path);
        if (reach != LineBuckets::Reach::Across) {
            if (reach == LineBuckets::Reach::Dot) {
                m_buckets.addDot(bucket, path);
            }
            return;
        }
        m_buckets.addPoints(bucket, m_model.pointsOf(path, m_scratch), path.count, path.isClosed);
    }

private:
    // Neighbours in the file mostly share their look and colour: the last one's bucket is kept.
    LineBuckets::Bucket& bucketOf(const Look& look, Rgb colour, bool isFaint) {
        if (&look != m_lastLook || colour != m_lastColour || isFaint != m_lastIsFaint) {
            m_lastLook = &look;
            m_lastColour = colour;
            m_lastIsFaint = isFaint;
            m_lastBucket = &m_buckets.of(look.colourOf(colour, isFaint, m_isDark));
        }
        return *m_lastBucket;
    }

    const DrawingModel& m_model;
    Looks m_looks;
    bool m_isDark;
    LineBuckets& m_buckets;
    const Look* m_lastLook = nullptr;
    Rgb m_lastColour = 0;
    bool m_lastIsFaint = false;
    LineBuckets::Bucket* m_lastBucket = nullptr;
    std::vector<Point> m_scratch;  // the points of the arc being drawn
};

// The part of the drawing a frame shows, grown by what a stroke may reach beyond its box.
Box shownBox(const Viewport& viewport, const QRectF& area) {
    const double slack = kMarkSize + kStrongWidth;
    const Point low = viewport.toDrawing(area.bottomLeft() + QPointF(-slack, slack));
    const Point high = viewport.toDrawing(area.topRight() + QPointF(slack, -slack));
    Extents shown;
    shown.add(low);
    shown.add(high);
    return boxAround(shown);
}

// Below this many entities to a thread, a frame gathers its strokes on one: starting another would
// cost more than it saves.
constexpr std::size_t kEntitiesPerThread = 20000;
// Each thread's buckets hold a bit per pixel for each colour they dot: a few threads at most.
constexpr unsigned kMostGatheringThreads = 8;

// How many threads gather the strokes of every entity: one per core on a large drawing.
std::size_t gatheringParts(const DrawingModel& model) {
    return std::clamp<std::size_t>(
        model.entities.size() / kEntitiesPerThread, 1,
        std::clamp(std::thread::hardware_concurrency(), 1U, kMostGatheringThreads));
}

// The strokes of every entity. On a large drawing each core gathers a stretch of the entities into
// buckets of its own, in stores[part] for each of `parts`; these are taken together in the
// entities' order, so the frame is the one a single thread paints.
void addEveryEntity(const DrawingModel& model, const SceneStyle& style, LineBuckets& buckets,
                    std::vector<LineBuckets::Store>& stores, std::size_t parts) {
    const std::size_t count = model.entities.size();
    const auto addStretch = [&](LineBuckets& into, std::size_t part) {
        Strokes strokes(model, style, into);
        for (std::size_t k = count * part / parts; k < count * (part + 1) / parts; ++k) {
            strokes.addEntity(model.entities[k]);
        }
    };
    std::vector<LineBuckets> later;
    later.reserve(parts - 1);
    // Declared after the buckets they fill, so that they are waited for before those go.
    std::vector<std::future<void>> gathering;
    for (std::size_t part = 1; part < parts; ++part) {
        later.push_back(buckets.alike(stores[part]));
        // Gathered on this thread when get() is called, where no thread can be started.
        gathering.push_back(std::async(std::launch::async | std::launch::deferred, addStretch,
                                       std::ref(later.back()), part));
    }
    addStretch(buckets, 0);
    for (std::size_t k = 0; k < later.size(); ++k) {
        gathering[k].get();
        buckets.takeFrom(later[k]);
    }
}

bool holdsWhole(const Box& shown, const Extents& extents) {
    return shown.lowX <= extents.low.x && shown.lowY <= extents.low.y &&
           shown.highX >= extents.high.x && shown.highY >= extents.high.y;
}

void paintTexts(QPainter& painter, const DrawingModel& model, const Viewport& viewport,
                const Looks& looks, bool isDark, const QRectF& area) {
    QFont font = painter.font();
    for (const TextItem& text : model.texts) {
        const double pixels = text.height * viewport.scale();
        const QPointF at = viewport.toDevice(text.at);
        if (pixels < kSmallestText ||
            !area.adjusted(-pixels * 50, -pixels * 50, pixels * 50, pixels * 50).contains(at)) {
            continue;
        }
        const Look& look = looks.of(model.entities[text.entity]);
        if (!look.isDrawn) {
            continue;
        }
        painter.setPen(QColor::fromRgba(look.colourOf(text.colour, text.isFaint, isDark)));
        font.setPixelSize(std::max(1, static_cast<int>(pixels)));
        painter.setFont(font);
        painter.save();
        painter.translate(at);
        painter.rotate(-text.radians * 180 / 3.141592653589793);
        const QStringList lines = QString::fromStdString(text.text).split(u'\n');
        for (int k = 0; k < lines.size(); ++k) {
            painter.drawText(QPointF(0, k * pixels * 1.5), lines[k]);
        }
        painter.restore();
    }
}

}  // namespace

void paintScene(QPainter& painter, const DrawingModel& model, const Viewport& viewport,
                const SceneStyle& style, const QRectF& area,
                std::vector<LineBuckets::Store>& stores) {
    painter.save();
    painter.setClipRect(area);
    painter.fillRect(area, backgroundColour(style.isDark));
    const Box shown = shownBox(viewport, area);
    const bool walksEveryEntity = model.index.isEmpty() || holdsWhole(shown, model.extents);
    const std::size_t parts = walksEveryEntity ? gatheringParts(model) : 1;
    stores.resize(std::max(stores.size(), parts));
    LineBuckets buckets(viewport, area, painter.paintEngine()->type() == QPaintEngine::Raster,
                        stores[0]);
    if (walksEveryEntity) {
        addEveryEntity(model, style, buckets, stores, parts);
    } else {
        Strokes strokes(model, style, buckets);
        model.index.query(model.paths, shown, [&](std::uint32_t number) {
            strokes.addPath(model.entities[model.paths[number].entity], number);
        });
        for (std::uint32_t number : model.unbounded) {
            strokes.addEntity(model.entities[number]);
        }
    }
    buckets.paint(painter);
    paintTexts(painter, model, viewport, Looks(style), style.isDark, area);
    painter.restore();
}

void paintScene(QPainter& painter, const DrawingModel& model, const Viewport& viewport,
                const SceneStyle& style, const QRectF& area) {
    std::vector<LineBuckets::Store> stores;
    paintScene(painter, model, viewport, style, area, stores);
}

void paintLegend(QPainter& painter, const Preview& preview, const QString& title,
                 const QRectF& area, bool isDark) {
    painter.save();
    painter.fillRect(area, backgroundColour(isDark).lighter(isDark ? 130 : 97));
    const QColor ink = isDark ? QColor(0xEE, 0xEE, 0xEE) : QColor(0x21, 0x21, 0x21);
    QFont font = painter.font();
    font.setPixelSize(14);
    painter.setFont(font);
    const double row = QFontMetricsF(font).height() * 1.4;
    QPointF at = area.topLeft() + QPointF(12, row);
    painter.setPen(ink);
    painter.drawText(at, title);
    at.ry() += row;
    if (!preview.failure.empty()) {
        painter.drawText(QRectF(at, area.bottomRight()), Qt::TextWordWrap,
                         QString::fromStdString(preview.failure));
        painter.restore();
        return;
    }
    for (Verdict verdict : kLegendOrder) {
        painter.fillRect(QRectF(at.x(), at.y() - row * 0.55, 18, row * 0.5),
                         verdictColour(verdict));
        painter.setPen(ink);
        painter.drawText(
            at + QPointF(26, 0),
            verdictCaption(verdict) +
                QString(" %1").arg(preview.verdicts[static_cast<std::size_t>(verdict)]) +
                QString::fromUtf8(kLegendCounts.data(), kLegendCounts.size()));
        at.ry() += row;
    }
    at.ry() += row / 2;
    const auto figures = cutLengthFigures(preview.cut, preview.model.insUnits);
    for (const std::string& line :
         {figures[0], figures[1], figures[2], notDrawnLine(preview.model)}) {
        painter.drawText(at, QString::fromStdString(line));
        at.ry() += row;
    }
    painter.restore();
}

}  // namespace lintrel::preview

#include "ScenePainter.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPaintEngine>
#include <QPen>
#include <QStringList>
#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <vector>

#include "CutLength.h"
#include "RunDecisions.h"

namespace lintrel::preview {
namespace {

constexpr int kFaintAlpha = 60;
constexpr int kJoinedPieceAlpha = 120;
constexpr double kMarkSize = 3;      // half the cross of a POINT, in pixels
constexpr double kSmallestText = 3;  // texts lower than this many pixels are not drawn
constexpr std::string_view kLegendCounts = "件";
constexpr int kStrongWidth = 2;  // pixels of what changed, drawn at full strength

bool isRemoved(Verdict verdict) {
    return verdict != Verdict::Kept && verdict != Verdict::Lengthened;
}

// A drawing colour as it shows on the background: white and near-white on a light one in black.
QRgb shownColour(Rgb rgb, bool isDark) {
    if (isDark) {
        return qRgb(qRed(rgb), qGreen(rgb), qBlue(rgb));
    }
    // Most entities share a colour with the one before; the lightness is worked out once for it.
    thread_local Rgb lastRgb = 0;
    thread_local bool wasDark = true;
    thread_local QRgb last = qRgb(0, 0, 0);
    if (rgb == lastRgb && isDark == wasDark) {
        return last;
    }
    const QColor colour = QColor::fromRgb(static_cast<QRgb>(rgb));
    lastRgb = rgb;
    wasDark = isDark;
    last = !isDark && colour.lightness() > 200 ? qRgb(0, 0, 0) : colour.rgb();
    return last;
}

// How the entities of one verdict are drawn in a view: not at all, or in a colour, and whether
// as their joined extent.
struct Look {
    bool isDrawn = false;
    bool usesOwnColour = true;
    QRgb colour = 0;
    int alpha = 255;
    bool showsExtent = false;

    // The colour of a stroke of this look, drawn in `own` unless the look has a colour.
    QRgb colourOf(Rgb own, bool isFaint, bool isDark) const {
        const QRgb rgb = usesOwnColour ? shownColour(own, isDark) : colour;
        return qRgba(qRed(rgb), qGreen(rgb), qBlue(rgb),
                     isFaint ? std::min(alpha, kFaintAlpha) : alpha);
    }
};

Look lookOf(Verdict verdict, bool isLengthened, const SceneStyle& style) {
    Look look;
    if (!style.isShown(verdict)) {
        return look;
    }
    look.isDrawn = true;
    switch (style.view) {
        case View::Before:
            break;
        case View::After:
            look.isDrawn = !isRemoved(verdict);
            look.showsExtent = isLengthened;
            break;
        case View::Changes:
            if (verdict == Verdict::Kept) {
                look.alpha = kFaintAlpha;
            } else {
                look.usesOwnColour = false;
                look.colour = verdictColour(verdict).rgb();
                look.alpha = verdict == Verdict::Joined ? kJoinedPieceAlpha : 255;
                look.showsExtent = verdict == Verdict::Lengthened;
            }
            break;
    }
    return look;
}

// The look of every verdict, lengthened or not, in one style: worked out once per frame.
class Looks {
public:
    explicit Looks(const SceneStyle& style) {
        for (std::size_t k = 0; k < m_looks.size(); ++k) {
            m_looks[k] = lookOf(static_cast<Verdict>(k / 2), k % 2 == 1, style);
        }
    }

    const Look& of(const Entity& entity) const {
        return m_looks[static_cast<std::size_t>(entity.verdict) * 2 +
                       (entity.isLengthened() ? 1 : 0)];
    }

private:
    std::array<Look, 2 * kLegendOrder.size()> m_looks;
};

// Lines gathered by colour, so that a frame changes its pen once per colour, not per entity.
class LineBuckets {
public:
    // The lines and dots of one colour, and the pixels where a dot of it lies already.
    struct Bucket {
        std::vector<QLineF> lines;
        std::vector<QPointF> dots;          // where pixels are not merged
        std::vector<std::uint32_t> pixels;  // dots on the area's pixels, row by row
        std::vector<bool> dotted;           // row by row over the area, made at the first dot
    };

    // On a raster device steps shorter than a pixel are merged and each pixel takes one dot of
    // a colour; a vector picture keeps them, as it may be enlarged.
    LineBuckets(const Viewport& viewport, const QRectF& area, bool isRaster)
        : m_viewport(viewport),
          m_area(area),
          m_isRaster(isRaster),
          m_width(std::max(0, static_cast<int>(std::ceil(area.width())))),
          m_height(std::max(0, static_cast<int>(std::ceil(area.height())))) {}

    // Faint colours are painted first, so that what changed lies on top.
    Bucket& of(QRgb colour) {
        // Neighbours in the file often differ in colour: the buckets found last are remembered
        // by a hash of their colour, in front of the ordered map.
        auto& [known, bucket] = m_recent[(colour ^ (colour >> 7) ^ (colour >> 17)) % kRecent];
        if (bucket == nullptr || known != colour) {
            known = colour;
            bucket = &m_buckets[{qAlpha(colour), colour}];
        }
        return *bucket;
    }

    // A line from p to q; a dot when it is shorter than a pixel.
    void addLine(Bucket& bucket, Point p, Point q) {
        const QPointF a = m_viewport.toDevice(p);
        const QPointF b = m_viewport.toDevice(q);
        if (m_isRaster && (b - a).manhattanLength() < 1) {
            addDotAt(bucket, a);
        } else {
            addOnDevice(bucket, a, b);
        }
    }

    // The pieces of a path; steps shorter than a pixel are taken together with the next.
    void addPoints(Bucket& bucket, const Point* points, std::uint32_t count, bool isClosed) {
        const QPointF first = m_viewport.toDevice(points[0]);
        QPointF from = first;
        for (std::uint32_t i = 1; i < count; ++i) {
            const QPointF to = m_viewport.toDevice(points[i]);
            if (m_isRaster && i + 1 < count && (to - from).manhattanLength() < 1) {
                continue;
            }
            addOnDevice(bucket, from, to);
            from = to;
        }
        if (isClosed && count > 2) {
            addOnDevice(bucket, from, first);
        }
    }

    void addOnDevice(Bucket& bucket, QPointF a, QPointF b) {
        if ((a.x() < m_area.left() && b.x() < m_area.left()) ||
            (a.x() > m_area.right() && b.x() > m_area.right()) ||
            (a.y() < m_area.top() && b.y() < m_area.top()) ||
            (a.y() > m_area.bottom() && b.y() > m_area.bottom())) {
            return;
        }
        bucket.lines.emplace_back(a, b);
    }

    // Where the path's box falls: out of the area, within a pixel, or across more.
    enum class Reach { Outside, Dot, Across };
    Reach reachOf(const Path& path) const {
        const QPointF low = m_viewport.toDevice({path.box.lowX, path.box.lowY});
        const QPointF high = m_viewport.toDevice({path.box.highX, path.box.highY});
        // A stroke two pixels wide shows a pixel beyond its box.
        if (high.x() < m_area.left() - 1 || low.x() > m_area.right() + 1 ||
            low.y() < m_area.top() - 1 || high.y() > m_area.bottom() + 1) {
            return Reach::Outside;
        }
        return high.x() - low.x() < 1 && low.y() - high.y() < 1 ? Reach::Dot : Reach::Across;
    }

    // A path within a pixel is a dot; dots of one colour on one pixel are drawn once.
    void addDot(Bucket& bucket, const Path& path) {
        addDotAt(bucket, m_viewport.toDevice({path.box.lowX, path.box.lowY}));
    }

    void addDotAt(Bucket& bucket, QPointF at) {
        const double x = std::floor(at.x() - m_area.left());
        const double y = std::floor(at.y() - m_area.top());
        if (m_isRaster && x >= 0 && y >= 0 && x < m_width && y < m_height) {
            if (bucket.dotted.empty()) {
                bucket.dotted.resize(static_cast<std::size_t>(m_width) * m_height);
            }
            const auto pixel = static_cast<std::uint32_t>(y) * static_cast<std::uint32_t>(m_width) +
                               static_cast<std::uint32_t>(x);
            if (!bucket.dotted[pixel]) {
                bucket.dotted[pixel] = true;
                bucket.pixels.push_back(pixel);
            }
            return;
        }
        bucket.dots.push_back(at);
    }

    void addMark(Bucket& bucket, Point p) {
        const QPointF at = m_viewport.toDevice(p);
        if (!m_area.adjusted(-kMarkSize, -kMarkSize, kMarkSize, kMarkSize).contains(at)) {
            return;
        }
        bucket.lines.emplace_back(at - QPointF(kMarkSize, kMarkSize),
                                  at + QPointF(kMarkSize, kMarkSize));
        bucket.lines.emplace_back(at - QPointF(kMarkSize, -kMarkSize),
                                  at + QPointF(kMarkSize, -kMarkSize));
    }

    // An infinite line through p along (q - p), both ways or (a ray) from p on, across the area.
    void addInfinite(Bucket& bucket, Point p, Point q, bool isRay) {
        const double length = std::hypot(q.x - p.x, q.y - p.y);
        if (length == 0) {
            return;
        }
        const Point centre = m_viewport.toDrawing(m_area.center());
        const double reach = (std::hypot(centre.x - p.x, centre.y - p.y) +
                              std::hypot(m_area.width(), m_area.height()) / m_viewport.scale()) /
                             length;
        const Point far{p.x + (q.x - p.x) * reach, p.y + (q.y - p.y) * reach};
        const Point back = isRay ? p : Point{p.x - (q.x - p.x) * reach, p.y - (q.y - p.y) * reach};
        bucket.lines.emplace_back(m_viewport.toDevice(back), m_viewport.toDevice(far));
    }

    void paint(QPainter& painter) const {
        QImage* const image = imageUnder(painter);
        for (const auto& [key, bucket] : m_buckets) {
            QPen pen(QColor::fromRgba(key.second));
            pen.setCosmetic(true);
            pen.setWidth(key.first == 255 ? kStrongWidth : 0);
            painter.setPen(pen);
            painter.drawLines(bucket.lines.data(), static_cast<int>(bucket.lines.size()));
            painter.drawPoints(bucket.dots.data(), static_cast<int>(bucket.dots.size()));
            if (image != nullptr) {
                blendDots(*image, bucket.pixels, key.second, key.first == 255 ? kStrongWidth : 1);
            } else {
                std::vector<QPointF> centres;
                centres.reserve(bucket.pixels.size());
                for (std::uint32_t pixel : bucket.pixels) {
                    centres.push_back(m_area.topLeft() +
                                      QPointF(pixel % m_width + 0.5, pixel / m_width + 0.5));
                }
                painter.drawPoints(centres.data(), static_cast<int>(centres.size()));
            }
        }
    }

private:
    // The opaque image the painter draws on one to one from the area's corner, or nullptr: a
    // dot is then blended into its pixels at a few nanoseconds, where QPainter takes far longer.
    QImage* imageUnder(QPainter& painter) const {
        if (painter.device() == nullptr || painter.device()->devType() != QInternal::Image ||
            painter.deviceTransform().type() != QTransform::TxNone ||
            m_area.topLeft() != m_area.topLeft().toPoint()) {
            return nullptr;
        }
        auto* image = static_cast<QImage*>(painter.device());
        const bool isOpaque = image->format() == QImage::Format_RGB32;
        const bool holdsArea = QRect(QPoint(0, 0), image->size()).contains(m_area.toAlignedRect());
        return isOpaque && holdsArea ? image : nullptr;
    }

    // Blends a colour over each listed pixel, and the pixels right and below it up to `size`.
    void blendDots(QImage& image, const std::vector<std::uint32_t>& pixels, QRgb colour,
                   int size) const {
        const int alpha = qAlpha(colour);
        const int left = static_cast<int>(m_area.left());
        const int top = static_cast<int>(m_area.top());
        const int right = static_cast<int>(std::ceil(m_area.right()));
        const int bottom = static_cast<int>(std::ceil(m_area.bottom()));
        const auto mix = [alpha](int over, int under) {
            return (over * alpha + under * (255 - alpha) + 127) / 255;
        };
        for (std::uint32_t pixel : pixels) {
            const int x0 = left + static_cast<int>(pixel % static_cast<std::uint32_t>(m_width));
            const int y0 = top + static_cast<int>(pixel / static_cast<std::uint32_t>(m_width));
            for (int y = y0; y < std::min(y0 + size, bottom); ++y) {
                auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
                for (int x = x0; x < std::min(x0 + size, right); ++x) {
                    const QRgb under = line[x];
                    line[x] =
                        qRgb(mix(qRed(colour), qRed(under)), mix(qGreen(colour), qGreen(under)),
                             mix(qBlue(colour), qBlue(under)));
                }
            }
        }
    }

    const Viewport& m_viewport;
    QRectF m_area;
    bool m_isRaster;
    int m_width;
    int m_height;
    static constexpr std::size_t kRecent = 64;
    std::map<std::pair<int, QRgb>, Bucket> m_buckets;  // by alpha, then colour
    std::array<std::pair<QRgb, Bucket*>, kRecent> m_recent{};
};

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
            m_buckets.addLine(m_buckets.of(look.colourOf(path.colour, false, m_isDark)),
                              {ends[0], ends[1]}, {ends[2], ends[3]});
            return;
        }
        auto& bucket = m_buckets.of(look.colourOf(path.colour, path.isFaint, m_isDark));
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

    const Looks& looks() const { return m_looks; }

private:
    const DrawingModel& m_model;
    Looks m_looks;
    bool m_isDark;
    LineBuckets& m_buckets;
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
                const SceneStyle& style, const QRectF& area) {
    painter.save();
    painter.setClipRect(area);
    painter.fillRect(area, backgroundColour(style.isDark));
    LineBuckets buckets(viewport, area, painter.paintEngine()->type() == QPaintEngine::Raster);
    Strokes strokes(model, style, buckets);
    const Box shown = shownBox(viewport, area);
    if (model.index.isEmpty() || holdsWhole(shown, model.extents)) {
        for (const Entity& entity : model.entities) {
            strokes.addEntity(entity);
        }
    } else {
        model.index.query(model.paths, shown, [&](std::uint32_t number) {
            strokes.addPath(model.entities[model.paths[number].entity], number);
        });
        for (std::uint32_t number : model.unbounded) {
            strokes.addEntity(model.entities[number]);
        }
    }
    buckets.paint(painter);
    paintTexts(painter, model, viewport, strokes.looks(), style.isDark, area);
    painter.restore();
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
    const auto counts = verdictCounts(preview.model);
    for (Verdict verdict : kLegendOrder) {
        painter.fillRect(QRectF(at.x(), at.y() - row * 0.55, 18, row * 0.5),
                         verdictColour(verdict));
        painter.setPen(ink);
        painter.drawText(at + QPointF(26, 0),
                         verdictCaption(verdict) +
                             QString(" %1").arg(counts[static_cast<std::size_t>(verdict)]) +
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

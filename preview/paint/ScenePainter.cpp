#include "ScenePainter.h"

#include <QFontMetricsF>
#include <QPen>
#include <QStringList>
#include <algorithm>
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
QColor shownColour(Rgb rgb, bool isDark) {
    // Most entities share a colour with the one before; the lightness is worked out once for it.
    thread_local Rgb lastRgb = 0;
    thread_local bool wasDark = true;
    thread_local QColor last = Qt::black;
    if (rgb == lastRgb && isDark == wasDark) {
        return last;
    }
    QColor colour = QColor::fromRgb(static_cast<QRgb>(rgb));
    lastRgb = rgb;
    wasDark = isDark;
    last = !isDark && colour.lightness() > 200 ? QColor(Qt::black) : colour;
    return last;
}

// How one entity is drawn in a view: not at all, or in a colour, and whether as its joined extent.
struct Look {
    bool isDrawn = false;
    bool usesOwnColour = true;
    QColor colour;
    bool isFaint = false;
    int alpha = 255;
    bool showsExtent = false;
};

Look lookOf(const Entity& entity, const SceneStyle& style) {
    Look look;
    if (!style.isShown(entity.verdict)) {
        return look;
    }
    look.isDrawn = true;
    switch (style.view) {
        case View::Before:
            break;
        case View::After:
            look.isDrawn = !isRemoved(entity.verdict);
            look.showsExtent = entity.isLengthened;
            break;
        case View::Changes:
            if (entity.verdict == Verdict::Kept) {
                look.alpha = kFaintAlpha;
            } else {
                look.usesOwnColour = false;
                look.colour = verdictColour(entity.verdict);
                look.alpha = entity.verdict == Verdict::Joined ? kJoinedPieceAlpha : 255;
                look.showsExtent = entity.verdict == Verdict::Lengthened;
            }
            break;
    }
    return look;
}

// Lines gathered by colour, so that a frame changes its pen once per colour, not per entity.
class LineBuckets {
public:
    LineBuckets(const Viewport& viewport, const QRectF& area)
        : m_viewport(viewport), m_area(area) {}

    // Faint colours are painted first, so that what changed lies on top.
    std::vector<QLineF>& of(QColor colour) {
        const std::pair<int, QRgb> key{colour.alpha(), colour.rgba()};
        if (m_last == nullptr || key != m_lastKey) {
            m_lastKey = key;
            m_last = &m_lines[key];
        }
        return *m_last;
    }

    // A piece from p to q, left out when it lies wholly on one side of the area.
    void add(std::vector<QLineF>& lines, Point p, Point q) {
        const QPointF a = m_viewport.toDevice(p);
        const QPointF b = m_viewport.toDevice(q);
        if ((a.x() < m_area.left() && b.x() < m_area.left()) ||
            (a.x() > m_area.right() && b.x() > m_area.right()) ||
            (a.y() < m_area.top() && b.y() < m_area.top()) ||
            (a.y() > m_area.bottom() && b.y() > m_area.bottom())) {
            return;
        }
        lines.emplace_back(a, b);
    }

    // Where the path's box falls: out of the area, within a pixel, or across more.
    enum class Reach { Outside, Dot, Across };
    Reach reachOf(const Path& path) const {
        const QPointF low = m_viewport.toDevice({path.lowX, path.lowY});
        const QPointF high = m_viewport.toDevice({path.highX, path.highY});
        // Single precision may round the box inwards by a little: a pixel of slack.
        if (high.x() < m_area.left() - 1 || low.x() > m_area.right() + 1 ||
            low.y() < m_area.top() - 1 || high.y() > m_area.bottom() + 1) {
            return Reach::Outside;
        }
        return high.x() - low.x() < 1 && low.y() - high.y() < 1 ? Reach::Dot : Reach::Across;
    }

    void addDot(std::vector<QLineF>& lines, const Path& path) {
        const QPointF at = m_viewport.toDevice({path.lowX, path.lowY});
        lines.emplace_back(at, at + QPointF(0.5, 0));
    }

    void addMark(std::vector<QLineF>& lines, Point p) {
        const QPointF at = m_viewport.toDevice(p);
        if (!m_area.adjusted(-kMarkSize, -kMarkSize, kMarkSize, kMarkSize).contains(at)) {
            return;
        }
        lines.emplace_back(at - QPointF(kMarkSize, kMarkSize), at + QPointF(kMarkSize, kMarkSize));
        lines.emplace_back(at - QPointF(kMarkSize, -kMarkSize),
                           at + QPointF(kMarkSize, -kMarkSize));
    }

    // An infinite line through p along (q - p), both ways or (a ray) from p on, across the area.
    void addInfinite(std::vector<QLineF>& lines, Point p, Point q, bool isRay) {
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
        lines.emplace_back(m_viewport.toDevice(back), m_viewport.toDevice(far));
    }

    void paint(QPainter& painter) const {
        for (const auto& [key, lines] : m_lines) {
            if (lines.empty()) {
                continue;
            }
            QPen pen(QColor::fromRgba(key.second));
            pen.setCosmetic(true);
            pen.setWidth(key.first == 255 ? kStrongWidth : 0);
            painter.setPen(pen);
            painter.drawLines(lines.data(), static_cast<int>(lines.size()));
        }
    }

private:
    const Viewport& m_viewport;
    QRectF m_area;
    std::map<std::pair<int, QRgb>, std::vector<QLineF>> m_lines;  // by alpha, then colour
    std::pair<int, QRgb> m_lastKey{};  // the colour asked for last, and its lines
    std::vector<QLineF>* m_last = nullptr;
};

QColor withAlpha(QColor colour, int alpha) {
    colour.setAlpha(std::min(colour.alpha(), alpha));
    return colour;
}

void addEntity(LineBuckets& buckets, const DrawingModel& model, const Entity& entity,
               const Look& look, bool isDark) {
    if (look.showsExtent) {
        const auto& ends = entity.lengthenedEnds;
        const Path& path = model.paths[entity.firstPath];
        const QColor colour = look.usesOwnColour ? shownColour(path.colour, isDark) : look.colour;
        buckets.add(buckets.of(withAlpha(colour, look.alpha)), {ends[0], ends[1]},
                    {ends[2], ends[3]});
        return;
    }
    for (std::uint32_t k = 0; k < entity.pathCount; ++k) {
        const Path& path = model.paths[entity.firstPath + k];
        QColor colour = look.usesOwnColour ? shownColour(path.colour, isDark) : look.colour;
        colour = withAlpha(colour, path.isFaint ? std::min(look.alpha, kFaintAlpha) : look.alpha);
        auto& lines = buckets.of(colour);
        const Point* points = model.points.data() + path.first;
        if (entity.shape != EntityShape::Paths && path.count == 2) {
            buckets.addInfinite(lines, points[0], points[1], entity.shape == EntityShape::Ray);
            continue;
        }
        if (path.count == 1) {
            buckets.addMark(lines, points[0]);
            continue;
        }
        const LineBuckets::Reach reach = buckets.reachOf(path);
        if (reach != LineBuckets::Reach::Across) {
            if (reach == LineBuckets::Reach::Dot) {
                buckets.addDot(lines, path);
            }
            continue;
        }
        for (std::uint32_t i = 1; i < path.count; ++i) {
            buckets.add(lines, points[i - 1], points[i]);
        }
        if (path.isClosed && path.count > 2) {
            buckets.add(lines, points[path.count - 1], points[0]);
        }
    }
}

void paintTexts(QPainter& painter, const DrawingModel& model, const Viewport& viewport,
                const SceneStyle& style, const QRectF& area) {
    QFont font = painter.font();
    for (const TextItem& text : model.texts) {
        const double pixels = text.height * viewport.scale();
        const QPointF at = viewport.toDevice(text.at);
        if (pixels < kSmallestText ||
            !area.adjusted(-pixels * 50, -pixels * 50, pixels * 50, pixels * 50).contains(at)) {
            continue;
        }
        const Entity& entity = model.entities[text.entity];
        const Look look = lookOf(entity, style);
        if (!look.isDrawn) {
            continue;
        }
        QColor colour = look.usesOwnColour ? shownColour(text.colour, style.isDark) : look.colour;
        painter.setPen(withAlpha(colour, text.isFaint ? kFaintAlpha : look.alpha));
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
    LineBuckets buckets(viewport, area);
    for (const Entity& entity : model.entities) {
        const Look look = lookOf(entity, style);
        if (look.isDrawn && (entity.pathCount > 0)) {
            addEntity(buckets, model, entity, look, style.isDark);
        }
    }
    buckets.paint(painter);
    paintTexts(painter, model, viewport, style, area);
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

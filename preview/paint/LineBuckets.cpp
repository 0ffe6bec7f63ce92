#include "LineBuckets.h"

#include <QPen>
#include <algorithm>

namespace lintrel::preview {

LineBuckets::LineBuckets(const Viewport& viewport, const QRectF& area, bool isRaster, Store& store)
    : m_viewport(viewport),
      m_area(area),
      m_isRaster(isRaster),
      m_width(std::max(0, static_cast<int>(std::ceil(area.width())))),
      m_height(std::max(0, static_cast<int>(std::ceil(area.height())))),
      m_buckets(store) {
    for (auto& [key, bucket] : m_buckets) {
        empty(bucket);
    }
}

void LineBuckets::empty(Bucket& bucket) const {
    bucket.lines.clear();
    bucket.dots.clear();
    if (bucket.dotted.size() != static_cast<std::size_t>(m_width) * m_height) {
        bucket.dotted.clear();
    } else if (bucket.pixels.size() < bucket.dotted.size() / 64) {
        // A colour that dots few pixels: their bits, not the whole map's words.
        for (std::uint32_t pixel : bucket.pixels) {
            bucket.dotted[pixel] = false;
        }
    } else {
        std::fill(bucket.dotted.begin(), bucket.dotted.end(), false);
    }
    bucket.pixels.clear();
}

void LineBuckets::addLine(Bucket& bucket, Point p, Point q) {
    const QPointF a = m_viewport.toDevice(p);
    const QPointF b = m_viewport.toDevice(q);
    if (m_isRaster && (b - a).manhattanLength() < 1) {
        addDotAt(bucket, a);
    } else {
        addOnDevice(bucket, a, b);
    }
}

void LineBuckets::addPoints(Bucket& bucket, const Point* points, std::uint32_t count,
                            bool isClosed) {
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

void LineBuckets::addOnDevice(Bucket& bucket, QPointF a, QPointF b) {
    if ((a.x() < m_area.left() && b.x() < m_area.left()) ||
        (a.x() > m_area.right() && b.x() > m_area.right()) ||
        (a.y() < m_area.top() && b.y() < m_area.top()) ||
        (a.y() > m_area.bottom() && b.y() > m_area.bottom())) {
        return;
    }
    bucket.lines.emplace_back(a, b);
}

void LineBuckets::addMark(Bucket& bucket, Point p) {
    const QPointF at = m_viewport.toDevice(p);
    if (!m_area.adjusted(-kMarkSize, -kMarkSize, kMarkSize, kMarkSize).contains(at)) {
        return;
    }
    bucket.lines.emplace_back(at - QPointF(kMarkSize, kMarkSize),
                              at + QPointF(kMarkSize, kMarkSize));
    bucket.lines.emplace_back(at - QPointF(kMarkSize, -kMarkSize),
                              at + QPointF(kMarkSize, -kMarkSize));
}

void LineBuckets::addInfinite(Bucket& bucket, Point p, Point q, bool isRay) {
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

void LineBuckets::paint(QPainter& painter) const {
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
                const std::uint32_t row = pixel / static_cast<std::uint32_t>(m_width);
                const std::uint32_t column = pixel % static_cast<std::uint32_t>(m_width);
                centres.push_back(m_area.topLeft() + QPointF(column + 0.5, row + 0.5));
            }
            painter.drawPoints(centres.data(), static_cast<int>(centres.size()));
        }
    }
}

void LineBuckets::takeFrom(LineBuckets& later) {
    for (auto& [key, theirs] : later.m_buckets) {
        if (theirs.lines.empty() && theirs.dots.empty() && theirs.pixels.empty()) {
            continue;  // a colour of an earlier frame
        }
        Bucket& mine = m_buckets[key];
        mine.lines.reserve(mine.lines.size() + theirs.lines.size());
        mine.lines.insert(mine.lines.end(), theirs.lines.begin(), theirs.lines.end());
        mine.dots.insert(mine.dots.end(), theirs.dots.begin(), theirs.dots.end());
        for (std::uint32_t pixel : theirs.pixels) {
            dotPixel(mine, pixel);
        }
        empty(theirs);
    }
}

QImage* LineBuckets::imageUnder(QPainter& painter) const {
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

void LineBuckets::blendDots(QImage& image, const HugeVector<std::uint32_t>& pixels, QRgb colour,
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
                line[x] = qRgb(mix(qRed(colour), qRed(under)), mix(qGreen(colour), qGreen(under)),
                               mix(qBlue(colour), qBlue(under)));
            }
        }
    }
}

}  // namespace lintrel::preview

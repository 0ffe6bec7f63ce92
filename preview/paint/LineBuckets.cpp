#include "LineBuckets.h"

#include <QPen>
#include <algorithm>
#include <bit>
#include <functional>

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
    if (bucket.dotted.size() != dottedWords()) {
        bucket.dotted.clear();
    } else if (bucket.hasDots) {
        std::fill(bucket.dotted.begin(), bucket.dotted.end(), 0);
    }
    bucket.hasDots = false;
}

template <class At>
void LineBuckets::forEachDot(const Bucket& bucket, At at) const {
    if (!bucket.hasDots) {
        return;
    }
    // The bits come in the pixels' order: the row is followed along, without a division each.
    std::uint32_t row = 0;
    std::uint32_t rowStart = 0;
    const auto width = static_cast<std::uint32_t>(m_width);
    for (std::size_t word = 0; word < bucket.dotted.size(); ++word) {
        for (std::uint64_t bits = bucket.dotted[word]; bits != 0; bits &= bits - 1) {
            const auto pixel = static_cast<std::uint32_t>(word * 64 + std::countr_zero(bits));
            while (pixel - rowStart >= width) {
                ++row;
                rowStart += width;
            }
            at(static_cast<int>(pixel - rowStart), static_cast<int>(row));
        }
    }
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
            blendDots(*image, bucket, key.second, key.first == 255 ? kStrongWidth : 1);
        } else {
            // A thin point lights the pixel nearest to it, one of width 2 the square it is the
            // middle of: the points that light the pixels a blend would.
            const double inside = key.first == 255 ? 0.5 : 0;
            std::vector<QPointF> points;
            forEachDot(bucket, [&](int column, int row) {
                points.push_back(m_area.topLeft() + QPointF(column + inside, row + inside));
            });
            painter.drawPoints(points.data(), static_cast<int>(points.size()));
        }
    }
}

void LineBuckets::takeFrom(LineBuckets& later) {
    for (auto& [key, theirs] : later.m_buckets) {
        if (theirs.lines.empty() && theirs.dots.empty() && !theirs.hasDots) {
            continue;  // a colour of an earlier frame
        }
        Bucket& mine = m_buckets[key];
        mine.lines.insert(mine.lines.end(), theirs.lines.begin(), theirs.lines.end());
        mine.dots.insert(mine.dots.end(), theirs.dots.begin(), theirs.dots.end());
        if (theirs.hasDots && mine.hasDots) {
            std::transform(mine.dotted.begin(), mine.dotted.end(), theirs.dotted.begin(),
                           mine.dotted.begin(), std::bit_or<>());
        } else if (theirs.hasDots) {
            std::swap(mine.dotted, theirs.dotted);  // theirs takes an empty set, if any
            std::swap(mine.hasDots, theirs.hasDots);
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

void LineBuckets::blendDots(QImage& image, const Bucket& bucket, QRgb colour, int size) const {
    const int alpha = qAlpha(colour);
    const int left = static_cast<int>(m_area.left());
    const int top = static_cast<int>(m_area.top());
    const int right = static_cast<int>(std::ceil(m_area.right()));
    const int bottom = static_cast<int>(std::ceil(m_area.bottom()));
    // One colour over any pixel: each channel's result looked up by what lies under it.
    std::array<std::array<std::uint8_t, 256>, 3> blended{};
    const std::array<int, 3> over{qRed(colour), qGreen(colour), qBlue(colour)};
    for (std::size_t channel = 0; channel < 3; ++channel) {
        for (int under = 0; under < 256; ++under) {
            blended[channel][under] = static_cast<std::uint8_t>(
                (over[channel] * alpha + under * (255 - alpha) + 127) / 255);
        }
    }
    uchar* const bits = image.bits();
    const qsizetype bytesPerLine = image.bytesPerLine();
    forEachDot(bucket, [&](int column, int row) {
        const int x0 = left + column;
        const int y0 = top + row;
        for (int y = y0; y < std::min(y0 + size, bottom); ++y) {
            auto* line = reinterpret_cast<QRgb*>(bits + y * bytesPerLine);
            for (int x = x0; x < std::min(x0 + size, right); ++x) {
                const QRgb under = line[x];
                line[x] = qRgb(blended[0][qRed(under)], blended[1][qGreen(under)],
                               blended[2][qBlue(under)]);
            }
        }
    });
}

}  // namespace lintrel::preview

#pragma once

#include <QImage>
#include <QLineF>
#include <QPainter>
#include <QRectF>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <vector>

#include "DrawingModel.h"
#include "HugePages.h"
#include "Viewport.h"

namespace lintrel::preview {

inline constexpr double kMarkSize = 3;  // half the cross of a POINT, in pixels
inline constexpr int kStrongWidth = 2;  // pixels of what changed, drawn at full strength

// Lines gathered by colour, so that a frame changes its pen once per colour, not per entity.
class LineBuckets {
public:
    // The lines and dots of one colour, and the pixels where a dot of it lies. A frame of a
    // large drawing gathers megabytes of them: in huge pages once large.
    struct Bucket {
        HugeVector<QLineF> lines;
        HugeVector<QPointF> dots;  // where pixels are not merged
        // A bit per pixel of the area, row by row, made at the first dot. A pixel takes one dot
        // of a colour however many land on it, in any order: a set, painted row by row.
        std::vector<std::uint64_t> dotted;
        bool hasDots = false;
    };

    // The buckets by alpha, then colour. A view painted again fills those of its last frame,
    // emptied but with their memory kept: a frame of a large drawing holds megabytes of strokes,
    // and memory touched for the first time costs more than filling it.
    using Store = std::map<std::pair<int, QRgb>, Bucket>;

    // Fills the buckets of `store`, emptied first. On a raster device steps shorter than a pixel
    // are merged and each pixel takes one dot of a colour; a vector picture keeps them, as it
    // may be enlarged.
    LineBuckets(const Viewport& viewport, const QRectF& area, bool isRaster, Store& store);

    // Buckets of their own in `store` over the same area, for strokes gathered meanwhile.
    LineBuckets alike(Store& store) const { return {m_viewport, m_area, m_isRaster, store}; }

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
    void addLine(Bucket& bucket, Point p, Point q);

    // The pieces of a path; steps shorter than a pixel are taken together with the next.
    void addPoints(Bucket& bucket, const Point* points, std::uint32_t count, bool isClosed);

    void addOnDevice(Bucket& bucket, QPointF a, QPointF b);

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
        // Truncated, not floored: only a point at or right of and below the corner lands on a
        // pixel, where the two agree.
        const double x = at.x() - m_area.left();
        const double y = at.y() - m_area.top();
        if (m_isRaster && x >= 0 && y >= 0 && x < m_width && y < m_height) {
            dotPixel(bucket, static_cast<std::uint32_t>(y) * static_cast<std::uint32_t>(m_width) +
                                 static_cast<std::uint32_t>(x));
            return;
        }
        bucket.dots.push_back(at);
    }

    void addMark(Bucket& bucket, Point p);

    // An infinite line through p along (q - p), both ways or (a ray) from p on, across the area.
    void addInfinite(Bucket& bucket, Point p, Point q, bool isRay);

    void paint(QPainter& painter) const;

    // Adds what `later`, gathered over the same area from strokes that come after these, holds:
    // as if its strokes had been added here in their order. Empties `later`.
    void takeFrom(LineBuckets& later);

private:
    void empty(Bucket& bucket) const;

    void dotPixel(Bucket& bucket, std::uint32_t pixel) {
        if (bucket.dotted.empty()) {
            bucket.dotted.resize(dottedWords());
        }
        bucket.dotted[pixel / 64] |= std::uint64_t{1} << (pixel % 64);
        bucket.hasDots = true;
    }

    std::size_t dottedWords() const {
        return (static_cast<std::size_t>(m_width) * m_height + 63) / 64;
    }

    // Calls at(x, y) for each dotted pixel of the bucket, x and y counted from the area's
    // corner, row by row.
    template <class At>
    void forEachDot(const Bucket& bucket, At at) const;

    // The opaque image the painter draws on one to one from the area's corner, or nullptr: a
    // dot is then blended into its pixels at a few nanoseconds, where QPainter takes far longer.
    QImage* imageUnder(QPainter& painter) const;

    // Blends a colour over each dotted pixel, and the pixels right and below it up to `size`.
    void blendDots(QImage& image, const Bucket& bucket, QRgb colour, int size) const;

    const Viewport& m_viewport;
    QRectF m_area;
    bool m_isRaster;
    int m_width;
    int m_height;
    static constexpr std::size_t kRecent = 64;
    Store& m_buckets;
    std::array<std::pair<QRgb, Bucket*>, kRecent> m_recent{};
};

}  // namespace lintrel::preview

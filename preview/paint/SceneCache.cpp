#include "SceneCache.h"

#include <QPainter>
#include <cmath>

#include "ScenePainter.h"

namespace lintrel::preview {

const QImage& SceneCache::frame(const DrawingModel& model, const Viewport& viewport,
                                const SceneStyle& style, QSize size, double pixelRatio) {
    if (m_model == &model && m_style == style && m_image.size() == size &&
        m_image.devicePixelRatio() == pixelRatio) {
        const auto shift = m_viewport.shiftTo(viewport);
        if (shift && (shift->isNull() || scroll(model, viewport, style, *shift))) {
            m_viewport = viewport;
            return m_image;
        }
    }
    if (m_image.size() != size) {
        m_image = QImage(size, QImage::Format_RGB32);
    }
    m_image.setDevicePixelRatio(pixelRatio);
    QPainter painter(&m_image);
    paintScene(painter, model, viewport, style, QRectF(QPointF(0, 0), size / pixelRatio),
               m_strokes);
    painter.end();
    m_model = &model;
    m_viewport = viewport;
    m_style = style;
    return m_image;
}

bool SceneCache::scroll(const DrawingModel& model, const Viewport& viewport,
                        const SceneStyle& style, QPointF by) {
    const double ratio = m_image.devicePixelRatio();
    const QPointF pixels = by * ratio;
    const QSizeF area = QSizeF(m_image.size()) / ratio;
    if (pixels != QPointF(pixels.toPoint()) || std::abs(by.x()) >= area.width() ||
        std::abs(by.y()) >= area.height()) {
        return false;
    }
    const QImage previous = m_image;  // shared until the painter below writes
    QPainter painter(&m_image);
    painter.drawImage(by, previous);
    // What the moved picture no longer covers: a strip across the top or the bottom, and one
    // down the left or the right side beside the part kept.
    const QRectF whole(QPointF(0, 0), area);
    const QRectF kept = whole.translated(by).intersected(whole);
    const QRectF rows = by.y() > 0
                            ? QRectF(0, 0, area.width(), kept.top())
                            : QRectF(0, kept.bottom(), area.width(), area.height() - kept.bottom());
    const QRectF columns =
        by.x() > 0 ? QRectF(0, kept.top(), kept.left(), kept.height())
                   : QRectF(kept.right(), kept.top(), area.width() - kept.right(), kept.height());
    for (const QRectF& strip : {rows, columns}) {
        if (!strip.isEmpty()) {
            paintScene(painter, model, viewport, style, strip, m_strokes);
        }
    }
    return true;
}

}  // namespace lintrel::preview

#include "SceneCache.h"

#include <QPainter>

#include "ScenePainter.h"

namespace lintrel::preview {

const QImage& SceneCache::frame(const DrawingModel& model, const Viewport& viewport,
                                const SceneStyle& style, QSize size, double pixelRatio) {
    if (m_model == &model && m_viewport == viewport && m_style == style && m_image.size() == size &&
        m_image.devicePixelRatio() == pixelRatio) {
        return m_image;
    }
    if (m_image.size() != size) {
        m_image = QImage(size, QImage::Format_RGB32);
    }
    m_image.setDevicePixelRatio(pixelRatio);
    QPainter painter(&m_image);
    paintScene(painter, model, viewport, style, QRectF(QPointF(0, 0), size / pixelRatio));
    painter.end();
    m_model = &model;
    m_viewport = viewport;
    m_style = style;
    return m_image;
}

}  // namespace lintrel::preview

#pragma once

#include <QPointF>
#include <QRectF>
#include <optional>

#include "DrawingModel.h"

namespace lintrel::preview {

// Where the drawing lies on a device: device x = scale * x + dx, device y = dy - scale * y
// (the drawing's y runs up, the device's down).
class Viewport {
public:
    // The whole drawing within `target`, with a small margin; a drawing with no extents is
    // shown around the origin.
    static Viewport fitting(const Extents& extents, const QRectF& target);

    QPointF toDevice(Point p) const { return {m_scale * p.x + m_dx, m_dy - m_scale * p.y}; }
    Point toDrawing(QPointF device) const {
        return {(device.x() - m_dx) / m_scale, (m_dy - device.y()) / m_scale};
    }
    double scale() const { return m_scale; }

    // Zooms by `factor` keeping the drawing point under `device` where it is.
    void zoomAt(QPointF device, double factor);
    void panBy(QPointF deviceDelta);

    // How far `other` shows the drawing moved on the device, when it shows it at the same scale.
    std::optional<QPointF> shiftTo(const Viewport& other) const;

    bool operator==(const Viewport&) const = default;

private:
    double m_scale = 1;
    double m_dx = 0;
    double m_dy = 0;
};

}  // namespace lintrel::preview

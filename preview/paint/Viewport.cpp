#include "Viewport.h"

#include <algorithm>

namespace lintrel::preview {
namespace {

constexpr double kMargin = 0.05;

}  // namespace

Viewport Viewport::fitting(const Extents& extents, const QRectF& target) {
    Viewport view;
    const Extents box = extents.isEmpty() ? Extents{{-1, -1}, {1, 1}} : extents;
    const double width = std::max(box.high.x - box.low.x, 1e-9);
    const double height = std::max(box.high.y - box.low.y, 1e-9);
    const double usable = 1 - 2 * kMargin;
    view.m_scale = std::min(target.width() * usable / width, target.height() * usable / height);
    const QPointF centre = target.center();
    view.m_dx = centre.x() - view.m_scale * (box.low.x + box.high.x) / 2;
    view.m_dy = centre.y() + view.m_scale * (box.low.y + box.high.y) / 2;
    return view;
}

void Viewport::zoomAt(QPointF device, double factor) {
    const Point fixed = toDrawing(device);
    m_scale *= factor;
    m_dx = device.x() - m_scale * fixed.x;
    m_dy = device.y() + m_scale * fixed.y;
}

std::optional<QPointF> Viewport::shiftTo(const Viewport& other) const {
    if (other.m_scale != m_scale) {
        return std::nullopt;
    }
    return QPointF(other.m_dx - m_dx, other.m_dy - m_dy);
}

void Viewport::panBy(QPointF deviceDelta) {
    m_dx += deviceDelta.x();
    m_dy += deviceDelta.y();
}

}  // namespace lintrel::preview

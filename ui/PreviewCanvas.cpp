#include "PreviewCanvas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

namespace lintrel {
namespace {

// One notch of the wheel (120 units) zooms by this factor.
constexpr double kZoomPerNotch = 1.25;

}  // namespace

PreviewCanvas::PreviewCanvas(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(320, 240);
}

void PreviewCanvas::showPreview(const preview::Preview* shown) {
    m_preview = shown;
    m_cache.clear();
    fit();
}

void PreviewCanvas::setSceneStyle(const preview::SceneStyle& style) {
    m_style = style;
    update();
}

void PreviewCanvas::fit() {
    m_isFitted = true;
    const preview::Extents none;
    m_viewport =
        preview::Viewport::fitting(m_preview != nullptr ? m_preview->model.extents : none, rect());
    update();
}

void PreviewCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_preview == nullptr || !m_preview->failure.empty()) {
        painter.fillRect(rect(), preview::backgroundColour(m_style.isDark));
        return;
    }
    const double ratio = devicePixelRatioF();
    painter.drawImage(QPointF(0, 0), m_cache.frame(m_preview->model, m_viewport, m_style,
                                                   (QSizeF(size()) * ratio).toSize(), ratio));
}

void PreviewCanvas::resizeEvent(QResizeEvent*) {
    if (m_isFitted) {
        fit();
    }
}

void PreviewCanvas::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    m_viewport.zoomAt(event->position(), std::pow(kZoomPerNotch, notches));
    m_isFitted = false;
    update();
}

void PreviewCanvas::mousePressEvent(QMouseEvent* event) {
    m_dragFrom = event->position();
}

void PreviewCanvas::mouseMoveEvent(QMouseEvent* event) {
    if ((event->buttons() & Qt::LeftButton) != 0) {
        m_viewport.panBy(event->position() - m_dragFrom);
        m_dragFrom = event->position();
        m_isFitted = false;
        update();
    }
    const preview::Point at = m_viewport.toDrawing(event->position());
    emit cursorMoved(at.x, at.y);
}

void PreviewCanvas::mouseDoubleClickEvent(QMouseEvent*) {
    fit();
}

void PreviewCanvas::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Home) {
        fit();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace lintrel

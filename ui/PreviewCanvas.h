#pragma once

#include <QPoint>
#include <QWidget>

#include "PreviewRun.h"
#include "SceneCache.h"
#include "SceneStyle.h"
#include "Viewport.h"

namespace lintrel {

// The preview's drawing area: the scene of a preview in a style; the wheel zooms around the
// cursor, a drag pans, Home or a double-click fits the drawing.
class PreviewCanvas : public QWidget {
    Q_OBJECT

public:
    explicit PreviewCanvas(QWidget* parent);

    // What to draw; nullptr draws the background only. Fits the drawing.
    void showPreview(const preview::Preview* shown);
    void setSceneStyle(const preview::SceneStyle& style);
    void fit();
    const preview::Viewport& viewport() const { return m_viewport; }

signals:
    void cursorMoved(double x, double y);  // drawing coordinates

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    const preview::Preview* m_preview = nullptr;
    preview::SceneStyle m_style;
    preview::Viewport m_viewport;
    preview::SceneCache m_cache;
    bool m_isFitted = true;  // follows the size of the area until the user zooms or pans
    QPointF m_dragFrom;
};

}  // namespace lintrel

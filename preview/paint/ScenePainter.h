#pragma once

#include <QPainter>
#include <QRectF>

#include "PreviewRun.h"
#include "SceneStyle.h"
#include "Viewport.h"

namespace lintrel::preview {

// Paints a drawing's model into an area of a device in one of the views; the same for the
// window, PNG, SVG and PDF.
void paintScene(QPainter& painter, const DrawingModel& model, const Viewport& viewport,
                const SceneStyle& style, const QRectF& area);

// Paints the legend: every verdict with its colour and count, the cut lengths, the types not
// drawn, or the run's message when it failed.
void paintLegend(QPainter& painter, const Preview& preview, const QString& title,
                 const QRectF& area, bool isDark);

}  // namespace lintrel::preview

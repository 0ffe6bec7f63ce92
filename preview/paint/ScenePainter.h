#pragma once

#include <QPainter>
#include <QRectF>
#include <vector>

#include "LineBuckets.h"
#include "PreviewRun.h"
#include "SceneStyle.h"
#include "Viewport.h"

namespace lintrel::preview {

// Paints a drawing's model into an area of a device in one of the views; the same for the
// window, PNG, SVG and PDF.
void paintScene(QPainter& painter, const DrawingModel& model, const Viewport& viewport,
                const SceneStyle& style, const QRectF& area);

// The same, with the strokes gathered into `stores` (one per gathering thread, added as needed)
// and left there, so that the next frame painted with them reuses their memory.
void paintScene(QPainter& painter, const DrawingModel& model, const Viewport& viewport,
                const SceneStyle& style, const QRectF& area,
                std::vector<LineBuckets::Store>& stores);

// Paints the legend: every verdict with its colour and count, the cut lengths, the types not
// drawn, or the run's message when it failed.
void paintLegend(QPainter& painter, const Preview& preview, const QString& title,
                 const QRectF& area, bool isDark);

}  // namespace lintrel::preview

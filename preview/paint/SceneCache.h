#pragma once

#include <QImage>
#include <vector>

#include "DrawingModel.h"
#include "LineBuckets.h"
#include "SceneStyle.h"
#include "Viewport.h"

namespace lintrel::preview {

// The last frame painted of a model's scene, reused while the view, the style and the size
// stay the same: a redraw that changes none of them (an exposed window, a cursor moved over it)
// costs a copy of the picture, not a walk over the drawing, and a pan by whole pixels moves the
// picture and paints only the strips it uncovers.
class SceneCache {
public:
    // The scene of `model` on an image of `size` (device pixels, `pixelRatio` to one logical
    // pixel), painted again only when the model, view, style or size differ from the last call.
    const QImage& frame(const DrawingModel& model, const Viewport& viewport,
                        const SceneStyle& style, QSize size, double pixelRatio = 1);

    // Forgets the frame: the model it was painted from changed in place.
    void clear() { m_model = nullptr; }

private:
    // Moves the frame by `by` logical pixels and paints the strips that uncovers; false when the
    // move is not one of whole device pixels within the frame.
    bool scroll(const DrawingModel& model, const Viewport& viewport, const SceneStyle& style,
                QPointF by);

    QImage m_image;
    std::vector<LineBuckets::Store> m_strokes;  // of the last frame, kept for their memory
    const DrawingModel* m_model = nullptr;
    Viewport m_viewport;
    SceneStyle m_style;
};

}  // namespace lintrel::preview

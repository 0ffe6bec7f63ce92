#pragma once

#include <QColor>
#include <algorithm>
#include <array>

#include "DrawingModel.h"
#include "SceneStyle.h"

namespace lintrel::preview {

inline constexpr int kFaintAlpha = 60;
inline constexpr int kJoinedPieceAlpha = 120;

// A colour of the drawing as it shows on a light background: white and near-white in black.
QRgb shownOnLight(Rgb rgb);

inline QRgb shownColour(Rgb rgb, bool isDark) {
    return isDark ? qRgb(qRed(rgb), qGreen(rgb), qBlue(rgb)) : shownOnLight(rgb);
}

// How the entities of one verdict are drawn in a view: not at all, or in a colour, and whether
// as their joined extent.
struct Look {
    bool isDrawn = false;
    bool usesOwnColour = true;
    QRgb colour = 0;
    int alpha = 255;
    bool showsExtent = false;

    // The colour of a stroke of this look, drawn in `own` unless the look has a colour.
    QRgb colourOf(Rgb own, bool isFaint, bool isDark) const {
        const QRgb rgb = usesOwnColour ? shownColour(own, isDark) : colour;
        return qRgba(qRed(rgb), qGreen(rgb), qBlue(rgb),
                     isFaint ? std::min(alpha, kFaintAlpha) : alpha);
    }
};

// The look of every verdict, lengthened or not, in one style: worked out once per frame.
class Looks {
public:
    explicit Looks(const SceneStyle& style);

    const Look& of(const Entity& entity) const {
        return m_looks[static_cast<std::size_t>(entity.verdict) * 2 +
                       (entity.isLengthened() ? 1 : 0)];
    }

private:
    std::array<Look, 2 * kLegendOrder.size()> m_looks;
};

}  // namespace lintrel::preview

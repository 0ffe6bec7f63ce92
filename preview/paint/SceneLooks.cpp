#include "SceneLooks.h"

namespace lintrel::preview {
namespace {

bool isRemoved(Verdict verdict) {
    return verdict != Verdict::Kept && verdict != Verdict::Lengthened;
}

Look lookOf(Verdict verdict, bool isLengthened, const SceneStyle& style) {
    Look look;
    if (!style.isShown(verdict)) {
        return look;
    }
    look.isDrawn = true;
    switch (style.view) {
        case View::Before:
            break;
        case View::After:
            look.isDrawn = !isRemoved(verdict);
            look.showsExtent = isLengthened;
            break;
        case View::Changes:
            if (verdict == Verdict::Kept) {
                look.alpha = kFaintAlpha;
            } else {
                look.usesOwnColour = false;
                look.colour = verdictColour(verdict).rgb();
                look.alpha = verdict == Verdict::Joined ? kJoinedPieceAlpha : 255;
                look.showsExtent = verdict == Verdict::Lengthened;
            }
            break;
    }
    return look;
}

}  // namespace

QRgb shownOnLight(Rgb rgb) {
    // Most entities share a colour with the one before; the lightness is worked out once for it.
    thread_local Rgb lastRgb = 0;
    thread_local QRgb last = qRgb(0, 0, 0);
    if (rgb == lastRgb) {
        return last;
    }
    const QColor colour = QColor::fromRgb(static_cast<QRgb>(rgb));
    lastRgb = rgb;
    last = colour.lightness() > 200 ? qRgb(0, 0, 0) : colour.rgb();
    return last;
}

Looks::Looks(const SceneStyle& style) {
    for (std::size_t k = 0; k < m_looks.size(); ++k) {
        m_looks[k] = lookOf(static_cast<Verdict>(k / 2), k % 2 == 1, style);
    }
}

}  // namespace lintrel::preview

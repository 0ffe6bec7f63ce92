#include "Fonts.h"

#include <QStringList>

namespace lintrel::fonts {
namespace {

// The Windows faces first (under their Japanese and their English names), then the Noto CJK
// faces of fonts-noto-cjk, which cover the same characters.
const QStringList kGothicFamilies = {"ＭＳ Ｐゴシック", "MS PGothic", "Noto Sans CJK JP"};
const QStringList kMinchoFamilies = {"ＭＳ Ｐ明朝", "MS PMincho", "Noto Serif CJK JP"};

QFont font(const QStringList& families, double points, Style style) {
    QFont font;
    font.setFamilies(families);
    font.setPointSizeF(points);
    font.setBold(style == Style::BoldItalic);
    font.setItalic(style == Style::BoldItalic);
    return font;
}

}  // namespace

QFont gothic(double points, Style style) {
    return font(kGothicFamilies, points, style);
}

QFont mincho(double points, Style style) {
    return font(kMinchoFamilies, points, style);
}

}  // namespace lintrel::fonts

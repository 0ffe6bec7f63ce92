#pragma once

#include <QFont>

namespace lintrel::fonts {

enum class Style { Regular, BoldItalic };

// "ＭＳ Ｐゴシック" at the given size, or the Japanese gothic face Debian ships where it is absent.
QFont gothic(double points, Style style = Style::Regular);

// "ＭＳ Ｐ明朝" at the given size, or the Japanese serif face Debian ships where it is absent.
QFont mincho(double points, Style style = Style::Regular);

// The windows' default font.
inline QFont standard() {
    return gothic(9);
}

}  // namespace lintrel::fonts

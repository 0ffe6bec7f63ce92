#pragma once

#include <QLine>
#include <QRect>

namespace lintrel {

// Positions are kept in twips, the unit the window's layout was drawn in; 15 twips make one
// pixel at 96 dpi, and Qt scales the pixels for high-dpi screens.
inline constexpr int kTwipsPerPixel = 15;

// A rectangle in twips: left, top, width, height, within the window or the enclosing frame.
struct TwipsRect {
    int left;
    int top;
    int width;
    int height;
};

// A line in twips from (x1, y1) to (x2, y2).
struct TwipsLine {
    int x1;
    int y1;
    int x2;
    int y2;
};

constexpr int toPixels(int twips) {
    return (2 * twips + kTwipsPerPixel) / (2 * kTwipsPerPixel);
}

inline QRect toPixels(const TwipsRect& rect) {
    return {toPixels(rect.left), toPixels(rect.top), toPixels(rect.width), toPixels(rect.height)};
}

inline QLine toPixels(const TwipsLine& line) {
    return {toPixels(line.x1), toPixels(line.y1), toPixels(line.x2), toPixels(line.y2)};
}

}  // namespace lintrel

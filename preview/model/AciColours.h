#pragma once

#include <cstdint>

namespace lintrel::preview {

// A colour as 0xRRGGBB.
using Rgb = std::uint32_t;

// The RGB of an AutoCAD colour index 1..255 (7 is white, drawn black on a light background by
// the painter); other indexes give white.
Rgb aciColour(int index);

}  // namespace lintrel::preview

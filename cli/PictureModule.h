#pragma once

#include <string>

#include "PreviewRun.h"

namespace lintrel {

// The pictures of --preview are painted by a module of their own, the one part of lintrel-cli that
// links Qt: it is loaded only when pictures are asked for, so that every other run starts without
// loading Qt, and without the memory that costs.
inline constexpr const char* kPictureModule = "lintrel-pictures.so";
inline constexpr const char* kStartPaintingEntry = "lintrelStartPainting";
inline constexpr const char* kWritePictureEntry = "lintrelWritePicture";
inline constexpr const char* kEndPaintingEntry = "lintrelEndPainting";

// The module's first entry: starts what painting pictures of the format named needs (the
// application; for PNG also the fonts and the first picture's canvas), so that this is done while
// the first drawing is still being read.
using StartPainting = void (*)(const std::string& format);
// The module's second entry: writes the 変更点 picture of a preview in the format named ("svg",
// "png" or "pdf"); false with what went wrong in `failure` when it could not.
using WritePicture = bool (*)(const preview::Preview& shown, const std::string& title,
                              const std::string& path, const std::string& format,
                              std::string& failure);
// Ends what the first picture started; called once the last picture is written.
using EndPainting = void (*)();

}  // namespace lintrel

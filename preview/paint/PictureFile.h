#pragma once

#include <QImage>
#include <QString>
#include <string>

#include "PreviewRun.h"

namespace lintrel::preview {

// The formats a preview is written in.
enum class PictureFormat { Svg, Png, Pdf };

// The 変更点 view of a preview with its legend, written to `path` through a temporary file;
// throws DxfError(Write) when it cannot be written. A PNG picture is painted on `canvas` when it
// is one from pictureCanvas().
void writePicture(const Preview& preview, const QString& title, const std::string& path,
                  PictureFormat format, QImage canvas = {});

// The picture as bytes of the format, for writing or for tests.
QByteArray pictureBytes(const Preview& preview, const QString& title, PictureFormat format,
                        QImage canvas = {});

// An image to paint a PNG picture on, its memory written once already, and the fonts of the
// legend loaded: made while a drawing is still being read, it spares the painting afterwards
// a page fault for every few kilobytes of fresh memory and the loading of the fonts.
QImage pictureCanvas();

}  // namespace lintrel::preview

#pragma once

#include <QString>
#include <string>

#include "PreviewRun.h"

namespace lintrel::preview {

// The formats a preview is written in.
enum class PictureFormat { Svg, Png, Pdf };

// The 変更点 view of a preview with its legend, written to `path` through a temporary file;
// throws DxfError(Write) when it cannot be written.
void writePicture(const Preview& preview, const QString& title, const std::string& path,
                  PictureFormat format);

// The picture as bytes of the format, for writing or for tests.
QByteArray pictureBytes(const Preview& preview, const QString& title, PictureFormat format);

}  // namespace lintrel::preview

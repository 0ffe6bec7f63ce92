#include "PngBytes.h"

#include <png.h>

#include <utility>

namespace lintrel::preview {

QByteArray pngBytes(QImage image) {
    const QImage rgb = std::move(image).convertToFormat(QImage::Format_RGB888);
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(rgb.width());
    png.height = static_cast<png_uint_32>(rgb.height());
    png.format = PNG_FORMAT_RGB;
    png.flags = PNG_IMAGE_FLAG_FAST;
    png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(png);
    // Room for the largest such file, of which only the pages written are ever touched.
    QByteArray bytes(static_cast<qsizetype>(size), Qt::Uninitialized);
    if (png_image_write_to_memory(&png, bytes.data(), &size, 0, rgb.constBits(),
                                  static_cast<png_int_32>(rgb.bytesPerLine()), nullptr) == 0) {
        png_image_free(&png);
        return {};
    }
    bytes.truncate(static_cast<qsizetype>(size));
    return bytes;
}

}  // namespace lintrel::preview

#include "PngBytes.h"

#include <png.h>

#include <cstring>
#include <utility>

namespace lintrel::preview {

namespace {

// Each row's pixels as red, green and blue bytes at the start of the row, written over it: a
// pixel's three bytes never reach the four of a pixel not yet read. Qt converts in place only an
// image that owns its memory, and a copy of a picture costs a page fault per 4 KiB.
void packRows(QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            QRgb pixel = 0;
            std::memcpy(&pixel, row + 4 * static_cast<std::ptrdiff_t>(x), sizeof pixel);
            uchar* to = row + 3 * static_cast<std::ptrdiff_t>(x);
            to[0] = static_cast<uchar>(qRed(pixel));
            to[1] = static_cast<uchar>(qGreen(pixel));
            to[2] = static_cast<uchar>(qBlue(pixel));
        }
    }
}

}  // namespace

QByteArray pngBytes(QImage image) {
    QImage rgb = image.format() == QImage::Format_RGB32
                     ? std::move(image)
                     : std::move(image).convertToFormat(QImage::Format_RGB32);
    packRows(rgb);
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

#include "PictureFile.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cerrno>
#include <cstring>
#include <memory>
#include <utility>

#include "DxfError.h"
#include "HugePages.h"
#include "OutputFile.h"
#include "PngBytes.h"
#include "ScenePainter.h"

namespace lintrel::preview {
namespace {

constexpr int kWidth = 1600;
constexpr int kHeight = 1000;
constexpr int kLegendWidth = 380;

// The scene on the left, the legend on the right, on a device of the picture's size.
void paintPicture(QPainter& painter, const Preview& preview, const QString& title, QSizeF size) {
    const QRectF legend(size.width() - kLegendWidth, 0, kLegendWidth, size.height());
    const QRectF scene(0, 0, size.width() - kLegendWidth, size.height());
    const SceneStyle style;
    if (preview.failure.empty()) {
        paintScene(painter, preview.model, Viewport::fitting(preview.model.extents, scene), style,
                   scene);
    } else {
        painter.fillRect(scene, backgroundColour(style.isDark));
    }
    paintLegend(painter, preview, title, legend, style.isDark);
}

// A picture's pixels, all written for every picture: in huge pages they cost a few page faults,
// where fresh memory costs one per 4 KiB.
QImage imageInHugePages(QSize size) {
    const int bytesPerLine = size.width() * 4;
    auto pixels = std::make_unique<HugeArray<uchar>>(static_cast<std::size_t>(bytesPerLine) *
                                                     static_cast<std::size_t>(size.height()));
    uchar* const bits = &(*pixels)[0];
    // The image frees the memory once its last copy goes.
    return {bits,
            size.width(),
            size.height(),
            bytesPerLine,
            QImage::Format_RGB32,
            [](void* held) { delete static_cast<HugeArray<uchar>*>(held); },
            pixels.release()};
}

}  // namespace

QImage pictureCanvas() {
    QImage canvas = imageInHugePages(QSize(kWidth, kHeight));
    canvas.fill(Qt::black);
    // The legend of an empty preview, for its fonts.
    QPainter painter(&canvas);
    paintLegend(painter, Preview(), QString(),
                QRectF(kWidth - kLegendWidth, 0, kLegendWidth, kHeight), SceneStyle().isDark);
    painter.end();
    return canvas;
}

QByteArray pictureBytes(const Preview& preview, const QString& title, PictureFormat format,
                        QImage canvas) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QSize size(kWidth, kHeight);
    switch (format) {
        case PictureFormat::Png: {
            QImage image = canvas.size() == size && canvas.format() == QImage::Format_RGB32
                               ? std::move(canvas)
                               : imageInHugePages(size);
            QPainter painter(&image);
            paintPicture(painter, preview, title, size);
            painter.end();
            return pngBytes(std::move(image));
        }
        case PictureFormat::Svg: {
            QSvgGenerator generator;
            generator.setOutputDevice(&buffer);
            generator.setSize(size);
            generator.setViewBox(QRect(QPoint(0, 0), size));
            generator.setTitle(title);
            QPainter painter(&generator);
            paintPicture(painter, preview, title, size);
            break;
        }
        case PictureFormat::Pdf: {
            QPdfWriter writer(&buffer);
            writer.setTitle(title);
            writer.setPageSize(QPageSize(QPageSize::A3));
            writer.setPageOrientation(QPageLayout::Landscape);
            writer.setResolution(96);
            QPainter painter(&writer);
            const QRect page = painter.viewport();
            paintPicture(painter, preview, title, page.size());
            break;
        }
    }
    return bytes;
}

void writePicture(const Preview& preview, const QString& title, const std::string& path,
                  PictureFormat format, QImage canvas) {
    const QByteArray bytes = pictureBytes(preview, title, format, std::move(canvas));
    if (bytes.isEmpty()) {
        throw DxfError(DxfError::Kind::Write, path, 0, std::strerror(ENOMEM), ENOMEM);
    }
    OutputFile file(path);
    file.write({bytes.constData(), static_cast<std::size_t>(bytes.size())});
    file.commit();
}

}  // namespace lintrel::preview

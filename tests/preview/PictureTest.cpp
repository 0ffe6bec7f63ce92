#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QXmlStreamReader>
#include <algorithm>
#include <map>
#include <memory>
#include <string>

#include "Drawing.h"
#include "FakeWindow.h"
#include "PictureFile.h"
#include "PngBytes.h"
#include "ScenePainter.h"
#include "TempDir.h"

namespace lintrel::preview {
namespace {

using testing::lineRecord;
using testing::record;

// Text needs a GUI application's fonts; the tests have no display. The application lives
// from before the first test to after the last, and is then taken down with its fonts.
class GuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        m_app = std::make_unique<QGuiApplication>(m_argc, m_argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc = 1;
    char m_name[28] = "lintrel_preview_paint_tests";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QGuiApplication> m_app;
};

[[maybe_unused]] const auto* const kGui = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

void startGui() {
    ASSERT_NE(QGuiApplication::instance(), nullptr);
}

// A drawing with a circle the size rule deletes, a line that stays, a duplicate, and two pieces
// that are joined into one.
std::string sampleDrawing() {
    return testing::drawing(
        record("CIRCLE", {{"  8", "0"}, {" 10", "20"}, {" 20", "80"}, {" 40", "1"}}) +
        lineRecord("90", "0", "90", "100") + lineRecord("0", "40", "30", "40") +
        lineRecord("0", "40", "30", "40") + lineRecord("0", "10", "40", "10") +
        lineRecord("40", "10", "80", "10"));
}

Preview samplePreview(const testing::TempDir& folder) {
    testing::FakeWindow window;
    window.texts["Text3"] = "5";
    window.texts["Text9"] = "0.5";
    return previewOf(OptionSnapshot::of(window), folder.write("sample.dxf", sampleDrawing()));
}

constexpr QSize kSize(400, 400);

QImage render(const Preview& preview, View view) {
    QImage image(kSize, QImage::Format_RGB32);
    QPainter painter(&image);
    SceneStyle style;
    style.view = view;
    const QRectF area(QPointF(0, 0), kSize);
    paintScene(painter, preview.model, Viewport::fitting(preview.model.extents, area), style, area);
    return image;
}

// Whether a pixel within one of the drawing point's device position has the colour.
bool hasColourNear(const QImage& image, const Preview& preview, Point at, QColor colour) {
    const Viewport viewport =
        Viewport::fitting(preview.model.extents, QRectF(QPointF(0, 0), kSize));
    const QPoint centre = viewport.toDevice(at).toPoint();
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            if (image.pixelColor(centre + QPoint(dx, dy)).rgb() == colour.rgb()) {
                return true;
            }
        }
    }
    return false;
}

TEST(Picture, DrawsADeletedCircleAKeptLineAndAJoinedLineInTheirColours) {
    startGui();
    testing::TempDir folder;
    const Preview preview = samplePreview(folder);
    ASSERT_EQ(preview.failure, "");
    const QImage changes = render(preview, View::Changes);
    EXPECT_TRUE(hasColourNear(changes, preview, {21, 80}, verdictColour(Verdict::SizeCircleArc)));
    EXPECT_TRUE(hasColourNear(changes, preview, {15, 40}, verdictColour(Verdict::Duplicate)));
    // The piece that went lies under the line that stays, drawn over it.
    EXPECT_TRUE(hasColourNear(changes, preview, {60, 10}, verdictColour(Verdict::Lengthened)));
    EXPECT_FALSE(hasColourNear(changes, preview, {90, 50}, Qt::white));
    const QImage before = render(preview, View::Before);
    EXPECT_TRUE(hasColourNear(before, preview, {90, 50}, Qt::white));
    const QImage after = render(preview, View::After);
    EXPECT_FALSE(hasColourNear(after, preview, {21, 80}, Qt::white));
    EXPECT_TRUE(hasColourNear(after, preview, {60, 10}, Qt::white));
}

// And its legend counts the entities of each colour.
TEST(Picture, SvgHoldsOneStrokePerEntityOfEachColour) {
    startGui();
    testing::TempDir folder;
    const Preview preview = samplePreview(folder);
    QXmlStreamReader svg(pictureBytes(preview, "sample.dxf", PictureFormat::Svg));
    std::map<QString, int> polylines;
    QString stroke;
    // A line of text may be written in several pieces, each at its own x but the line's y.
    std::map<QString, QString> textLines;
    QString textAt;  // the y of the text being read, empty outside text
    while (!svg.atEnd()) {
        const auto token = svg.readNext();
        if (token == QXmlStreamReader::Characters && !textAt.isEmpty()) {
            textLines[textAt] += svg.text();
        } else if (token == QXmlStreamReader::EndElement) {
            textAt.clear();
        }
        if (token != QXmlStreamReader::StartElement) {
            continue;
        }
        if (svg.name() == u"text") {
            textAt = svg.attributes().value("y").toString();
        } else if (svg.name() == u"g") {
            stroke = svg.attributes().value("stroke").toString();
        } else if (svg.name() == u"polyline") {
            ++polylines[stroke];
        }
    }
    ASSERT_FALSE(svg.hasError()) << svg.errorString().toStdString();
    EXPECT_EQ(polylines[verdictColour(Verdict::Duplicate).name()], 1);
    EXPECT_EQ(polylines[verdictColour(Verdict::Lengthened).name()], 1);
    EXPECT_EQ(polylines[verdictColour(Verdict::Joined).name()], 1);
    // The circle is drawn with 96 straight pieces.
    EXPECT_EQ(polylines[verdictColour(Verdict::SizeCircleArc).name()], 96);
    for (Verdict verdict : {Verdict::Duplicate, Verdict::Joined, Verdict::SizeCircleArc}) {
        const QString counted = verdictCaption(verdict) + " 1件";
        EXPECT_TRUE(std::any_of(textLines.begin(), textLines.end(), [&](const auto& line) {
            return line.second == counted;
        })) << counted.toStdString();
    }
}

// A canvas made ahead shows nothing of its own in the picture painted on it.
TEST(Picture, PaintedOnACanvasMadeAheadIsTheSame) {
    startGui();
    testing::TempDir folder;
    const Preview preview = samplePreview(folder);
    const Preview failed = [] {
        Preview shown;
        shown.failure = " bad.dxfは壊れている可能性があります。　";
        return shown;
    }();
    for (const Preview* shown : {&preview, &failed}) {
        const QByteArray fresh = pictureBytes(*shown, "sample.dxf", PictureFormat::Png);
        ASSERT_FALSE(fresh.isEmpty());
        EXPECT_EQ(pictureBytes(*shown, "sample.dxf", PictureFormat::Png, pictureCanvas()), fresh)
            << shown->failure;
    }
}

// Odd widths leave padding at the end of each row of the image handed to the encoder, which packs
// the rows of an image handed over whole in its own memory, and of a shared one in a copy.
TEST(Picture, PngReadsBackPixelForPixel) {
    for (const QSize size : {QSize(1, 1), QSize(37, 23), QSize(1600, 1000)}) {
        for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_RGB888}) {
            for (const bool isHandedOver : {false, true}) {
                SCOPED_TRACE(std::to_string(size.width()) + "x" + std::to_string(size.height()) +
                             " format " + std::to_string(format) +
                             (isHandedOver ? " handed over" : " shared"));
                QImage image(size, format);
                for (int y = 0; y < size.height(); ++y) {
                    for (int x = 0; x < size.width(); ++x) {
                        image.setPixel(x, y, qRgb(x * 7 % 256, y * 11 % 256, (x * y + 3) % 256));
                    }
                }
                const QImage expected = image.copy();
                QByteArray png;
                if (isHandedOver) {
                    png = pngBytes(std::move(image));
                } else {
                    png = pngBytes(image);
                    EXPECT_EQ(image, expected) << "the shared image is left as it was";
                }
                ASSERT_TRUE(png.startsWith("\x89PNG"));
                const QImage read = QImage::fromData(png, "PNG");
                ASSERT_EQ(read.size(), size);
                int wrong = 0;
                for (int y = 0; y < size.height(); ++y) {
                    for (int x = 0; x < size.width(); ++x) {
                        wrong += read.pixel(x, y) != expected.pixel(x, y) ? 1 : 0;
                    }
                }
                EXPECT_EQ(wrong, 0);
            }
        }
    }
}

TEST(Picture, PdfIsAPdf) {
    startGui();
    testing::TempDir folder;
    const QByteArray pdf = pictureBytes(samplePreview(folder), "sample.dxf", PictureFormat::Pdf);
    EXPECT_TRUE(pdf.startsWith("%PDF"));
}

TEST(Picture, OfADamagedDrawingShowsTheRunsMessageAndDrawsNothing) {
    startGui();
    testing::TempDir folder;
    testing::FakeWindow window;
    const Preview preview =
        previewOf(OptionSnapshot::of(window),
                  folder.write("bad.dxf", testing::drawing(lineRecord("x", "0", "10", "0"))));
    ASSERT_EQ(preview.failure, " bad.dxfは壊れている可能性があります。　");
    QXmlStreamReader svg(pictureBytes(preview, "bad.dxf", PictureFormat::Svg));
    int polylines = 0;
    QString texts;
    while (!svg.atEnd()) {
        if (svg.readNext() == QXmlStreamReader::StartElement && svg.name() == u"polyline") {
            ++polylines;
        }
        if (svg.isCharacters()) {
            texts += svg.text().trimmed();
        }
    }
    EXPECT_EQ(polylines, 0);
    EXPECT_TRUE(texts.contains(QString::fromStdString(preview.failure).trimmed()))
        << texts.toStdString();
}

}  // namespace
}  // namespace lintrel::preview

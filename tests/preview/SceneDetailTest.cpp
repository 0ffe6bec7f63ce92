#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdlib>
#include <string>

#include "Drawing.h"
#include "FakeWindow.h"
#include "PreviewDrawings.h"
#include "SceneCache.h"
#include "ScenePainter.h"
#include "TempDir.h"

namespace lintrel::preview {
namespace {

using testing::lineRecord;
using testing::record;

constexpr QSize kSize(400, 400);
const QRectF kArea(QPointF(0, 0), kSize);

// The dry-run preview of a drawing of these entities with the default options and a size limit
// (Text3) and a join gap (Text9) where given.
Preview previewOfEntities(const testing::TempDir& folder, const std::string& name,
                          const std::string& entities, const char* sizeLimit, const char* joinGap) {
    testing::FakeWindow window;
    if (sizeLimit != nullptr) {
        window.texts["Text3"] = sizeLimit;
    }
    if (joinGap != nullptr) {
        window.texts["Text9"] = joinGap;
    }
    return previewOf(OptionSnapshot::of(window), folder.write(name, testing::drawing(entities)));
}

// A circle the size rule deletes, a line that stays, a duplicate, and two pieces joined into
// one line from x = 0 to 80 (the one that stays is drawn to its new ends).
Preview samplePreview(const testing::TempDir& folder) {
    return previewOfEntities(
        folder, "sample.dxf",
        record("CIRCLE", {{"  8", "0"}, {" 10", "20"}, {" 20", "80"}, {" 40", "1"}}) +
            lineRecord("90", "0", "90", "100") + lineRecord("0", "40", "30", "40") +
            lineRecord("0", "40", "30", "40") + lineRecord("0", "10", "40", "10") +
            lineRecord("40", "10", "80", "10"),
        "5", "0.5");
}

QImage render(const DrawingModel& model, const Viewport& viewport, View view) {
    QImage image(kSize, QImage::Format_RGB32);
    QPainter painter(&image);
    SceneStyle style;
    style.view = view;
    paintScene(painter, model, viewport, style, kArea);
    return image;
}

struct ZoomCase {
    const char* name;
    Point at;       // the drawing point put in the middle of the area
    double factor;  // the zoom from the fitted view
};

// Views of part of the drawing, where every entity is several pixels across.
const ZoomCase kZooms[] = {
    {"a view of the middle", {45, 50}, 2},
    {"a view of the deleted circle", {20, 80}, 6},
    {"a view of the far end of the joined line", {70, 10}, 8},
    {"a view of the near end of the joined line", {10, 10}, 8},
    {"a view of the duplicate's end", {30, 40}, 5},
    {"a view left of the drawing", {-20, 50}, 3},
};

// Every view of the preview painted at the viewport from its index, and by walking every entity
// (a large drawing's in parts, on several threads), as it is shown until its index is built.
void expectIndexedPaintsAsWhole(const Preview& preview, const Viewport& viewport) {
    ASSERT_EQ(preview.failure, "");
    ASSERT_TRUE(preview.model.index.isEmpty());
    DrawingModel indexed = preview.model;
    indexed.useIndex(indexPathsOf(preview.model));
    ASSERT_FALSE(indexed.index.isEmpty());
    for (View view : {View::Before, View::After, View::Changes}) {
        EXPECT_TRUE(render(indexed, viewport, view) == render(preview.model, viewport, view))
            << "view " << static_cast<int>(view);
    }
}

class IndexedScene : public ::testing::TestWithParam<ZoomCase> {};

TEST_P(IndexedScene, PaintsTheSamePixelsAsEveryEntityDrawn) {
    ASSERT_NE(QGuiApplication::instance(), nullptr);
    testing::TempDir folder;
    const Preview preview = samplePreview(folder);
    Viewport viewport = Viewport::fitting(preview.model.extents, kArea);
    viewport.panBy(kArea.center() - viewport.toDevice(GetParam().at));
    viewport.zoomAt(kArea.center(), GetParam().factor);
    expectIndexedPaintsAsWhole(preview, viewport);
}

INSTANTIATE_TEST_SUITE_P(Scene, IndexedScene, ::testing::ValuesIn(kZooms),
                         [](const auto& row) { return testing::identifier(row.param.name); });

// The window builds the index while the drawing is shown; closed meanwhile, it stops the build.
TEST(Scene, AnIndexBuildAskedToStopIndexesNothing) {
    testing::TempDir folder;
    const Preview preview = previewOfEntities(
        folder, "xline.dxf",
        lineRecord("0", "0", "10", "0") +
            record("XLINE", {{"  8", "0"}, {" 10", "0"}, {" 20", "5"}, {" 11", "1"}, {" 21", "0"}}),
        nullptr, nullptr);
    ASSERT_EQ(preview.failure, "");
    const PathsIndexed whole = indexPathsOf(preview.model);
    EXPECT_FALSE(whole.index.isEmpty());
    EXPECT_EQ(whole.unbounded.size(), 1U);
    std::stop_source stop;
    stop.request_stop();
    const PathsIndexed none = indexPathsOf(preview.model, stop.get_token());
    EXPECT_TRUE(none.index.isEmpty());
    EXPECT_TRUE(none.unbounded.empty());
}

TEST(Scene, DrawsALineShorterThanAPixelAsADot) {
    ASSERT_NE(QGuiApplication::instance(), nullptr);
    testing::TempDir folder;
    const std::string drawing = testing::drawing(lineRecord("0", "0", "1000", "0") +
                                                 lineRecord("500", "500", "500.01", "500") +
                                                 lineRecord("0", "1000", "1000", "1000"));
    testing::FakeWindow window;
    const Preview preview = previewOf(OptionSnapshot::of(window), folder.write("dot.dxf", drawing));
    ASSERT_EQ(preview.failure, "");
    const Viewport viewport = Viewport::fitting(preview.model.extents, kArea);
    const QImage image = render(preview.model, viewport, View::Before);
    const QPoint dot = viewport.toDevice({500, 500}).toPoint();
    bool isShown = false;
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            isShown = isShown || image.pixelColor(dot + QPoint(dx, dy)) == QColor(Qt::white);
        }
    }
    EXPECT_TRUE(isShown);
    EXPECT_EQ(image.pixelColor(dot + QPoint(5, 5)), backgroundColour(true));
}

// Enough entities for a frame that walks them all to gather its strokes on several threads: rows
// of lines in four colours, some shorter than a pixel, some longer, every seventh one twice, and a
// long line over them that the short ones beside it join.
Preview crowdedPreview(const testing::TempDir& folder) {
    std::string entities;
    for (int k = 0; k < 60000; ++k) {
        const std::string x = std::to_string(k % 300);
        const std::string y = std::to_string(k / 300);
        const std::string colour = std::to_string(1 + k % 4);
        const std::string end = std::to_string(k % 300 + (k % 3 == 0 ? 0.01 : 0.7 + k % 5));
        const std::string line = record(
            "LINE",
            {{"  8", "0"}, {" 62", colour}, {" 10", x}, {" 20", y}, {" 11", end}, {" 21", y}});
        entities += k % 7 == 0 ? line + line : line;
    }
    entities += lineRecord("0", "-1", "150", "-1") + lineRecord("150", "-1", "300", "-1");
    return previewOfEntities(folder, "crowded.dxf", entities, nullptr, "0.5");
}

TEST(Scene, GathersTheStrokesOfAWholeLargeDrawingAsTheIndexedViewDoes) {
    ASSERT_NE(QGuiApplication::instance(), nullptr);
    testing::TempDir folder;
    const Preview preview = crowdedPreview(folder);
    // Zoomed a little, so that the indexed model leaves out what lies beyond the frame.
    Viewport viewport = Viewport::fitting(preview.model.extents, kArea);
    viewport.zoomAt(kArea.center(), 1.3);
    expectIndexedPaintsAsWhole(preview, viewport);
}

// Lines shorter than a pixel in colours of every kind, two of them on most pixels, some twice
// (then drawn at full strength as duplicates), between long lines that set the scale.
Preview dottedPreview(const testing::TempDir& folder) {
    std::string entities =
        lineRecord("0", "0", "1000", "0") + lineRecord("0", "1000", "1000", "1000");
    const char* const colours[] = {"1", "30", "94", "140", "200", "251", "7"};
    for (int k = 0; k < 2000; ++k) {
        const std::string x = std::to_string(k % 50 * 19 + 3);
        const std::string y = std::to_string(k / 50 * 23 + 5);
        const auto dot = [&](const std::string& at, const char* colour) {
            return record("LINE", {{"  8", "0"},
                                   {" 62", colour},
                                   {" 10", x},
                                   {" 20", at},
                                   {" 11", x + ".01"},
                                   {" 21", at}});
        };
        entities += dot(y, colours[k % 7]) + dot(y + ".5", colours[(k + 3) % 7]);
        if (k % 5 == 0) {
            entities += dot(y, colours[k % 7]);
        }
    }
    return previewOfEntities(folder, "dotted.dxf", entities, nullptr, nullptr);
}

// The largest difference of a colour channel between two images of one size.
int largestDifference(const QImage& one, const QImage& other) {
    int largest = 0;
    for (int y = 0; y < one.height(); ++y) {
        for (int x = 0; x < one.width(); ++x) {
            const QRgb a = one.pixel(x, y);
            const QRgb b = other.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(a) - qRed(b)),
                                std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
        }
    }
    return largest;
}

// Dots are blended into an opaque image's pixels directly, and drawn by the painter elsewhere:
// both must light the same pixels in the same colours, faint or at full strength (the painter
// rounds a blend a step off at times).
TEST(Scene, BlendsDotsIntoAnImageAsThePainterDrawsThem) {
    ASSERT_NE(QGuiApplication::instance(), nullptr);
    testing::TempDir folder;
    const Preview preview = dottedPreview(folder);
    ASSERT_EQ(preview.failure, "");
    const Viewport viewport = Viewport::fitting(preview.model.extents, kArea);
    for (View view : {View::Before, View::Changes}) {
        for (bool isDark : {true, false}) {
            SceneStyle style;
            style.view = view;
            style.isDark = isDark;
            QImage blended(kSize, QImage::Format_RGB32);
            QImage painted(kSize, QImage::Format_ARGB32_Premultiplied);
            for (QImage* image : {&blended, &painted}) {
                QPainter painter(image);
                paintScene(painter, preview.model, viewport, style, kArea);
            }
            EXPECT_LE(largestDifference(blended, painted), 1)
                << "view " << static_cast<int>(view) << (isDark ? ", dark" : ", light");
        }
    }
}

TEST(SceneCache, PaintsAgainOnlyWhenTheViewOrTheStyleChanges) {
    ASSERT_NE(QGuiApplication::instance(), nullptr);
    testing::TempDir folder;
    const Preview preview = samplePreview(folder);
    const Viewport fitted = Viewport::fitting(preview.model.extents, kArea);
    const QPoint circle = fitted.toDevice({21, 80}).toPoint();
    SceneCache cache;
    SceneStyle style;
    const QImage first = cache.frame(preview.model, fitted, style, kSize);
    EXPECT_EQ(first.pixelColor(circle), verdictColour(Verdict::SizeCircleArc));
    EXPECT_EQ(cache.frame(preview.model, fitted, style, kSize).cacheKey(), first.cacheKey());

    style.hidden.insert(Verdict::SizeCircleArc);
    const QImage hidden = cache.frame(preview.model, fitted, style, kSize);
    EXPECT_EQ(hidden.pixelColor(circle), backgroundColour(true));

    Viewport panned = fitted;
    panned.panBy({50, 0});
    style.hidden.clear();
    const QImage moved = cache.frame(preview.model, panned, style, kSize);
    EXPECT_EQ(moved.pixelColor(circle + QPoint(50, 0)), verdictColour(Verdict::SizeCircleArc));
    EXPECT_NE(moved.pixelColor(circle), verdictColour(Verdict::SizeCircleArc));
}

// A cache gathers each frame's strokes where it kept the last frame's: nothing of an earlier view,
// style, size or model may show through, whether the frame walks every entity on several threads
// or the index on one.
TEST(SceneCache, PaintsEachFrameAsAFreshCacheDoes) {
    ASSERT_NE(QGuiApplication::instance(), nullptr);
    testing::TempDir folder;
    const Preview preview = crowdedPreview(folder);
    ASSERT_EQ(preview.failure, "");
    DrawingModel indexed = preview.model;
    indexed.indexPaths();
    struct Frame {
        const DrawingModel* model;
        double zoom;
        View view;
        bool isDark;
        QSize size;
    };
    const Frame frames[] = {
        {&preview.model, 1, View::Changes, true, kSize},
        {&preview.model, 1.3, View::Before, true, kSize},
        {&indexed, 4, View::After, false, kSize},
        {&preview.model, 1, View::After, false, QSize(300, 200)},
        {&preview.model, 2, View::Changes, true, kSize},
        {&preview.model, 1, View::Changes, true, kSize},  // the first frame's dots again
    };
    SceneCache cache;
    for (const Frame& frame : frames) {
        const QRectF area(QPointF(0, 0), frame.size);
        Viewport viewport = Viewport::fitting(frame.model->extents, area);
        viewport.zoomAt(area.center(), frame.zoom);
        SceneStyle style;
        style.view = frame.view;
        style.isDark = frame.isDark;
        SceneCache fresh;
        EXPECT_TRUE(cache.frame(*frame.model, viewport, style, frame.size) ==
                    fresh.frame(*frame.model, viewport, style, frame.size))
            << "zoom " << frame.zoom << ", view " << static_cast<int>(frame.view);
    }
}

struct PanCase {
    const char* name;
    double zoom;  // from the fitted view, around the middle
    QPointF by;   // the pan, in pixels
};

const PanCase kPans[] = {
    {"a pan to the right of the whole drawing", 1, {37, 0}},
    {"a pan to the left of the whole drawing", 1, {-50, 0}},
    {"a pan upwards of a zoomed view", 4, {0, -23}},
    {"a pan down and to the right of a zoomed view", 6, {13, 29}},
    {"a pan up and to the left of a zoomed view", 3, {-71, -5}},
    {"a pan by part of a pixel", 2, {10.5, 0}},
    {"a pan further than the picture is wide", 2, {450, 0}},
};

class PannedCache : public ::testing::TestWithParam<PanCase> {};

// The sample with a grid of lines and slanted lines over it, so that every strip a pan uncovers
// has something in it.
Preview gridPreview(const testing::TempDir& folder) {
    std::string entities =
        record("CIRCLE", {{"  8", "0"}, {" 10", "20"}, {" 20", "80"}, {" 40", "1"}}) +
        lineRecord("0", "40", "30", "40") + lineRecord("0", "40", "30", "40");
    for (int k = 0; k <= 100; k += 7) {
        const std::string at = std::to_string(k);
        entities += lineRecord(at, "0", at, "100") + lineRecord("0", at, "100", at) +
                    lineRecord(at, "0", "100", std::to_string(100 - k));
    }
    return previewOfEntities(folder, "grid.dxf", entities, "5", nullptr);
}

TEST_P(PannedCache, ShowsWhatAFreshFrameOfTheViewShows) {
    ASSERT_NE(QGuiApplication::instance(), nullptr);
    testing::TempDir folder;
    const Preview preview = gridPreview(folder);
    ASSERT_EQ(preview.failure, "");
    Viewport viewport = Viewport::fitting(preview.model.extents, kArea);
    viewport.zoomAt(kArea.center(), GetParam().zoom);
    SceneCache cache;
    for (View view : {View::Before, View::After, View::Changes}) {
        SceneStyle style;
        style.view = view;
        Viewport panned = viewport;
        cache.frame(preview.model, viewport, style, kSize);
        panned.panBy(GetParam().by);
        const QImage moved = cache.frame(preview.model, panned, style, kSize);
        SceneCache fresh;
        EXPECT_TRUE(moved == fresh.frame(preview.model, panned, style, kSize))
            << "view " << static_cast<int>(view);
    }
}

INSTANTIATE_TEST_SUITE_P(Scene, PannedCache, ::testing::ValuesIn(kPans),
                         [](const auto& row) { return testing::identifier(row.param.name); });

}  // namespace
}  // namespace lintrel::preview

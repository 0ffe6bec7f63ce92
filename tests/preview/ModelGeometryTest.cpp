#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <thread>
#include <tuple>
#include <variant>

#include "CutLength.h"
#include "Drawing.h"
#include "DrawingReader.h"
#include "PreviewDrawings.h"
#include "TempDir.h"

namespace lintrel::preview {
namespace {

using testing::block;
using testing::lineRecord;
using testing::previewDrawing;
using testing::record;

constexpr double kPi = std::numbers::pi;
// The perimeter of an ellipse with half-axes 2 and 1.
constexpr double kEllipsePerimeter = 9.688448220547675;

struct GeometryCase {
    const char* name;
    std::string entities;
    std::string blocks;
    double cutLength;
    Point low;
    Point high;
};

std::string insert(std::string_view name, std::string_view x, std::string_view y,
                   std::string_view scaleX, std::string_view scaleY, std::string_view degrees) {
    return record("INSERT", {{"  8", "0"},
                             {"  2", name},
                             {" 10", x},
                             {" 20", y},
                             {" 41", scaleX},
                             {" 42", scaleY},
                             {" 50", degrees}});
}

const GeometryCase kGeometry[] = {
    {"a bulge of one is a half circle",
     record("LWPOLYLINE", {{"  8", "0"},
                           {" 90", "2"},
                           {" 70", "0"},
                           {" 10", "0"},
                           {" 20", "0"},
                           {" 42", "1"},
                           {" 10", "2"},
                           {" 20", "0"}}),
     "",
     kPi,
     {0, -1},
     {2, 0}},
    {"an arc of radius two over ninety degrees is pi",
     record("ARC",
            {{"  8", "0"}, {" 10", "0"}, {" 20", "0"}, {" 40", "2"}, {" 50", "0"}, {" 51", "90"}}),
     "",
     kPi,
     {0, 0},
     {2, 2}},
    {"a nested insert is scaled and rotated at each level",
     insert("OUTER", "10", "0", "3", "3", "90"),
     block("INNER", lineRecord("0", "0", "1", "0")) +
         block("OUTER", insert("INNER", "0", "0", "2", "2", "0")),
     6,
     {10, 0},
     {10, 6}},
    {"a circle scaled unevenly is cut as an ellipse",
     insert("RING", "0", "0", "2", "1", "0"),
     block("RING", record("CIRCLE", {{"  8", "0"}, {" 10", "0"}, {" 20", "0"}, {" 40", "1"}})),
     kEllipsePerimeter,
     {-2, -1},
     {2, 1}},
    {"a dimension draws its block and is not cut",
     record("DIMENSION", {{"  8", "0"}, {"  2", "*D1"}, {" 10", "0"}, {" 20", "0"}}),
     block("*D1", lineRecord("0", "0", "5", "0")),
     0,
     {0, 0},
     {5, 0}},
    {"an ellipse arc over a quarter is a quarter of the perimeter",
     record("ELLIPSE", {{"  8", "0"},
                        {" 10", "0"},
                        {" 20", "0"},
                        {" 11", "2"},
                        {" 21", "0"},
                        {" 40", "0.5"},
                        {" 41", "0"},
                        {" 42", "1.5707963267948966"}}),
     "",
     kEllipsePerimeter / 4,
     {0, 0},
     {2, 1}},
    {"a quadratic spline is measured along its curve",
     record("SPLINE", {{"  8", "0"},
                       {" 71", "2"},
                       {" 40", "0"},
                       {" 40", "0"},
                       {" 40", "0"},
                       {" 40", "1"},
                       {" 40", "1"},
                       {" 40", "1"},
                       {" 10", "0"},
                       {" 20", "0"},
                       {" 10", "1"},
                       {" 20", "2"},
                       {" 10", "2"},
                       {" 20", "0"}}),
     "",
     2.9578857150891953,
     {0, 0},
     {2, 1}},
    {"a spline of fit points only passes through them",
     record("SPLINE",
            {{"  8", "0"}, {" 71", "3"}, {" 11", "0"}, {" 21", "0"}, {" 11", "3"}, {" 21", "0"}}),
     "",
     3,
     {0, 0},
     {3, 0}},
    {"an xline leaves the extents and the cut length alone",
     record("XLINE", {{"  8", "0"}, {" 10", "0"}, {" 20", "0"}, {" 11", "1"}, {" 21", "1"}}) +
         lineRecord("0", "0", "1", "0"),
     "",
     1,
     {0, 0},
     {1, 0}},
    {"a block that inserts itself is drawn once, not forever",
     insert("LOOP", "0", "0", "1", "1", "0"),
     block("LOOP", lineRecord("0", "0", "1", "0") + insert("LOOP", "1", "0", "1", "1", "0")),
     1,
     {0, 0},
     {1, 0}},
    {"a closed polyline of vertices is cut all round",
     record("POLYLINE", {{"  8", "0"}, {" 66", "1"}, {" 70", "1"}}) +
         record("VERTEX", {{"  8", "0"}, {" 10", "0"}, {" 20", "0"}}) +
         record("VERTEX", {{"  8", "0"}, {" 10", "1"}, {" 20", "0"}}) +
         record("VERTEX", {{"  8", "0"}, {" 10", "1"}, {" 20", "1"}}) + record("SEQEND", {}),
     "",
     2 + std::sqrt(2.0),
     {0, 0},
     {1, 1}},
    {"a hatch's boundary is drawn and not cut",
     record("HATCH", {{"  8", "0"},
                      {" 10", "0"},
                      {" 20", "0"},
                      {"  2", "SOLID"},
                      {" 70", "1"},
                      {" 91", "1"},
                      {" 92", "2"},
                      {" 72", "0"},
                      {" 73", "1"},
                      {" 93", "3"},
                      {" 10", "0"},
                      {" 20", "0"},
                      {" 10", "4"},
                      {" 20", "0"},
                      {" 10", "4"},
                      {" 20", "3"},
                      {" 97", "1"},
                      {"330", "2F"}}),
     "",
     0,
     {0, 0},
     {4, 3}},
    {"paper space is drawn but not cut",
     record("LINE",
            {{" 67", "1"}, {"  8", "0"}, {" 10", "0"}, {" 20", "0"}, {" 11", "4"}, {" 21", "0"}}),
     "",
     0,
     {0, 0},
     {4, 0}},
};

class Geometry : public ::testing::TestWithParam<GeometryCase> {};

TEST_P(Geometry, GivesItsCutLengthAndExtents) {
    const GeometryCase& c = GetParam();
    const DrawingModel model = modelOf(previewDrawing(c.entities, c.blocks));
    EXPECT_NEAR(cutLengthOf(model).before, c.cutLength, 1e-9 * std::max(1.0, c.cutLength));
    ASSERT_FALSE(model.extents.isEmpty());
    // Arcs are drawn with straight pieces, so their extents are as near as those pieces lie.
    EXPECT_NEAR(model.extents.low.x, c.low.x, 1e-3);
    EXPECT_NEAR(model.extents.low.y, c.low.y, 1e-3);
    EXPECT_NEAR(model.extents.high.x, c.high.x, 1e-3);
    EXPECT_NEAR(model.extents.high.y, c.high.y, 1e-3);
    EXPECT_EQ(notDrawnLine(model), "");
}

INSTANTIATE_TEST_SUITE_P(Model, Geometry, ::testing::ValuesIn(kGeometry),
                         [](const auto& row) { return testing::identifier(row.param.name); });

// What tells two models apart: each entity with its paths and their points.
void expectSameModel(const DrawingModel& a, const DrawingModel& b) {
    ASSERT_EQ(a.entities.size(), b.entities.size());
    ASSERT_EQ(a.paths.size(), b.paths.size());
    ASSERT_EQ(a.points.size(), b.points.size());
    ASSERT_EQ(a.conics.size(), b.conics.size());
    ASSERT_EQ(a.texts.size(), b.texts.size());
    for (std::size_t k = 0; k < a.entities.size(); ++k) {
        const Entity& x = a.entities[k];
        const Entity& y = b.entities[k];
        ASSERT_EQ(std::tie(x.offset, x.type, x.colour, x.firstPath, x.pathCount, x.cutLength),
                  std::tie(y.offset, y.type, y.colour, y.firstPath, y.pathCount, y.cutLength))
            << "entity " << k;
    }
    for (std::size_t k = 0; k < a.paths.size(); ++k) {
        const Path& x = a.paths[k];
        const Path& y = b.paths[k];
        ASSERT_EQ(std::tie(x.first, x.count, x.colour, x.isConic, x.entity),
                  std::tie(y.first, y.count, y.colour, y.isConic, y.entity))
            << "path " << k;
    }
    for (std::size_t k = 0; k < a.points.size(); ++k) {
        ASSERT_EQ(std::tie(a.points[k].x, a.points[k].y), std::tie(b.points[k].x, b.points[k].y))
            << "point " << k;
    }
    EXPECT_EQ(a.notDrawn, b.notDrawn);
    EXPECT_EQ(std::tie(a.extents.low.x, a.extents.low.y, a.extents.high.x, a.extents.high.y),
              std::tie(b.extents.low.x, b.extents.low.y, b.extents.high.x, b.extents.high.y));
}

// Beside a run the reading builds the entities on its own thread until the model is awaited,
// then on two: wherever it changes over, the model is the one built on two threads throughout.
TEST(Model, IsTheSameWhereverItsReadingTakesASecondThread) {
    std::string entities;
    std::string blocks;
    for (const GeometryCase& c : kGeometry) {
        blocks += c.blocks;
    }
    for (int k = 0; k < 2000; ++k) {
        for (const GeometryCase& c : kGeometry) {
            entities += c.entities;
        }
    }
    testing::TempDir folder;
    const std::string path = folder.write("mixed.dxf", previewDrawing(entities, blocks));
    const DrawingModel reference = std::get<DrawingModel>(readDrawing(path));
    // Many batches of entities for a second thread to build.
    ASSERT_GE(reference.entities.size(), 2000 * std::size(kGeometry));
    const auto readAwaitedAfter = [&path](std::optional<std::chrono::microseconds> wait) {
        std::atomic<bool> isAwaited = false;
        std::jthread awaiting([&](const std::stop_token& stop) {
            if (!wait) {
                return;
            }
            const auto until = std::chrono::steady_clock::now() + *wait;
            while (!stop.stop_requested() && std::chrono::steady_clock::now() < until) {
                std::this_thread::yield();
            }
            isAwaited = true;
        });
        return std::get<DrawingModel>(readDrawing(path, {}, &isAwaited));
    };
    for (const auto wait :
         {std::optional<std::chrono::microseconds>(), std::optional(std::chrono::microseconds(0)),
          std::optional(std::chrono::microseconds(2000)),
          std::optional(std::chrono::microseconds(10000))}) {
        SCOPED_TRACE(wait ? std::to_string(wait->count()) + " us" : "never awaited");
        expectSameModel(readAwaitedAfter(wait), reference);
    }
}

TEST(Model, CountsAnEntityWithANonNumericCoordinateAsNotDrawn) {
    const DrawingModel model =
        modelOf(previewDrawing(lineRecord("abc", "0", "1", "0") + lineRecord("0", "0", "1", "0")));
    EXPECT_EQ(notDrawnLine(model), "描画しない図形: LINE 1");
    EXPECT_EQ(model.entities.size(), 2U);
    EXPECT_EQ(model.entities[0].pathCount, 0U);
    EXPECT_DOUBLE_EQ(cutLengthOf(model).before, 1);
}

TEST(Model, ListsTheTypesItDoesNotDrawWithTheirCounts) {
    const DrawingModel model = modelOf(
        previewDrawing(record("3DSOLID", {{"  8", "0"}}) + record("3DSOLID", {{"  8", "0"}}) +
                       record("REGION", {{"  8", "0"}}) + lineRecord("0", "0", "1", "0")));
    EXPECT_EQ(notDrawnLine(model), "描画しない図形: 3DSOLID 2, REGION 1");
}

TEST(Model, KeepsEachRecordsPositionTypeLayerAndHandle) {
    const std::string entities = lineRecord("0", "0", "1", "0", "WALLS", "DASHED");
    const std::string bytes = previewDrawing(entities);
    const DrawingModel model = modelOf(bytes);
    ASSERT_EQ(model.entities.size(), 1U);
    const Entity& line = model.entities[0];
    EXPECT_EQ(line.offset, bytes.find(entities));
    EXPECT_EQ(model.names[line.type], "LINE");
    EXPECT_EQ(model.names[line.layer], "WALLS");
    EXPECT_EQ(model.names[line.lineType], "DASHED");
    EXPECT_EQ(line.handle, 0x1FU);
}

TEST(Model, ColoursByLayerByIndexAndByTrueColourAndFaintOnFrozenLayers) {
    const std::string layers = record("LAYER", {{"  2", "RED"}, {" 70", "0"}, {" 62", "1"}}) +
                               record("LAYER", {{"  2", "OFF"}, {" 70", "0"}, {" 62", "-3"}}) +
                               record("LAYER", {{"  2", "FROZEN"}, {" 70", "1"}, {" 62", "5"}});
    const std::string entities = lineRecord("0", "0", "1", "0", "RED") +
                                 record("LINE", {{"  8", "RED"},
                                                 {" 62", "30"},
                                                 {" 10", "0"},
                                                 {" 20", "0"},
                                                 {" 11", "1"},
                                                 {" 21", "0"}}) +
                                 record("LINE", {{"  8", "RED"},
                                                 {" 62", "3"},
                                                 {"420", "1193046"},
                                                 {" 10", "0"},
                                                 {" 20", "0"},
                                                 {" 11", "1"},
                                                 {" 21", "0"}}) +
                                 lineRecord("0", "0", "1", "0", "OFF") +
                                 lineRecord("0", "0", "1", "0", "FROZEN");
    const DrawingModel model = modelOf(previewDrawing(entities, "", layers));
    ASSERT_EQ(model.paths.size(), 5U);
    EXPECT_EQ(model.paths[0].colour, 0xFF0000U);
    EXPECT_EQ(model.paths[1].colour, 0xFF7F00U);
    EXPECT_EQ(model.paths[2].colour, 0x123456U);
    EXPECT_EQ(model.paths[3].colour, 0x00FF00U);
    EXPECT_TRUE(model.paths[3].isFaint);
    EXPECT_TRUE(model.paths[4].isFaint);
    EXPECT_FALSE(model.paths[0].isFaint);
}

TEST(Model, GivesABlocksByBlockEntitiesTheInsertsColour) {
    const std::string blocks = block(
        "B",
        record(
            "LINE",
            {{"  8", "0"}, {" 62", "0"}, {" 10", "0"}, {" 20", "0"}, {" 11", "1"}, {" 21", "0"}}));
    const std::string entities =
        record("INSERT", {{"  8", "0"}, {" 62", "1"}, {"  2", "B"}, {" 10", "0"}, {" 20", "0"}});
    const DrawingModel model = modelOf(previewDrawing(entities, blocks));
    ASSERT_EQ(model.paths.size(), 1U);
    EXPECT_EQ(model.paths[0].colour, 0xFF0000U);
}

TEST(Model, ReadsInsUnits) {
    const DrawingModel model =
        modelOf(previewDrawing("", "", "", testing::crlf({"  9", "$INSUNITS", " 70", "4"})));
    EXPECT_EQ(model.insUnits, 4);
}

}  // namespace
}  // namespace lintrel::preview

namespace lintrel::preview {
namespace {

TEST(CutLengthText, NamesTheDrawingsUnitsAndTheShareSaved) {
    const CutLength cut{120, 100, {}};
    EXPECT_EQ(cutLengthText(cut, 4),
              "切断長 前 120.000 mm  後 100.000 mm  削減 20.000 mm (16.67%)");
    EXPECT_EQ(cutLengthText(cut, 0), "切断長 前 120.000  後 100.000  削減 20.000 (16.67%)");
    EXPECT_EQ(cutLengthText(CutLength{}, 1),
              "切断長 前 0.000 in  後 0.000 in  削減 0.000 in (0.00%)");
}

struct ConicCase {
    const char* name;
    Conic conic;
};

const ConicCase kConics[] = {
    {"a full circle", circleArc({3, 4}, 2, 0, 2 * kPi)},
    {"an arc over the top", circleArc({0, 0}, 2, kPi / 18, kPi * 10 / 18)},
    {"an arc across angle zero", circleArc({0, 0}, 1, -kPi / 6, kPi / 6)},
    {"an arc within one quadrant", circleArc({5, 5}, 3, 0.2, 1.2)},
    {"an arc of more than a turn", circleArc({0, 0}, 1, 0, 5 * kPi)},
    {"a turned ellipse's arc", {{1, 2}, {3, 1}, {-0.5, 1}, 0.3, 4.0}},
    {"an arc of a mirrored ellipse", {{0, 0}, {-2, 0}, {0, 1}, 2.5, 6.0}},
    {"an arc running backwards", {{0, 0}, {1, 0}, {0, 1}, 2.0, -1.0}},
};

class ConicBounds : public ::testing::TestWithParam<ConicCase> {};

TEST_P(ConicBounds, HoldEveryPointOfTheArcAndNoMore) {
    const Conic& conic = GetParam().conic;
    const auto box = conic.bounds();
    std::array<double, 4> sampled = {1e300, 1e300, -1e300, -1e300};
    constexpr int kSamples = 100000;
    for (int k = 0; k <= kSamples; ++k) {
        const Point p = conic.at(conic.t0 + (conic.t1 - conic.t0) * k / kSamples);
        sampled = {std::min(sampled[0], p.x), std::min(sampled[1], p.y), std::max(sampled[2], p.x),
                   std::max(sampled[3], p.y)};
    }
    EXPECT_LE(box[0], sampled[0] + 1e-12);
    EXPECT_LE(box[1], sampled[1] + 1e-12);
    EXPECT_GE(box[2], sampled[2] - 1e-12);
    EXPECT_GE(box[3], sampled[3] - 1e-12);
    for (std::size_t k = 0; k < box.size(); ++k) {
        EXPECT_NEAR(box[k], sampled[k], 1e-8) << k;
    }
}

INSTANTIATE_TEST_SUITE_P(Model, ConicBounds, ::testing::ValuesIn(kConics),
                         [](const auto& row) { return testing::identifier(row.param.name); });

TEST(Model, DrawsAnArcWithItsPiecesWhenAsked) {
    const DrawingModel model = modelOf(previewDrawing(record(
        "ARC",
        {{"  8", "0"}, {" 10", "0"}, {" 20", "0"}, {" 40", "2"}, {" 50", "0"}, {" 51", "90"}})));
    ASSERT_EQ(model.paths.size(), 1U);
    const Path& arc = model.paths[0];
    ASSERT_EQ(arc.count, 25U);  // 24 pieces for a quarter turn
    std::vector<Point> scratch;
    const Point* points = model.pointsOf(arc, scratch);
    EXPECT_NEAR(points[0].x, 2, 1e-12);
    EXPECT_NEAR(points[0].y, 0, 1e-12);
    EXPECT_NEAR(points[24].x, 0, 1e-12);
    EXPECT_NEAR(points[24].y, 2, 1e-12);
    EXPECT_NEAR(points[12].x, std::sqrt(2.0), 1e-12);
    EXPECT_FLOAT_EQ(arc.box.highX, 2);
    EXPECT_FLOAT_EQ(arc.box.highY, 2);
}

}  // namespace
}  // namespace lintrel::preview

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <stop_token>
#include <vector>

#include "PathIndex.h"
#include "PreviewDrawings.h"

namespace lintrel::preview {
namespace {

// What the index is asked about: a box per number, as the model's paths keep theirs.
struct Boxed {
    Box box;
};

// 1,000 boxes (more than the fanout squared, so the tree has three levels): a 30 x 30 grid of
// squares 1 wide with gaps of 1 between them, 60 long thin lines across it, and 40 points.
std::vector<Boxed> sampleBoxes() {
    std::vector<Boxed> boxes;
    for (int row = 0; row < 30; ++row) {
        for (int column = 0; column < 30; ++column) {
            const auto x = static_cast<float>(2 * column);
            const auto y = static_cast<float>(2 * row);
            boxes.push_back({{x, y, x + 1, y + 1}});
        }
    }
    std::mt19937 random(7);
    std::uniform_real_distribution<float> along(0, 59);
    for (int k = 0; k < 60; ++k) {
        const float at = along(random);
        boxes.push_back(k % 2 == 0 ? Boxed{{0, at, 59, at}} : Boxed{{at, 0, at, 59}});
    }
    for (int k = 0; k < 40; ++k) {
        const float x = along(random);
        const float y = along(random);
        boxes.push_back({{x, y, x, y}});
    }
    return boxes;
}

PathIndex indexOf(const std::vector<Boxed>& boxes) {
    PathIndex::Entries entries;
    for (std::uint32_t k = 0; k < boxes.size(); ++k) {
        entries.push_back({boxes[k].box, k});
    }
    return PathIndex(std::move(entries));
}

std::vector<std::uint32_t> meeting(const std::vector<Boxed>& boxes, const Box& view) {
    std::vector<std::uint32_t> numbers;
    for (std::uint32_t k = 0; k < boxes.size(); ++k) {
        if (boxes[k].box.meets(view)) {
            numbers.push_back(k);
        }
    }
    return numbers;
}

struct ViewCase {
    const char* name;
    Box view;
    std::size_t atLeast;  // how many boxes the view meets at the least, so that it tests something
};

const ViewCase kViews[] = {
    {"a view around everything meets every box", {-10, -10, 100, 100}, 1000},
    {"a view left of everything meets nothing", {-50, 0, -1, 59}, 0},
    {"a view above everything meets nothing", {0, 60, 59, 80}, 0},
    {"a view within one square meets it and what crosses it", {20.25F, 20.25F, 20.75F, 20.75F}, 1},
    {"a view touching a square's corner meets it", {21, 21, 21.5F, 21.5F}, 1},
    {"a point view meets what lies on it", {40.5F, 40.5F, 40.5F, 40.5F}, 1},
    {"a thin strip meets a row of squares", {0, 10.5F, 59, 10.5F}, 30},
    {"a view in the top right corner meets a few squares", {50, 50, 70, 70}, 25},
    {"a view over half the drawing meets half the squares", {-1, -1, 29.5F, 61}, 450},
};

class IndexQuery : public ::testing::TestWithParam<ViewCase> {};

TEST_P(IndexQuery, ReturnsExactlyTheBoxesMeetingTheView) {
    const std::vector<Boxed> boxes = sampleBoxes();
    const PathIndex index = indexOf(boxes);
    std::vector<std::uint32_t> found;
    index.query(boxes, GetParam().view, [&](std::uint32_t number) { found.push_back(number); });
    std::multiset<std::uint32_t> once(found.begin(), found.end());
    for (std::uint32_t number : found) {
        EXPECT_EQ(once.count(number), 1U) << "visited twice: " << number;
    }
    std::sort(found.begin(), found.end());
    const std::vector<std::uint32_t> expected = meeting(boxes, GetParam().view);
    EXPECT_EQ(found, expected);
    EXPECT_GE(expected.size(), GetParam().atLeast);
}

INSTANTIATE_TEST_SUITE_P(PathIndex, IndexQuery, ::testing::ValuesIn(kViews),
                         [](const auto& row) { return testing::identifier(row.param.name); });

TEST(PathIndex, OfNothingFindsNothing) {
    const std::vector<Boxed> none;
    const PathIndex index = indexOf(none);
    EXPECT_TRUE(index.isEmpty());
    int visits = 0;
    index.query(none, Box{-1e30F, -1e30F, 1e30F, 1e30F}, [&](std::uint32_t) { ++visits; });
    EXPECT_EQ(visits, 0);
}

TEST(PathIndex, ABuildAskedToStopIndexesNothing) {
    const std::vector<Boxed> boxes = sampleBoxes();
    PathIndex::Entries entries;
    for (std::uint32_t k = 0; k < boxes.size(); ++k) {
        entries.push_back({boxes[k].box, k});
    }
    std::stop_source stop;
    EXPECT_FALSE(PathIndex(entries, stop.get_token()).isEmpty());
    stop.request_stop();
    EXPECT_TRUE(PathIndex(entries, stop.get_token()).isEmpty());
}

TEST(PathIndex, ReturnsTheNumbersItWasGivenNotThePositions) {
    // Numbers with gaps, as the index of a model skips XLINE and RAY paths.
    std::vector<Boxed> boxes(10, Boxed{{100, 100, 101, 101}});
    boxes[3].box = {0, 0, 1, 1};
    boxes[7].box = {5, 5, 6, 6};
    const PathIndex index({{boxes[3].box, 3}, {boxes[7].box, 7}});
    std::vector<std::uint32_t> found;
    index.query(boxes, Box{0, 0, 10, 10}, [&](std::uint32_t number) { found.push_back(number); });
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<std::uint32_t>{3, 7}));
}

TEST(PathIndex, KeepsBoxesOfEveryPlaceAndSizeApart) {
    // Boxes far beyond single precision's range and of no size at all sort like any other.
    std::vector<Boxed> boxes = {{{-3e38F, -3e38F, -3e38F, -3e38F}},
                                {{0, 0, 0, 0}},
                                {{3e38F, 3e38F, 3e38F, 3e38F}},
                                {{-1, -1, 1, 1}}};
    const PathIndex index = indexOf(boxes);
    std::vector<std::uint32_t> found;
    index.query(boxes, Box{-0.5F, -0.5F, 0.5F, 0.5F},
                [&](std::uint32_t number) { found.push_back(number); });
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<std::uint32_t>{1, 3}));
}

}  // namespace
}  // namespace lintrel::preview

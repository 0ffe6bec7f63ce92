#include <gtest/gtest.h>

#include <stop_token>
#include <string>
#include <variant>

#include "CleanRun.h"
#include "Drawing.h"
#include "ModelReadAhead.h"
#include "TempDir.h"

namespace lintrel::preview {
namespace {

using testing::linesDrawing;
using testing::TempDir;

std::size_t entitiesOf(const std::variant<DrawingModel, std::string>& read) {
    return std::get<DrawingModel>(read).entities.size();
}

TEST(ModelReadAhead, GivesTheModelReadAheadOfItsDrawing) {
    TempDir folder;
    const std::string path = folder.write("three.dxf", linesDrawing(3));
    ModelReadAhead ahead;
    ahead.start(path);
    EXPECT_EQ(entitiesOf(ahead.take(path)), 3U);
    // Taken once: the next take reads again.
    EXPECT_EQ(entitiesOf(ahead.take(path)), 3U);
}

TEST(ModelReadAhead, ReadsAnotherDrawingThanTheOneAheadWhenAskedForIt) {
    TempDir folder;
    const std::string first = folder.write("first.dxf", linesDrawing(5000));
    const std::string second = folder.write("second.dxf", linesDrawing(2));
    ModelReadAhead ahead;
    ahead.start(first);
    ahead.start(second);  // one read at a time: this one is not started
    EXPECT_EQ(entitiesOf(ahead.take(second)), 2U);
    EXPECT_EQ(entitiesOf(ahead.take(first)), 5000U);
}

// A take asked to stop gives up with RunInterrupted, whether it reads the drawing itself or waits
// for the read ahead; the read ahead goes on, and a later take gets its model.
TEST(ModelReadAhead, ATakeAskedToStopGivesUpButTheReadAheadGoesOn) {
    TempDir folder;
    const std::string path = folder.write("large.dxf", linesDrawing(150000));
    std::stop_source stopping;
    stopping.request_stop();
    ModelReadAhead ahead;
    EXPECT_THROW(ahead.take(path, stopping.get_token()), RunInterrupted);
    ahead.start(path);
    EXPECT_THROW(ahead.take(path, stopping.get_token()), RunInterrupted);
    EXPECT_EQ(entitiesOf(ahead.take(path)), 150000U);
}

TEST(ModelReadAhead, TellsWhyADrawingCouldNotBeRead) {
    TempDir folder;
    const std::string missing = (folder.path() / "missing.dxf").string();
    ModelReadAhead ahead;
    ahead.start(missing);
    const auto read = ahead.take(missing);
    ASSERT_TRUE(std::holds_alternative<std::string>(read));
    EXPECT_EQ(std::get<std::string>(read), " missing.dxf" + std::string(kUnreadable));
}

}  // namespace
}  // namespace lintrel::preview

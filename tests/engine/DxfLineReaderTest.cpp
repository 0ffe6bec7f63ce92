#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DxfError.h"
#include "DxfLineReader.h"
#include "TempDir.h"

namespace lintrel {
namespace {

using testing::TempDir;

std::vector<std::string> readAll(const std::string& path) {
    DxfLineReader reader(path);
    std::vector<std::string> lines;
    while (!reader.atEnd()) {
        lines.emplace_back(reader.readLine());
    }
    return lines;
}

struct SplitCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
    long lineEnds;
};

TEST(DxfLineReader, SplitsLinesAtEveryKindOfLineEnd) {
    const SplitCase cases[] = {
        {"CR LF ends a line", "A\r\nB\r\n", {"A", "B"}, 2},
        {"lone CR ends a line", "A\rB\r\n", {"A", "B"}, 2},
        {"lone LF ends a line", "A\nB\n", {"A", "B"}, 2},
        {"LF CR is two line ends", "A\n\rB", {"A", "", "B"}, 2},
        {"a last line without a line end is read", "A\r\nB", {"A", "B"}, 1},
        {"empty lines are lines", "\r\n\r\n", {"", ""}, 2},
        {"an empty file has no lines", "", {}, 0},
        {"blanks and high bytes stay as they are", "  0\r\n\x82\xa0 x \r\n", {"  0", "\x82\xa0 x "}, 2},
    };
    TempDir dir;
    for (const auto& c : cases) {
        auto path = dir.write("case.dxf", c.bytes);
        EXPECT_EQ(readAll(path), c.lines) << c.name;
        EXPECT_EQ(countLineEnds(path), c.lineEnds) << c.name;
    }
}

TEST(DxfLineReader, KeepsCrLfTogetherAcrossItsBuffer) {
    // Put a CR as the very last byte of the first buffer fill, its LF as the first of the next.
    std::string first(1 << 20, 'x');
    first[first.size() - 1] = '\r';
    TempDir dir;
    auto path = dir.write("edge.dxf", first + "\nB\r");
    auto lines = readAll(path);
    ASSERT_EQ(lines.size(), 2U);
    EXPECT_EQ(lines[0], std::string((1 << 20) - 1, 'x'));
    EXPECT_EQ(lines[1], "B");
    EXPECT_EQ(countLineEnds(path), 2);
}

TEST(DxfLineReader, ReadsALineLongerThanItsBuffer) {
    std::string huge(5 << 20, 'z');
    TempDir dir;
    auto path = dir.write("long.dxf", "A\r\n" + huge + "\r\nB");
    EXPECT_EQ(readAll(path), (std::vector<std::string>{"A", huge, "B"}));
}

TEST(DxfLineReader, FailsWhenReadPastTheEndOrWhenTheFileIsMissing) {
    TempDir dir;
    DxfLineReader reader(dir.write("one.dxf", "A"));
    EXPECT_EQ(reader.readLine(), "A");
    EXPECT_TRUE(reader.atEnd());
    EXPECT_THROW(static_cast<void>(reader.readLine()), DxfError);
    EXPECT_THROW(DxfLineReader((dir.path() / "missing.dxf").string()), DxfError);
    EXPECT_THROW(DxfLineReader(dir.path().string()), DxfError);
}

}  // namespace
}  // namespace lintrel

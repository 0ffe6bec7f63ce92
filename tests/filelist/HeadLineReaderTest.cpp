#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "HeadLineReader.h"

namespace lintrel {
namespace {

std::vector<std::string> linesOf(const std::string& bytes) {
    std::istringstream in(bytes);
    HeadLineReader reader(in);
    std::vector<std::string> lines;
    std::string line;
    while (reader.next(line)) {
        lines.push_back(line);
    }
    return lines;
}

TEST(HeadLineReader, EndsLinesAtEveryKindOfLineEnd) {
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"CR LF ends a line", "A\r\nB\r\n", {"A", "B"}},
        {"a lone CR ends a line", "A\rB\r", {"A", "B"}},
        {"a lone LF ends a line", "A\nB\n", {"A", "B"}},
        {"mixed line ends in one file", "A\r\nB\rC\nD", {"A", "B", "C", "D"}},
        {"LF then CR are two line ends", "A\n\rB", {"A", "", "B"}},
        {"two CRs leave an empty line", "A\r\rB", {"A", "", "B"}},
        {"a last line without a line end is read", "  0\r\nEOF", {"  0", "EOF"}},
        {"an empty file has no line", "", {}},
        {"a lone line end is one empty line", "\r\n", {""}},
        {"blanks are kept", " A \r\n\t\r\n", {" A ", "\t"}},
        {"other control bytes are ordinary",
         std::string("A\x1a\0B\r\n", 6),
         {std::string("A\x1a\0B", 4)}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(linesOf(c.bytes), c.lines) << c.name;
    }
}

TEST(HeadLineReader, CutsAVeryLongLineButFindsItsEnd) {
    std::string longLine(HeadLineReader::kLongestKept + 10, 'x');
    auto lines = linesOf(longLine + "\r\nnext\r\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::string(HeadLineReader::kLongestKept, 'x'));
    EXPECT_EQ(lines[1], "next");
}

}  // namespace
}  // namespace lintrel

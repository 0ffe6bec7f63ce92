#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "DxfError.h"
#include "DxfLineReader.h"
#include "LineEnds.h"
#include "TempDir.h"

namespace lintrel {
namespace {

using testing::TempDir;

// Every line of the file; also checks that the reader ends at the file's last byte.
std::vector<std::string> readAll(const std::string& path) {
    DxfLineReader reader(path);
    std::vector<std::string> lines;
    while (!reader.atEnd()) {
        lines.emplace_back(reader.readLine());
    }
    EXPECT_EQ(reader.position(), reader.size()) << path;
    return lines;
}

struct SplitCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
};

TEST(DxfLineReader, SplitsLinesAtEveryKindOfLineEnd) {
    const SplitCase cases[] = {
        {"CR LF ends a line", "A\r\nB\r\n", {"A", "B"}},
        {"lone CR ends a line", "A\rB\r\n", {"A", "B"}},
        {"lone LF ends a line", "A\nB\n", {"A", "B"}},
        {"LF CR is two line ends", "A\n\rB", {"A", "", "B"}},
        {"a last line without a line end is read", "A\r\nB", {"A", "B"}},
        {"empty lines are lines", "\r\n\r\n", {"", ""}},
        {"an empty file has no lines", "", {}},
        {"blanks and high bytes stay as they are",
         "  0\r\n\x82\xa0 x \r\n",
         {"  0", "\x82\xa0 x "}},
    };
    TempDir dir;
    for (const auto& c : cases) {
        auto path = dir.write("case.dxf", c.bytes);
        EXPECT_EQ(readAll(path), c.lines) << c.name;
    }
}

TEST(DxfLineReader, KeepsCrLfTogetherAcrossItsBuffer) {
    // A CR as the last byte of a buffer fill, its LF as the first of the next, whatever the
    // buffer's size: every power of two from 4 KiB to 4 MiB is tried.
    TempDir dir;
    for (std::size_t size = 1 << 12; size <= (1 << 22); size *= 2) {
        std::string first(size, 'x');
        first[size - 1] = '\r';
        auto lines = readAll(dir.write("edge.dxf", first + "\nB\r"));
        ASSERT_EQ(lines.size(), 2U) << size;
        EXPECT_EQ(lines[0].size(), size - 1);
        EXPECT_EQ(lines[1], "B");
    }
}

// The lines of `bytes` split one byte at a time, and whether every one ended in CR LF.
std::pair<std::vector<std::string>, bool> splitByHand(const std::string& bytes) {
    std::vector<std::string> lines;
    bool allCrLf = true;
    std::string line;
    for (std::size_t k = 0; k < bytes.size(); ++k) {
        if (bytes[k] != '\r' && bytes[k] != '\n') {
            line += bytes[k];
            continue;
        }
        const bool isCrLf = bytes[k] == '\r' && k + 1 < bytes.size() && bytes[k + 1] == '\n';
        allCrLf = allCrLf && isCrLf;
        k += isCrLf ? 1 : 0;
        lines.push_back(std::exchange(line, {}));
    }
    if (!line.empty()) {
        lines.push_back(line);
        allCrLf = false;
    }
    return {lines, allCrLf};
}

// Every line of the reader, one at a time, or as pairs now and then broken off (an odd line and
// a broken-off pair's next line are read alone); checks the line count on the way.
std::vector<std::string> readRandomly(DxfLineReader& reader, std::size_t lineCount, bool inPairs,
                                      std::mt19937& random) {
    std::vector<std::string> read;
    while (!reader.atEnd()) {
        if (!inPairs || lineCount - read.size() < 2 || random() % 4 == 0) {
            read.emplace_back(reader.readLine());
            continue;
        }
        const std::size_t pairsWanted = 1 + random() % 40;
        std::size_t pairs = 0;
        reader.readPairs([&](std::string_view code, std::string_view value) {
            read.emplace_back(code);
            read.emplace_back(value);
            return ++pairs < pairsWanted && lineCount - read.size() >= 2;
        });
        EXPECT_EQ(reader.lineNumber(), static_cast<long>(read.size()));
    }
    return read;
}

TEST(DxfLineReader, SplitsRandomLineEndsAsAByteByByteSplitDoes) {
    // Mostly CR LF with now and then a lone CR or LF, anywhere in the 64-byte blocks the line
    // ends are looked for in and around the ends of the buffer's reads; read line by line and
    // in pairs.
    std::mt19937 random(8);
    TempDir dir;
    for (int k = 0; k < 800; ++k) {
        const int n = k / 2;
        const std::size_t size =
            n < 300 ? random() % 700 : (std::size_t{1} << (18 + n % 2)) + random() % 300 - 150;
        const unsigned oddEnds = n % 3 == 0 ? 0 : 1 + random() % 40;
        std::string bytes;
        while (bytes.size() < size) {
            bytes.append(random() % 12, "0123456789 ABC"[random() % 14]);
            const unsigned end = random() % 100;
            bytes += end < oddEnds ? (end % 2 == 0 ? "\r" : "\n") : "\r\n";
        }
        bytes.resize(size);
        const auto [lines, allCrLf] = splitByHand(bytes);
        DxfLineReader reader(dir.write("random.dxf", bytes));
        ASSERT_EQ(readRandomly(reader, lines.size(), k % 2 == 1, random), lines) << "case " << k;
        EXPECT_EQ(reader.endsAllInCrLf(), allCrLf) << "case " << k;
        EXPECT_EQ(reader.position(), reader.size()) << "case " << k;
    }
}

// Every CR LF, and only those, in order: lone CRs and LFs among them, CR LFs split across the
// 64-byte blocks the finder looks at, and a CR as the very last byte.
TEST(CrLfFinder, FindsTheCrLfsASearchFinds) {
    std::mt19937 random(15);
    for (int k = 0; k < 600; ++k) {
        std::string bytes(random() % 300, 'x');
        for (char& byte : bytes) {
            const unsigned pick = random() % 8;
            byte = pick < 2 ? '\r' : pick < 4 ? '\n' : 'x';
        }
        if (k % 3 == 0 && bytes.size() > 65) {
            bytes[63] = '\r';  // a CR LF across two blocks
            bytes[64] = '\n';
        }
        std::vector<std::size_t> searched;
        for (std::size_t at = bytes.find("\r\n"); at != std::string::npos;
             at = bytes.find("\r\n", at + 2)) {
            searched.push_back(at);
        }
        CrLfFinder finder(bytes);
        std::vector<std::size_t> found;
        for (std::size_t at = finder.next(); at != std::string_view::npos; at = finder.next()) {
            found.push_back(at);
        }
        ASSERT_EQ(found, searched) << "case " << k << ", " << bytes.size() << " bytes";
        EXPECT_EQ(finder.next(), std::string_view::npos) << "case " << k;
    }
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

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "DxfRecords.h"
#include "TempDir.h"

namespace lintrel::preview {
namespace {

using testing::TempDir;

struct WrittenRecord {
    std::uint64_t offset = 0;
    std::string type;
    std::vector<std::pair<int, std::string>> groups;

    bool operator==(const WrittenRecord&) const = default;
};

// Writes lines, each ended by CR LF, LF or a lone CR, never an empty line's LF after a lone CR
// (the two would read as one CR LF).
class LineWriter {
public:
    explicit LineWriter(std::mt19937& random) : m_random(random) {}

    void line(const std::string& text) {
        const bool mayEndInLf = !(text.empty() && m_lastEnd == "\r");
        const auto pick = m_random() % 8;
        m_lastEnd = pick >= 2 ? "\r\n" : pick == 1 && mayEndInLf ? "\n" : "\r";
        m_bytes += text + m_lastEnd;
    }
    // The last line's end taken off, unless that would leave the last line empty (no line).
    void dropLastEnd(const std::string& lastLine) {
        if (!lastLine.empty()) {
            m_bytes.resize(m_bytes.size() - m_lastEnd.size());
        }
    }
    const std::string& bytes() const { return m_bytes; }

private:
    std::mt19937& m_random;
    std::string m_bytes;
    std::string m_lastEnd;
};

// Random records whose values run from empty to longer than two of the reader's 16-byte looks.
std::pair<std::string, std::vector<WrittenRecord>> randomRecords(std::mt19937& random) {
    LineWriter writer(random);
    std::vector<WrittenRecord> records;
    std::string lastLine;
    for (auto count = 1 + random() % 6; count > 0; --count) {
        WrittenRecord record{writer.bytes().size(), "TYPE" + std::to_string(random() % 100), {}};
        writer.line("  0");
        writer.line(record.type);
        lastLine = record.type;
        for (auto groups = random() % 5; groups > 0; --groups) {
            const int code = 1 + static_cast<int>(random() % 999);
            std::string value(random() % 40, ' ');
            for (char& c : value) {
                c = "0123456789 .-ABCxyz"[random() % 19];
            }
            writer.line(std::to_string(code));
            writer.line(value);
            lastLine = value;
            record.groups.emplace_back(code, std::move(value));
        }
        records.push_back(std::move(record));
    }
    if (random() % 4 == 0) {
        writer.dropLastEnd(lastLine);
    }
    return {writer.bytes(), records};
}

// The records a reader reads, their memory released before each next one as the model's reading
// does.
std::vector<WrittenRecord> readRecords(RecordReader& reader) {
    std::vector<WrittenRecord> read;
    Record record;
    for (reader.releaseRecordsRead(); reader.next(record); reader.releaseRecordsRead()) {
        WrittenRecord lines{record.offset, std::string(record.type), {}};
        for (const Group& group : record.groups) {
            lines.groups.emplace_back(group.code, std::string(group.value));
        }
        read.push_back(std::move(lines));
    }
    return read;
}

TEST(RecordReader, SplitsRecordsAtEveryKindOfLineEndWhereverItFalls) {
    std::mt19937 random(20261208);
    TempDir folder;
    for (int k = 0; k < 3000; ++k) {
        const auto [bytes, written] = randomRecords(random);
        RecordReader reader(bytes);
        ASSERT_EQ(readRecords(reader), written) << "case " << k;
        ASSERT_FALSE(reader.isDamaged()) << "case " << k;
        // Read from a file in windows from a byte long to longer than the drawing, a window's end
        // falls anywhere: within a line, between a CR and its LF, between two records.
        const std::string path = folder.write("drawing.dxf", bytes);
        for (const std::size_t window : {1, 2, 5, 16, 33, 100, 4096}) {
            DrawingFile file(path);
            RecordReader fromFile(file, window);
            ASSERT_EQ(readRecords(fromFile), written) << "case " << k << ", window " << window;
            ASSERT_FALSE(fromFile.isDamaged()) << "case " << k << ", window " << window;
        }
    }
}

// A drawing held in memory has its line ends found a long stretch at a time: wherever a stretch
// ends (within a line, between a CR and its LF, between two groups), the records read the same.
TEST(RecordReader, SplitsALongDrawingWhereverItsStretchesEnd) {
    std::mt19937 random(20261209);
    constexpr std::size_t kStretch = std::size_t{1} << 16;
    for (std::size_t pad = kStretch - 48; pad < kStretch + 8; ++pad) {
        const auto [tail, tailRecords] = randomRecords(random);
        const std::string head = "  0\r\nHEAD\r\n999\r\n" + std::string(pad, 'x') + "\r\n";
        std::vector<WrittenRecord> written{{0, "HEAD", {{999, std::string(pad, 'x')}}}};
        for (WrittenRecord record : tailRecords) {
            record.offset += head.size();
            written.push_back(std::move(record));
        }
        const std::string bytes = head + tail;
        RecordReader reader(bytes);
        ASSERT_EQ(readRecords(reader), written) << "padding " << pad;
        ASSERT_FALSE(reader.isDamaged()) << "padding " << pad;
    }
}

// The values of a record stay where they were read until the records read are released, however
// many windows the reading has passed meanwhile.
TEST(RecordReader, KeepsTheValuesOfTheRecordsReadUntilReleased) {
    std::string bytes;
    for (int k = 0; k < 200; ++k) {
        bytes +=
            "  0\r\nTYPE" + std::to_string(k) + "\r\n  8\r\nlayer " + std::to_string(k) + "\r\n";
    }
    TempDir folder;
    const std::string path = folder.write("drawing.dxf", bytes);
    DrawingFile file(path);
    RecordReader reader(file, 16);
    std::vector<Record> held(200);
    for (int k = 0; k < 200; ++k) {
        ASSERT_TRUE(reader.next(held[static_cast<std::size_t>(k)])) << k;
    }
    for (int k = 0; k < 200; ++k) {
        const Record& record = held[static_cast<std::size_t>(k)];
        EXPECT_EQ(record.type, "TYPE" + std::to_string(k));
        ASSERT_EQ(record.groups.size(), 1U);
        EXPECT_EQ(record.groups[0].value, "layer " + std::to_string(k));
    }
    Record after;
    reader.releaseRecordsRead();
    EXPECT_FALSE(reader.next(after));
}

struct CodeCase {
    const char* line;
    std::optional<int> code;  // none: the drawing is damaged there
};

TEST(RecordReader, ReadsAGroupCodeHoweverItIsPadded) {
    const CodeCase cases[] = {
        {"  0", 0},
        {" 10", 10},
        {"100", 100},
        {"0", 0},
        {"10", 10},
        {"1071", 1071},
        {"  8 ", 8},
        {"\t62", 62},
        {" -1", -1},
        {"-10", -10},
        {"010", 10},
        {"  +5", std::nullopt},
        {"1 0", std::nullopt},
        {" 1x", std::nullopt},
        {"x10", std::nullopt},
        {"   ", std::nullopt},
        {"", std::nullopt},
    };
    // Alone, and with a long group after it: near the end of the bytes and amid them, a group is
    // read in different ways.
    for (const std::string& tail : {std::string(), "999\r\n" + std::string(40, 'x') + "\r\n"}) {
        for (const auto& c : cases) {
            const std::string bytes =
                std::string("  0\r\nLINE\r\n") + c.line + "\r\nvalue\r\n" + tail;
            RecordReader reader(bytes);
            Record record;
            ASSERT_TRUE(reader.next(record)) << c.line;
            EXPECT_EQ(reader.isDamaged(), !c.code.has_value()) << c.line;
            if (c.code == 0) {  // a group 0 starts the next record
                EXPECT_TRUE(record.groups.empty()) << c.line;
                ASSERT_TRUE(reader.next(record)) << c.line;
                EXPECT_EQ(record.type, "value") << c.line;
            } else if (c.code) {
                ASSERT_FALSE(record.groups.empty()) << c.line;
                EXPECT_EQ(record.groups[0].code, *c.code) << c.line;
                EXPECT_EQ(record.groups[0].value, "value") << c.line;
            }
        }
    }
}

}  // namespace
}  // namespace lintrel::preview

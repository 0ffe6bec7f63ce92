#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "Controls.h"
#include "Drawing.h"
#include "DxfError.h"
#include "FakeWindow.h"
#include "ReadLineRecords.h"
#include "RunOptions.h"
#include "TempDir.h"
#include "VersionProbe.h"

namespace lintrel {
namespace {

using testing::crlf;
using testing::drawing;
using testing::FakeWindow;
using testing::lineRecord;
using testing::record;
using testing::TempDir;

// Everything a read leaves, names spelt out, so that two reads can be compared.
std::string describe(const LineTable& table, const RecordLayout& layout) {
    std::string text;
    for (int n = 1; n <= table.size(); ++n) {
        const LineRow& row = table[n];
        text += std::to_string(row.X1) + " " + std::to_string(row.Y1) + " " +
                std::to_string(row.X2) + " " + std::to_string(row.Y2) + " " +
                table.names().name(row.LayerName) + "|" + table.names().name(row.LineTypeName) +
                " " + std::to_string(static_cast<int>(row.ruling)) + "\n";
    }
    for (std::size_t i = 0; i < layout.size(); ++i) {
        text += std::string(layout[i].typeName()) + "@" + std::to_string(layout[i].offset()) + "+" +
                std::to_string(layout[i].length) + "\n";
    }
    return text + (layout.isReplayable() ? "replayable " : "") + std::to_string(layout.fileSize());
}

RunOptions everyRule(const std::string& path) {
    FakeWindow window;
    window.tick(control::Check5, true);
    window.texts["Text1"] = "1";
    window.addFile(path);
    return std::get<RunOptions>(readRunOptions(window));
}

// The read by one thread (no `from`), or in parts whose threads start to look at `from`.
std::string read(const std::string& path, const std::vector<std::uint64_t>& from) {
    const RunOptions options = everyRule(path);
    LineTable table;
    RecordLayout layout;
    try {
        readLineRecords(
            path, options, table, &layout, [] {}, ThreadBudget{}, from);
    } catch (const DxfError& error) {
        return error.what();
    }
    return describe(table, layout);
}

// Every one of the starts as the only later part's; and every third of them as the first of two
// later parts, with about four of the starts from there on as the second.
void expectTheSameFrom(const std::string& path, const std::vector<std::uint64_t>& starts) {
    const std::string alone = read(path, {});
    const std::size_t secondStep = std::max<std::size_t>(1, starts.size() / 4);
    for (std::size_t i = 0; i < starts.size(); ++i) {
        ASSERT_EQ(read(path, {starts[i]}), alone) << path << " with a part from " << starts[i];
        for (std::size_t j = i; i % 3 == 0 && j < starts.size(); j += secondStep) {
            ASSERT_EQ(read(path, {starts[i], starts[j]}), alone)
                << path << " with parts from " << starts[i] << " and " << starts[j];
        }
    }
}

// Where a second thread starting to look makes a difference: at each line's first byte, and
// between the CR and the LF of a line end.
std::vector<std::uint64_t> aroundLineStarts(const std::string& bytes) {
    std::vector<std::uint64_t> starts = {0};
    for (std::uint64_t at = 0; at < bytes.size(); ++at) {
        if (bytes[at] == '\n' || bytes[at] == '\r') {
            starts.push_back(at + 1);
        }
    }
    return starts;
}

TEST(ReadLineRecords, GivesTheSameWhereverTheLaterPartsStart) {
    TempDir dir;
    const std::string lines = lineRecord("0", "0", "10", "0", "外形") +
                              lineRecord("5", "5", "5", "9", "0", "DASHED") +
                              lineRecord("1", "1", "1.0001", "1");
    // Values that look like a record's start to a thread that meets them out of step.
    const std::string lookalikes =
        record("TEXT", {{"  1", "  0"}, {"  7", "LINE"}}) +
        crlf({"  0", "HATCH", "  2", "  0", "  1", "LINE", "  0", "LINE", " 10", "3", " 20", "4"}) +
        record("MTEXT", {{"  3", "  0"}, {"  1", "ARC"}});
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"lines and lookalikes", drawing(lines + lookalikes + lines + lookalikes + lines)},
        {"LF line ends",
         [&] {
             std::string lf;
             for (char c : drawing(lines + lookalikes + lines)) {
                 if (c != '\r') {
                     lf.push_back(c);
                 }
             }
             return lf;
         }()},
        {"a damaged coordinate late in the file",
         drawing(lines + lookalikes + lines + record("LINE", {{" 10", "x"}}) + lines)},
        {"a record cut off by the end of the file",
         drawing(lines + lines).substr(0, drawing(lines + lines).size() - 12)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        expectTheSameFrom(dir.write("drawing.dxf", c.bytes), aroundLineStarts(c.bytes));
    }
}

TEST(ReadLineRecords, GivesTheSameForRealDrawings) {
    const auto folder = testing::corpusDir();
    if (folder.empty()) {
        GTEST_SKIP() << "the folder of real drawings is absent";
    }
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() == ".dxf" &&
            checkAcadVer(entry.path().string()).isAccepted()) {
            const auto size = std::filesystem::file_size(entry.path());
            std::vector<std::uint64_t> starts;
            for (std::uint64_t from = 0; from <= size; from += size / 7 + 1) {
                starts.push_back(from);
            }
            expectTheSameFrom(entry.path().string(), starts);
        }
    }
}

}  // namespace
}  // namespace lintrel

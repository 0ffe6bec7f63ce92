#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Controls.h"
#include "CounterTable.h"
#include "Drawing.h"
#include "DxfError.h"
#include "FakeWindow.h"
#include "LinePass.h"
#include "OutputPass.h"
#include "RunInterrupted.h"
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

// What one output pass left: the copy, the counters, the captions in the order they were set,
// and the failure when there was one.
struct Produced {
    bool isReplayable = false;
    std::string bytes;
    RunCounters counters;
    std::vector<std::string> captions;
    std::map<std::string, std::string, std::less<>> lastCaptions;
    std::string failure;
};

// Every rule on (texts deleted all or only blank ones), sizes that catch the short pieces, and the
// layout the line pass noted used or not.
Produced produce(const std::filesystem::path& input, bool replays, bool blankTextsOnly = false,
                 const std::function<void()>& betweenPasses = {},
                 std::optional<std::uint64_t> laterFrom = {}, int interruptAtYield = 0) {
    FakeWindow window;
    window.tick(control::TextDelete, !blankTextsOnly);
    window.tick(control::MTextDelete, !blankTextsOnly);
    window.tick(control::Check12, blankTextsOnly);
    window.tick(control::Check13, blankTextsOnly);
    window.texts["Text5"] = "0.01";
    window.texts["Text9"] = "0.5";
    window.texts["Text1"] = "0.5";
    window.addFile(input.string());
    const RunOptions options = std::get<RunOptions>(readRunOptions(window));
    LineTable table;
    RecordLayout layout;
    Produced produced;
    produced.counters =
        LinePass(window, options, table, RunCounters{}, false, &layout).run(input.string());
    produced.isReplayable = layout.isReplayable();
    if (betweenPasses) {
        betweenPasses();
    }
    TempDir out;
    const auto output = out.path() / "copy.dxf";
    window.events.clear();
    window.onYield = [&](FakeWindow& w) { w.interrupt = w.yields == interruptAtYield; };
    window.yields = 0;
    try {
        produced.counters +=
            OutputPass(window, options, table, produced.counters, ThreadBudget{}, laterFrom)
                .run(input.string(), output.string(), replays ? &layout : nullptr);
        produced.bytes = testing::readBytes(output);
    } catch (const DxfError& error) {
        produced.failure = error.what();
    } catch (const RunInterrupted&) {
        produced.failure = "interrupted";
    }
    for (const auto& event : window.events) {
        if (event.starts_with("caption")) {
            produced.captions.push_back(event);
        }
    }
    produced.lastCaptions = window.captions;
    const auto files = std::distance(std::filesystem::directory_iterator(out.path()),
                                     std::filesystem::directory_iterator());
    EXPECT_EQ(files, produced.failure.empty() ? 1 : 0);  // no temporary part left behind
    return produced;
}

void expectSameOutput(const std::filesystem::path& input) {
    for (bool blankTextsOnly : {false, true}) {
        const Produced streamed = produce(input, false, blankTextsOnly);
        const Produced replayed = produce(input, true, blankTextsOnly);
        EXPECT_EQ(replayed.failure, streamed.failure) << input;
        EXPECT_EQ(replayed.bytes, streamed.bytes) << input;
        EXPECT_EQ(replayed.captions, streamed.captions) << input;
        EXPECT_EQ(total(replayed.counters), total(streamed.counters)) << input;
        EXPECT_EQ(replayed.counters.JoinCount, streamed.counters.JoinCount) << input;
    }
}

// Lines that join, duplicate and survive, between records of every type with a rule.
const std::string kMixedEntities =
    lineRecord("0", "0", "10", "0") + record("TEXT", {{"  1", "  "}}) +
    lineRecord("10", "0", "20", "0") + lineRecord("0", "0", "10", "0") +
    record("ARC", {{" 40", "0.1"}, {" 50", "0"}, {" 51", "90"}}) +
    lineRecord("5", "5", "5", "9", "0", "DASHED") + record("TEXT", {{"  1", "keep"}}) +
    lineRecord("0", "0", "0", "0.001") + record("MTEXT", {{"  1", "\\U+3000"}}) +
    record("CIRCLE", {{"  6", "Continuous"}, {" 40", "3"}}) + record("POINT", {{" 10", "1"}}) +
    record("DIMENSION", {{"  1", "  0"}}) + lineRecord("1", "1", "4", "5") +
    lineRecord("1", "1", "4", "5") + record("XLINE", {{" 10", "0"}}) +
    crlf({"  0", "LWPOLYLINE", " 90", "2"}) + lineRecord("20", "0", "30", "0");

TEST(OutputReplay, WritesWhatTheStreamingPassWrites) {
    TempDir dir;
    struct Case {
        const char* name;
        std::string bytes;
        bool isReplayable;
    };
    const std::string mixed = drawing(kMixedEntities);
    const Case cases[] = {
        {"every line in CR LF", mixed, true},
        {"LF line ends",
         [&] {
             std::string lf;
             for (char c : mixed) {
                 if (c != '\r') {
                     lf.push_back(c);
                 }
             }
             return lf;
         }(),
         false},
        {"one lone CR", drawing(lineRecord("0", "0", "1", "0") + "999\rnote\r\n" + kMixedEntities),
         false},
        {"no line end after EOF", mixed.substr(0, mixed.size() - 2), false},
        {"a damaged ARC", drawing(kMixedEntities + record("ARC", {{" 51", "x"}})), true},
        {"coordinates after blanks",
         drawing(
             record("LINE", {{" 10", "  3"}, {" 20", " 0"}, {" 11", "  3.0001"}, {" 21", "0"}}) +
             record("LINE", {{" 10", " 7"}, {" 20", "0"}, {" 11", "9"}, {" 21", "0"}}) +
             kMixedEntities),
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto path = dir.write("drawing.dxf", c.bytes);
        EXPECT_EQ(produce(path, true).isReplayable, c.isReplayable);
        expectSameOutput(path);
    }
    // Both fail alike, naming the line read when the record was decided: the one after it.
    const auto damaged = dir.write("damaged.dxf", drawing(record("ARC", {{" 51", "x"}})));
    EXPECT_NE(produce(damaged, true).failure.find("damaged.dxf:20: not a number"),
              std::string::npos)
        << produce(damaged, true).failure;
}

// A second thread writes the later part from each record on in turn: the copy, the counts and
// the failures are those of one thread, and the shown counts end the same.
TEST(OutputReplay, WritesTheSameWithASecondThreadFromAnyRecord) {
    TempDir dir;
    const std::string mixed = drawing(kMixedEntities);
    const std::string damagedTwice = drawing(kMixedEntities + record("ARC", {{" 51", "x"}}) +
                                             kMixedEntities + record("CIRCLE", {{" 40", "y"}}));
    for (const std::string& bytes : {mixed, damagedTwice}) {
        const auto path = dir.write("drawing.dxf", bytes);
        for (bool blankTextsOnly : {false, true}) {
            const Produced alone = produce(path, true, blankTextsOnly);
            for (std::size_t at = bytes.find("  0\r\n"); at != std::string::npos;
                 at = bytes.find("  0\r\n", at + 1)) {
                SCOPED_TRACE("from byte " + std::to_string(at));
                const Produced shared = produce(path, true, blankTextsOnly, {}, at);
                EXPECT_EQ(shared.failure, alone.failure);
                EXPECT_EQ(shared.bytes, alone.bytes);
                EXPECT_EQ(shared.lastCaptions, alone.lastCaptions);
                EXPECT_EQ(total(shared.counters), total(alone.counters));
                EXPECT_EQ(shared.counters.TextDeleteCount, alone.counters.TextDeleteCount);
                EXPECT_EQ(shared.counters.SizeLineCount, alone.counters.SizeLineCount);
            }
        }
    }
}

TEST(OutputReplay, StopsBothThreadsWhenInterrupted) {
    TempDir dir;
    std::string entities;
    for (int k = 0; k < 200; ++k) {
        entities += kMixedEntities;
    }
    const std::string bytes = drawing(entities);
    const auto path = dir.write("drawing.dxf", bytes);
    for (const int yield : {1, 2, 50, 1000}) {
        SCOPED_TRACE("interrupted at yield " + std::to_string(yield));
        const Produced produced = produce(path, true, false, {}, bytes.size() / 2, yield);
        EXPECT_EQ(produced.failure, "interrupted");  // and nothing is left in the folder
    }
}

TEST(OutputReplay, RefusesADrawingThatChangedAfterTheLinePass) {
    TempDir dir;
    const std::string bytes = drawing(kMixedEntities);
    struct Case {
        const char* name;
        std::string changed;
    };
    std::string moved = bytes;
    moved.replace(moved.find("LINE"), 4, "ARCS");
    const Case cases[] = {
        {"shorter", bytes.substr(0, bytes.size() / 2)},
        {"longer", bytes + crlf({"999", "more"})},
        {"same size, other records", moved},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto path = dir.write("drawing.dxf", bytes);
        const Produced produced =
            produce(path, true, false, [&] { dir.write("drawing.dxf", c.changed); });
        EXPECT_NE(produced.failure.find("changed after it was first read"), std::string::npos)
            << produced.failure;
    }
}

TEST(OutputReplay, WritesWhatTheStreamingPassWritesForRealDrawings) {
    const auto folder = testing::corpusDir();
    if (folder.empty()) {
        GTEST_SKIP() << "the folder of real drawings is absent";
    }
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".dxf" ||
            !checkAcadVer(entry.path().string()).isAccepted()) {
            continue;
        }
        expectSameOutput(entry.path());
        replayed += produce(entry.path(), true).isReplayable ? 1 : 0;
    }
    EXPECT_GT(replayed, 10);
}

}  // namespace
}  // namespace lintrel

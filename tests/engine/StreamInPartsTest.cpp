#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "CleanRun.h"
#include "Controls.h"
#include "CounterTable.h"
#include "Drawing.h"
#include "FakeWindow.h"
#include "TempDir.h"

namespace lintrel {
namespace {

using testing::drawing;
using testing::FakeWindow;
using testing::lineRecord;
using testing::record;
using testing::TempDir;

// What a run left of one drawing.
struct Streamed {
    RunOutcome outcome = RunOutcome::Refused;
    std::string copy;
    RunCounters counters;
    std::string failureDetail;
};

// The entity rules, alone or after the line analysis (duplicates and joins), the copy made by one
// thread or, shared out even on a small drawing, in parts.
Streamed cleanUp(const std::string& bytes, int threads, bool analysesLines = false) {
    TempDir dir;
    const std::string input = dir.write("plan.dxf", bytes);
    FakeWindow window;
    window.tick(control::Check7, analysesLines);
    window.tick(control::Check9, analysesLines);
    window.texts["Text5"] = "0.5";
    window.addFile(input);
    RunTarget target;
    target.threads = {threads, true};
    const RunReport report = CleanRun(window, target).run();
    Streamed streamed{report.outcome, {}, report.counters, report.failureDetail};
    if (report.outcome == RunOutcome::Completed) {
        streamed.copy = testing::readBytes(report.files.at(0).outputPath);
    }
    return streamed;
}

// Records of every type the rules look at, enough of them (a megabyte) that each part's thread
// finds where it starts long before the thread of the part before it gets there.
constexpr int kRepeats = 4000;

std::string manyEntities(int repeats) {
    std::string entities;
    for (int k = 0; k < repeats; ++k) {
        const std::string at = std::to_string(k);
        // The second line lies on the first, the third prolongs it.
        entities += lineRecord("0", at, "10", at) + lineRecord("2", at, "8", at) +
                    lineRecord("10", at, "12", at) + lineRecord(at, "0", at, "0.1") +
                    lineRecord("0", at, "5", at, "0", "HIDDEN") +
                    record("TEXT", {{"  1", k % 2 == 0 ? "" : "x"}}) +
                    record("CIRCLE", {{" 10", at}, {" 20", "0"}, {" 40", "0.1"}}) +
                    record("LWPOLYLINE", {{" 90", "1"}, {" 10", at}, {" 20", "1"}});
    }
    return entities;
}

std::string manyRecords() {
    return drawing(manyEntities(kRepeats));
}

// Lines after the EOF group are copied as they stand, however much they look like records.
std::string afterEof() {
    std::string drawn = manyRecords();
    const std::size_t size = drawn.size();
    while (drawn.size() < size * 3 / 2) {
        drawn += "  0\r\nLINE\r\n  8\r\n0\r\n  0\r\nTEXT\r\n  1\r\n\r\n";
    }
    return drawn;
}

// Which of the places a text is found at a replacement takes.
enum class Where { First, Last, Everywhere };

std::string replaced(const std::string& text, const std::string& from, const std::string& to,
                     Where where) {
    std::string result;
    std::size_t copied = 0;
    for (auto at = where == Where::Last ? text.rfind(from) : text.find(from);
         at != std::string::npos;
         at = where == Where::Everywhere ? text.find(from, at + from.size()) : std::string::npos) {
        result.append(text, copied, at - copied).append(to);
        copied = at + from.size();
    }
    return result.append(text, copied);
}

// A failure's detail without the folder the test ran in.
std::string fromFileName(const std::string& detail) {
    const auto name = detail.find("plan.dxf");
    return name == std::string::npos ? detail : detail.substr(name);
}

// Each drawing is made only by the test that reads it: a test program runs every test alone.
struct Case {
    const char* name;
    std::string (*make)();
};

const std::vector<Case>& cases() {
    static const std::vector<Case> all = {
        {"records of every type", manyRecords},
        {"every line ending in LF alone",
         [] { return replaced(manyRecords(), "\r\n", "\n", Where::Everywhere); }},
        {"one line in the middle ending in LF alone",
         [] { return replaced(manyRecords(), "HIDDEN\r\n", "HIDDEN\n", Where::First); }},
        {"what looks like records after the EOF group, a third of the file", afterEof},
        {"a radius that is no number near the end",
         [] { return replaced(manyRecords(), " 40\r\n0.1\r\n", " 40\r\n0.x\r\n", Where::Last); }},
        {"a drawing cut short",
         [] {
             const std::string whole = manyRecords();
             return whole.substr(0, whole.size() * 3 / 4);
         }},
    };
    return all;
}

class StreamInParts : public ::testing::TestWithParam<Case> {};

// With the line analysis, each part numbers the LINE records it decides from where it starts.
TEST_P(StreamInParts, LeavesWhatOneThreadLeaves) {
    const std::string bytes = GetParam().make();
    for (const bool analysesLines : {false, true}) {
        const Streamed alone = cleanUp(bytes, 1, analysesLines);
        for (const int threads : {2, 4}) {
            SCOPED_TRACE(std::to_string(threads) + " threads" +
                         (analysesLines ? ", lines analysed" : ""));
            const Streamed shared = cleanUp(bytes, threads, analysesLines);
            EXPECT_EQ(shared.outcome, alone.outcome);
            EXPECT_TRUE(shared.copy == alone.copy) << "the copies differ";
            EXPECT_EQ(shared.counters, alone.counters);
            EXPECT_EQ(fromFileName(shared.failureDetail), fromFileName(alone.failureDetail));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Drawings, StreamInParts, ::testing::ValuesIn(cases()),
                         [](const ::testing::TestParamInfo<Case>& tested) {
                             std::string name;
                             for (const char c : std::string(tested.param.name)) {
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

// The copy ends every line in CR LF, so it is the same whatever the lines of the drawing end in,
// also where a record the rules keep is the first to end a line otherwise.
TEST(StreamInParts, CopiesADrawingAlikeWhateverItsLinesEndIn) {
    const std::string drawn = manyRecords();
    const Streamed inCrLf = cleanUp(drawn, 1);
    ASSERT_EQ(inCrLf.outcome, RunOutcome::Completed);
    const std::vector<std::string> variants = {
        replaced(drawn, "\r\n", "\n", Where::Everywhere),
        replaced(drawn, "AcDbLine\r\n", "AcDbLine\n", Where::First),  // inside a line kept
        replaced(drawn, "0.0\r\n  0\r\nLINE", "0.0\r  0\r\nLINE", Where::First),  // ending it
    };
    for (std::size_t k = 0; k < variants.size(); ++k) {
        SCOPED_TRACE("variant " + std::to_string(k));
        ASSERT_NE(variants[k], drawn);
        const Streamed streamed = cleanUp(variants[k], 1);
        EXPECT_TRUE(streamed.copy == inCrLf.copy) << "the copies differ";
        EXPECT_EQ(streamed.counters, inCrLf.counters);
    }
}

// The cases above must reach what they are about: deletions counted, a failure reported.
TEST(StreamInParts, CasesDeleteAndFailWhereTheyShould) {
    EXPECT_GT(total(cleanUp(cases()[0].make(), 1).counters), 0);
    const RunCounters analysed = cleanUp(cases()[1].make(), 1, true).counters;
    EXPECT_EQ(analysed.DuplicateCount, kRepeats);
    EXPECT_EQ(analysed.JoinCount, kRepeats);
    EXPECT_EQ(cleanUp(cases()[4].make(), 1).outcome, RunOutcome::Failed);
    EXPECT_EQ(cleanUp(cases()[5].make(), 1).outcome, RunOutcome::Failed);
}

// Esc while the parts stream: the run stops, and neither the copy nor a part of it is left. With
// the line analysis (of a drawing in LF, whose copy is streamed), Esc once the copy has begun.
TEST(StreamInParts, AnInterruptLeavesNoCopyAndNoPartFile) {
    for (const bool analysesLines : {false, true}) {
        SCOPED_TRACE(analysesLines ? "lines analysed" : "entity rules alone");
        TempDir dir;
        FakeWindow window;
        window.tick(control::Check7, analysesLines);
        window.tick(control::Check9, analysesLines);
        // Long enough that the parts are still at work when the window first breathes.
        const std::string bytes = drawing(manyEntities(10 * kRepeats));
        window.addFile(dir.write(
            "plan.dxf", analysesLines ? replaced(bytes, "\r\n", "\n", Where::Everywhere) : bytes));
        window.onYield = [](FakeWindow& w) {
            w.interrupt = w.interrupt || w.visible[std::string(control::ProgressBar1)];
        };
        RunTarget target;
        target.threads = {4, true};
        const RunReport report = CleanRun(window, target).run();
        EXPECT_EQ(report.outcome, RunOutcome::Interrupted);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    }
}

}  // namespace
}  // namespace lintrel

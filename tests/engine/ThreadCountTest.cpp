#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "CleanRun.h"
#include "Controls.h"
#include "FakeWindow.h"
#include "TempDir.h"
#include "ThreadBudget.h"
#include "VersionProbe.h"

namespace lintrel {
namespace {

using testing::FakeWindow;
using testing::TempDir;

// The drawings of a folder that the input list lets through, in name order.
std::vector<std::filesystem::path> acceptedDrawings(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() == ".dxf" &&
            checkAcadVer(entry.path().string()).isAccepted()) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// What a run at one thread count leaves of a drawing: the copy and the report's counts.
struct Cleaned {
    RunOutcome outcome = RunOutcome::Refused;
    std::string copy;
    RunCounters counters;
};

// The two kinds of run: with the line analysis (read in parts, analysed by three threads, the
// copy replayed in two) and with the entity rules alone (the copy streamed in parts).
enum class Analysis { On, Off };

// Every rule on, duplicates removed and lines joined unless the analysis is off; `threads` shares
// out even the work of a small drawing, so that every threaded path is taken.
Cleaned clean(const std::filesystem::path& drawing, int threads, Analysis analysis) {
    FakeWindow window;
    window.tick(control::Check7, analysis == Analysis::On);
    window.tick(control::Check9, analysis == Analysis::On);
    window.texts["Text5"] = "0.01";
    window.texts["Text8"] = "0.01";
    window.texts["Text9"] = "0.5";
    window.texts["Text1"] = "0.5";
    window.addFile(drawing.string());
    TempDir out;
    RunTarget target;
    target.outputDir = out.path().string();
    target.threads = {threads, true};
    const RunReport report = CleanRun(window, target).run();
    Cleaned cleaned{report.outcome, {}, report.counters};
    if (report.outcome == RunOutcome::Completed) {
        cleaned.copy = testing::readBytes(report.files.at(0).outputPath);
    }
    return cleaned;
}

std::vector<std::pair<std::filesystem::path, Analysis>> allRuns(
    const std::vector<std::filesystem::path>& drawings) {
    std::vector<std::pair<std::filesystem::path, Analysis>> runs;
    for (const auto& drawing : drawings) {
        runs.emplace_back(drawing, Analysis::On);
        runs.emplace_back(drawing, Analysis::Off);
    }
    return runs;
}

void expectTheSameCopiesAtEveryThreadCount(const std::vector<std::filesystem::path>& drawings) {
    for (const auto& [drawing, analysis] : allRuns(drawings)) {
        SCOPED_TRACE(drawing.filename().string() +
                     (analysis == Analysis::On ? ", lines analysed" : ", entity rules alone"));
        const Cleaned alone = clean(drawing, 1, analysis);
        EXPECT_EQ(alone.outcome, RunOutcome::Completed);
        for (const int threads : {2, 4}) {
            SCOPED_TRACE(std::to_string(threads) + " threads");
            const Cleaned shared = clean(drawing, threads, analysis);
            EXPECT_EQ(shared.outcome, alone.outcome);
            EXPECT_TRUE(shared.copy == alone.copy) << "the copies differ";
            EXPECT_EQ(shared.counters.DuplicateCount, alone.counters.DuplicateCount);
            EXPECT_EQ(shared.counters.JoinCount, alone.counters.JoinCount);
            EXPECT_EQ(shared.counters, alone.counters);
        }
    }
}

TEST(ThreadCount, LeavesTheExamplesCopiesByteForByteTheSame) {
    const auto drawings = acceptedDrawings(LINTREL_EXAMPLES_DIR);
    ASSERT_FALSE(drawings.empty());
    expectTheSameCopiesAtEveryThreadCount(drawings);
}

TEST(ThreadCount, LeavesTheRealDrawingsCopiesByteForByteTheSame) {
    const auto folder = testing::corpusDir();
    if (folder.empty()) {
        GTEST_SKIP() << "the folder of real drawings is absent";
    }
    expectTheSameCopiesAtEveryThreadCount(acceptedDrawings(folder));
}

}  // namespace
}  // namespace lintrel

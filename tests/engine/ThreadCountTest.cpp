#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "CleanRun.h"
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

// Every rule on, duplicates removed and lines joined; `threads` shares out even the work of a
// small drawing, so that every threaded path is taken.
Cleaned clean(const std::filesystem::path& drawing, int threads) {
    FakeWindow window;
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

void expectTheSameCopiesAtEveryThreadCount(const std::vector<std::filesystem::path>& drawings) {
    for (const auto& drawing : drawings) {
        SCOPED_TRACE(drawing.filename().string());
        const Cleaned alone = clean(drawing, 1);
        EXPECT_EQ(alone.outcome, RunOutcome::Completed);
        for (const int threads : {2, 4}) {
            SCOPED_TRACE(std::to_string(threads) + " threads");
            const Cleaned shared = clean(drawing, threads);
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

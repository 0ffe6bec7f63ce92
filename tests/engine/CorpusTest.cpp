#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "CleanRun.h"
#include "Controls.h"
#include "CounterTable.h"
#include "FakeWindow.h"
#include "TempDir.h"
#include "VersionProbe.h"

namespace lintrel {
namespace {

using testing::FakeWindow;
using testing::TempDir;

// The drawings of the real-drawing folder that the input list lets through.
std::vector<std::filesystem::path> realDrawings() {
    std::vector<std::filesystem::path> files;
    auto dir = testing::corpusDir();
    if (dir.empty()) {
        return files;
    }
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        auto name = entry.path().filename().string();
        if (entry.path().extension() == ".dxf" &&
            checkAcadVer(entry.path().string()).isAccepted()) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The lines of a drawing as the engine reads them.
std::vector<std::string> linesOf(const std::string& bytes) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                ++i;
            }
        } else {
            line.push_back(c);
        }
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    return lines;
}

long recordStarts(const std::vector<std::string>& lines) {
    return std::count(lines.begin(), lines.end(), "  0");
}

RunReport cleanCopy(const std::filesystem::path& drawing, const TempDir& out, FakeWindow& window) {
    window.addFile(drawing.string());
    RunTarget target;
    target.outputDir = out.path().string();
    return CleanRun(window, target).run();
}

TEST(RealDrawings, CleanWithEveryRuleAndLoseExactlyWhatIsCounted) {
    auto files = realDrawings();
    if (files.empty()) {
        GTEST_SKIP() << "the folder of real drawings is absent";
    }
    for (const auto& file : files) {
        const std::string before = testing::readBytes(file);
        TempDir out;
        FakeWindow window;
        window.texts["Text5"] = "0.01";
        window.texts["Text9"] = "0.5";
        window.texts["Text1"] = "0.5";
        RunReport report = cleanCopy(file, out, window);
        ASSERT_EQ(report.outcome, RunOutcome::Completed) << file << " " << report.failureDetail;
        auto output = testing::readBytes(report.files.at(0).outputPath);
        EXPECT_EQ(recordStarts(linesOf(before)) - recordStarts(linesOf(output)),
                  total(report.counters))
            << file;
        EXPECT_EQ(testing::readBytes(file), before) << file;
    }
}

TEST(RealDrawings, ComeBackUnchangedWhenNothingIsDeleted) {
    auto files = realDrawings();
    if (files.empty()) {
        GTEST_SKIP() << "the folder of real drawings is absent";
    }
    int unchanged = 0;
    for (const auto& file : files) {
        const std::string before = testing::readBytes(file);
        TempDir out;
        FakeWindow window;
        for (auto box : control::kCheckBoxes) {
            window.tick(box, false);
        }
        window.tick(control::Check8, true);  // XLINEs only, which few drawings hold
        RunReport report = cleanCopy(file, out, window);
        ASSERT_EQ(report.outcome, RunOutcome::Completed) << file;
        if (total(report.counters) != 0) {
            continue;
        }
        auto output = testing::readBytes(report.files.at(0).outputPath);
        bool isCrLf = before.find("\r\n") != std::string::npos;
        if (isCrLf) {
            EXPECT_EQ(output, before) << file;
        } else {
            EXPECT_EQ(linesOf(output), linesOf(before)) << file;
        }
        ++unchanged;
    }
    EXPECT_GT(unchanged, 10);
}

}  // namespace
}  // namespace lintrel

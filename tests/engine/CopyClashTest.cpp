#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "CleanRun.h"
#include "Drawing.h"
#include "FakeWindow.h"
#include "TempDir.h"

namespace lintrel {
namespace {

using testing::drawing;
using testing::FakeWindow;
using testing::lineRecord;
using testing::TempDir;

struct ClashCase {
    const char* name;
    std::vector<std::string> files;  // listed in this order, relative to the test's folder
    std::string outputDir;           // relative to the test's folder; empty: beside each input
    std::string message;             // with "@" for the test's folder
};

const ClashCase kClashes[] = {
    {"a copy that would replace a listed file",
     {"plan dxf", "plan-Cut.dxf"},
     "",
     "@/plan dxf の出力ファイル @/plan-Cut.dxf は、選択されているファイルです。上書きしないよう"
     "処理を中止しました。"},
    {"two files of the same name into one output folder",
     {"a/x.dxf", "b/x.dxf"},
     "out",
     "@/a/x.dxf と @/b/x.dxf は、出力ファイル名が同じです。上書きしないよう処理を中止しました。"},
    {"two names that lose their differences with their last four characters",
     {"adxf", "bdxf"},
     "",
     "@/adxf と @/bdxf は、出力ファイル名が同じです。上書きしないよう処理を中止しました。"},
    {"a copy in the output folder that would replace a listed file",
     {"in/x.dxf", "out/x-Cut.dxf"},
     "out",
     "@/in/x.dxf の出力ファイル @/out/x-Cut.dxf は、選択されているファイルです。上書きしないよう"
     "処理を中止しました。"},
};

std::string withFolder(std::string text, const std::string& folder) {
    for (auto at = text.find('@'); at != std::string::npos; at = text.find('@', at)) {
        text.replace(at, 1, folder);
        at += folder.size();
    }
    return text;
}

TEST(CopyClash, RefusesTheRunBeforeAnyCopyIsWritten) {
    const std::string bytes = drawing(lineRecord("0", "0", "10", "0"));
    for (const auto& c : kClashes) {
        TempDir dir;
        const std::string folder = dir.path().string();
        std::filesystem::create_directories(dir.path() / "out");
        FakeWindow window;
        for (const auto& file : c.files) {
            std::filesystem::create_directories((dir.path() / file).parent_path());
            window.addFile(dir.write(file, bytes));
        }
        RunTarget target;
        target.outputDir = c.outputDir.empty() ? "" : folder + "/" + c.outputDir;
        RunReport report = CleanRun(window, target).run();
        EXPECT_EQ(report.outcome, RunOutcome::Refused) << c.name;
        EXPECT_EQ(window.messages, std::vector<std::string>{withFolder(c.message, folder)})
            << c.name;
        for (const auto& file : c.files) {
            EXPECT_EQ(testing::readBytes(dir.path() / file), bytes) << c.name << " " << file;
        }
        auto files = std::filesystem::recursive_directory_iterator(dir.path());
        EXPECT_EQ(std::count_if(begin(files), end(files),
                                [](const auto& entry) { return entry.is_regular_file(); }),
                  static_cast<long>(c.files.size()))
            << c.name;
    }
}

TEST(CopyClash, LetsADryRunCountWhatItWouldNotWrite) {
    TempDir dir;
    FakeWindow window;
    window.addFile(dir.write("plan dxf", drawing("")));
    window.addFile(dir.write("plan-Cut.dxf", drawing("")));
    RunTarget target;
    target.dryRun = true;
    EXPECT_EQ(CleanRun(window, target).run().outcome, RunOutcome::Completed);
}

}  // namespace
}  // namespace lintrel

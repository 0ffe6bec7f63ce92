#include <gtest/gtest.h>

#include <string>

#include "CleanRun.h"
#include "Drawing.h"
#include "PreviewOutput.h"
#include "TempDir.h"

namespace lintrel {
namespace {

// The cut lengths of a run of one drawing, `isStopping` asked as the preview output asks it.
std::vector<FileCutLength> measured(const std::string& path,
                                    const std::function<bool()>& isStopping) {
    PreviewOutput output("", "png");
    output.observer()->startFile(path);  // the model is read ahead, as the run begins the file
    RunReport report;
    report.outcome = RunOutcome::Completed;
    report.files.push_back({path, "", 0, {}});
    std::string failure;
    return output.finish(report, failure, isStopping);
}

TEST(PreviewOutput, MeasuresEachFileOfTheRun) {
    testing::TempDir folder;
    const std::string path = folder.write("lines.dxf", testing::linesDrawing(3));
    const auto cuts = measured(path, [] { return false; });
    ASSERT_EQ(cuts.size(), 1U);
    EXPECT_EQ(cuts[0].cut.before, 30);
}

// Stopped while the model of the first drawing is still being read, it gives up waiting for its
// preview: no file measured, where waiting would have measured the drawing.
TEST(PreviewOutput, StopsWhileItWaitsForAPreview) {
    testing::TempDir folder;
    const std::string path = folder.write("lines.dxf", testing::linesDrawing(150000));
    int asked = 0;
    const auto cuts = measured(path, [&asked] { return ++asked > 1; });
    EXPECT_TRUE(cuts.empty());
    EXPECT_GT(asked, 1);
}

}  // namespace
}  // namespace lintrel

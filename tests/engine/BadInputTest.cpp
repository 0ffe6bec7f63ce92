#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "CleanRun.h"
#include "Controls.h"
#include "Drawing.h"
#include "FakeWindow.h"
#include "TempDir.h"

namespace lintrel {
namespace {

using testing::crlf;
using testing::drawing;
using testing::FakeWindow;
using testing::record;
using testing::TempDir;

constexpr const char* kDamaged = " bad.dxfは壊れている可能性があります。　";
constexpr const char* kUnreadable =
    " bad.dxfは読み込めませんでした。ファイルがあるか、読み取りできるか確認して下さい。　";
constexpr const char* kUnwritable =
    " bad.dxfの出力ファイルを書き込めませんでした。出力先フォルダの書き込み権限と空き容量を確認し"
    "て下さい。　";

struct BadCase {
    const char* name;
    std::string bytes;
    const char* message;
};

const std::string kHead = crlf({"  0", "SECTION", "  2", "ENTITIES"});

// Runs the file through the default options (line analysis included) and checks what any
// failure must leave: its message, the input as it was, no output and no temporary file.
void expectFailureLeavesNothing(const BadCase& c, FakeWindow& window, const TempDir& dir,
                                const std::string& input, const RunTarget& target = {}) {
    RunReport report = CleanRun(window, target).run();
    EXPECT_EQ(report.outcome, RunOutcome::Failed) << c.name;
    EXPECT_EQ(window.messages, std::vector<std::string>{c.message}) << c.name;
    if (std::filesystem::exists(input)) {
        EXPECT_EQ(testing::readBytes(input), c.bytes) << c.name;
    }
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        EXPECT_EQ(entry.path().filename(), "bad.dxf") << c.name;
    }
    EXPECT_TRUE(window.isVisible(control::Start)) << c.name;
}

TEST(BadInput, EndsTheRunWithAClearMessageAndLeavesNothingBehind) {
    const BadCase cases[] = {
        {"a zero-byte file", "", kDamaged},
        {"a file with no entity section", crlf({"  0", "SECTION", "  2", "HEADER"}), kDamaged},
        {"a file ending inside a LINE", kHead + crlf({"  0", "LINE", " 10", "1"}), kDamaged},
        {"a file ending inside a TEXT", kHead + crlf({"  0", "TEXT", "  1", "x"}), kDamaged},
        {"a coordinate that is not a number",
         drawing(record("LINE", {{" 10", "1,5"}, {" 31", "0"}})), kDamaged},
        {"a radius that is not a number", drawing(record("CIRCLE", {{" 40", "r"}})), kDamaged},
        {"an angle that is not a number", drawing(record("ARC", {{" 51", "--"}})), kDamaged},
        {"a binary drawing", std::string("AutoCAD Binary DXF\r\n\x1a\0\0\x01\x02", 25), kDamaged},
        {"a single line of many megabytes", std::string(8 << 20, 'Q'), kDamaged},
        {"a file ending inside an LWPOLYLINE",
         kHead + crlf({"  0", "LWPOLYLINE", "  8", "0", " 90", "4", " 10", "1"}), kDamaged},
        {"a file ending inside the OBJECTS section",
         kHead + crlf({"  0", "ENDSEC", "  0", "SECTION", "  2", "OBJECTS", "  0", "DICTIONARY",
                       "  5", "C"}),
         kDamaged},
        {"a file without its final EOF group",
         kHead + record("CIRCLE", {{" 40", "5"}}) + crlf({"  0", "ENDSEC"}), kDamaged},
    };
    for (const auto& c : cases) {
        TempDir dir;
        FakeWindow window;
        auto input = dir.write("bad.dxf", c.bytes);
        window.addFile(input);
        expectFailureLeavesNothing(c, window, dir, input);
    }
}

TEST(BadInput, AFileThatVanishedBeforeTheRunIsNamed) {
    TempDir dir;
    FakeWindow window;
    window.addFile((dir.path() / "bad.dxf").string());
    expectFailureLeavesNothing({"a vanished file", "", kUnreadable}, window, dir,
                               (dir.path() / "bad.dxf").string());
}

TEST(BadInput, AnOutputFolderThatCannotTakeTheCopyIsNamed) {
    TempDir dir;
    FakeWindow window;
    BadCase c{"a missing output folder", drawing(""), kUnwritable};
    auto input = dir.write("bad.dxf", c.bytes);
    window.addFile(input);
    RunTarget target;
    target.outputDir = (dir.path() / "gone").string();
    expectFailureLeavesNothing(c, window, dir, input, target);
}

TEST(BadInput, AFullDiskLeavesTheOlderCopyAsItWas) {
    TempDir dir;
    FakeWindow window;
    std::string big = drawing(std::string(3 << 20, '\n'));  // empty lines, copied one by one
    auto input = dir.write("bad.dxf", big);
    auto older = dir.write("bad-Cut.dxf", "older copy");
    window.addFile(input);
    // A file-size limit makes the write fail as a full disk does.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 1 << 20;
    setrlimit(RLIMIT_FSIZE, &limited);
    RunReport report = CleanRun(window).run();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(report.outcome, RunOutcome::Failed);
    EXPECT_EQ(window.messages, std::vector<std::string>{kUnwritable});
    EXPECT_EQ(testing::readBytes(older), "older copy");
    EXPECT_EQ(testing::readBytes(input), big);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

}  // namespace
}  // namespace lintrel

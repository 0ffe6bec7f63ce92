#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "Drawing.h"
#include "TempDir.h"

namespace lintrel {
namespace {

using testing::drawing;
using testing::lineRecord;
using testing::record;
using testing::TempDir;

// lintrel-cli run to its end, with what it printed.
struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// Starts lintrel-cli with the arguments; its settings live in the test's folder.
pid_t start(const TempDir& dir, const std::vector<std::string>& arguments) {
    pid_t child = fork();
    if (child == 0) {
        setenv("XDG_CONFIG_HOME", (dir.path() / "config").c_str(), 1);
        std::string out = (dir.path() / "stdout.txt").string();
        std::string err = (dir.path() / "stderr.txt").string();
        (void)freopen(out.c_str(), "w", stdout);
        (void)freopen(err.c_str(), "w", stderr);
        std::vector<char*> argv{const_cast<char*>(LINTREL_CLI)};
        for (const auto& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        execv(LINTREL_CLI, argv.data());
        _exit(127);
    }
    return child;
}

Outcome finish(const TempDir& dir, pid_t child) {
    int status = 0;
    waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1,
            testing::readBytes(dir.path() / "stdout.txt"),
            testing::readBytes(dir.path() / "stderr.txt")};
}

Outcome run(const TempDir& dir, const std::vector<std::string>& arguments) {
    return finish(dir, start(dir, arguments));
}

const std::string kTwinLines =
    drawing(lineRecord("0", "0", "10", "0") + lineRecord("0", "0", "10", "0") +
            record("TEXT", {{"  1", "x"}}));

TEST(CommandLine, CleansTheFilesAndReportsTheCounts) {
    TempDir dir;
    auto input = dir.write("plan.dxf", kTwinLines);
    Outcome outcome = run(dir, {input});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("  ダブり線数 1\n"), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find("TOTAL 2\n"), std::string::npos) << outcome.out;
    EXPECT_EQ(outcome.err, "完了しました。\n");
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "plan-Cut.dxf"));
}

TEST(CommandLine, DryRunWritesNothingAndJsonCarriesTheCounters) {
    TempDir dir;
    auto input = dir.write("plan.dxf", kTwinLines);
    Outcome outcome = run(dir, {"--dry-run", "--json", "--set", "Check7=0", input});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_NE(outcome.out.find("\"DuplicateCount\": 0"), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find("\"TextDeleteCount\": 1"), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find("\"lineCount\": 2"), std::string::npos) << outcome.out;
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "plan-Cut.dxf"));
}

TEST(CommandLine, RefusesWithTheWindowsMessages) {
    struct Case {
        const char* name;
        std::vector<std::string> arguments;
        int status;
        std::string errorStart;
    };
    TempDir dir;
    auto notDxf = dir.write("notes.txt", "x");
    auto damaged = dir.write("broken.dxf",
                             "  0\r\nSECTION\r\n  2\r\nHEADER\r\n  9\r\n$ACADVER\r\n"
                             "  1\r\nAC1015\r\n");
    auto old = dir.write("old.dxf",
                         "  0\r\nSECTION\r\n  2\r\nHEADER\r\n  9\r\n$ACADVER\r\n"
                         "  1\r\nAC1009\r\n");
    const std::string missing = (dir.path() / "missing.dxf").string();
    const std::string folder = (dir.path() / "folder.dxf").string();
    std::filesystem::create_directory(folder);
    auto good = dir.write("good.dxf", kTwinLines);
    const Case cases[] = {
        {"a file that is no drawing", {notDxf}, 1, notDxf + " は、DXFファイルではありません。\n"},
        {"a drawing of an old release", {old}, 1, old + " は、AutoCAD R12/LT2 DXFファイルです。\n"},
        {"a damaged drawing", {damaged}, 1, " broken.dxfは壊れている可能性があります。　\n"},
        {"nothing ticked",
         {"--set", "Check1=0", "--defaults", "--no-join", "--no-remove-duplicates",
          "--no-delete-text", "--no-delete-mtext", "--no-delete-dimensions", "--no-delete-xlines",
          "--no-delete-circles-by-linetype", "--no-delete-arcs-by-linetype", "--no-delete-points",
          "--no-delete-by-size", damaged},
         1,
         "処理項目を選択して下さい。\n"},
        {"an unknown control name", {"--set", "Check99=1", damaged}, 1, "lintrel-cli: "},
        {"a missing file", {missing}, 1, missing + " は、見つかりません。\n"},
        {"a folder", {folder}, 1, folder + " は、フォルダです。\n"},
        {"a number out of range",
         {"--set", "Text5=1e300", old, good},
         1,
         old + " は、AutoCAD R12/LT2 DXFファイルです。\nダブり線の削除の「線間ズレ」に扱える範囲の"
               "数値を入力して下さい。（入力値: 1e300）\n"},
        {"no file at all", {}, 2, "lintrel-cli: no FILE given"},
    };
    for (const auto& c : cases) {
        Outcome outcome = run(dir, c.arguments);
        EXPECT_EQ(outcome.status, c.status) << c.name;
        EXPECT_EQ(outcome.err.substr(0, c.errorStart.size()), c.errorStart) << c.name;
    }
}

TEST(CommandLine, RefusesAThreadCountBelowOneAsAUsageError) {
    struct Case {
        const char* name;
        const char* count;
    };
    const Case cases[] = {
        {"no thread at all", "0"},
        {"a negative count", "-2"},
        {"a word", "many"},
        {"a number with more after it", "2x"},
    };
    TempDir dir;
    auto input = dir.write("plan.dxf", kTwinLines);
    for (const auto& c : cases) {
        Outcome outcome = run(dir, {"--threads", c.count, input});
        EXPECT_EQ(outcome.status, 2) << c.name;
        EXPECT_EQ(outcome.err, "--threads: needs a whole number of threads, 1 or more, got \"" +
                                   std::string(c.count) +
                                   "\"\nRun with --help for more information.\n")
            << c.name;
        EXPECT_FALSE(std::filesystem::exists(dir.path() / "plan-Cut.dxf")) << c.name;
    }
}

TEST(CommandLine, WritesTheSameCopyOnOneThreadAsOnMany) {
    TempDir dir;
    auto input = dir.write("plan.dxf", kTwinLines);
    ASSERT_EQ(run(dir, {"--threads", "1", input}).status, 0);
    const std::string alone = testing::readBytes(dir.path() / "plan-Cut.dxf");
    ASSERT_EQ(run(dir, {"--threads", "8", input}).status, 0);
    EXPECT_EQ(testing::readBytes(dir.path() / "plan-Cut.dxf"), alone);
    EXPECT_FALSE(alone.empty());
}

TEST(CommandLine, ListsTheFilesADamagedFileKeptFromBeingCleaned) {
    TempDir dir;
    auto damaged =
        dir.write("a.dxf", testing::crlf({"  0", "SECTION", "  2", "HEADER", "  9", "$ACADVER",
                                          "  1", "AC1015", "  0", "ENDSEC"}));
    auto good = dir.write("b.dxf", kTwinLines);
    Outcome text = run(dir, {damaged, good});
    EXPECT_EQ(text.status, 1);
    EXPECT_NE(text.out.find(good + " -> (処理されていません)\n"), std::string::npos) << text.out;
    Outcome json = run(dir, {"--json", damaged, good});
    EXPECT_NE(json.out.find("\"skipped\": [\n    \"" + good + "\"\n  ]"), std::string::npos)
        << json.out;
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "b-Cut.dxf"));
}

TEST(CommandLine, CleansAFileWhoseNameIsNotUtf8AndReportsItLosslessly) {
    TempDir dir;
    auto input = dir.write("\x83\x76lan.dxf", kTwinLines);
    Outcome outcome = run(dir, {"--json", input});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("\"path\": \"" + dir.path().string() + "/\\udc83vlan.dxf\""),
              std::string::npos)
        << outcome.out;
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "\x83\x76lan-Cut.dxf"));
}

TEST(CommandLine, RunsWithoutASettingsFileAndMakesNoneUnlessAskedTo) {
    TempDir dir;
    auto input = dir.write("plan.dxf", kTwinLines);
    EXPECT_EQ(run(dir, {"--dry-run", input}).status, 0);
    EXPECT_EQ(
        run(dir, {"--dry-run", "--settings", (dir.path() / "none.ini").string(), input}).status, 0);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "config"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "none.ini"));
}

TEST(CommandLine, NeverSavesSettingsOverAFileOfTheRun) {
    TempDir dir;
    auto input = dir.write("plan.dxf", kTwinLines);
    auto other = dir.write("notes", "x");
    Outcome drawing = run(dir, {"--save-settings", "--settings", input});
    EXPECT_EQ(drawing.status, 1);
    EXPECT_EQ(drawing.err, "lintrel-cli: " + input +
                               ": starts like a DXF drawing, not a settings file; nothing was "
                               "saved\n");
    Outcome listed = run(dir, {"--save-settings", "--settings", other, other});
    EXPECT_EQ(listed.status, 1);
    EXPECT_EQ(listed.err, "lintrel-cli: " + other +
                              ": is a drawing of this run; the settings are not written over it\n");
    EXPECT_EQ(testing::readBytes(input), kTwinLines);
    EXPECT_EQ(testing::readBytes(other), "x");
}

TEST(CommandLine, SavedSettingsAreTheNextRunsStart) {
    TempDir dir;
    auto input = dir.write("plan.dxf", kTwinLines);
    ASSERT_EQ(run(dir, {"--save-settings", "--no-remove-duplicates"}).status, 0);
    EXPECT_EQ(std::filesystem::file_size(dir.path() / "config" / "lintrel" / "msdesksys.ini"),
              108U);
    Outcome saved = run(dir, {"--json", "--dry-run", input});
    EXPECT_NE(saved.out.find("\"DuplicateCount\": 0"), std::string::npos) << saved.out;
    Outcome defaults = run(dir, {"--json", "--dry-run", "--defaults", input});
    EXPECT_NE(defaults.out.find("\"DuplicateCount\": 1"), std::string::npos) << defaults.out;
}

TEST(CommandLine, CtrlCInterruptsAndRemovesThePartialCopy) {
    TempDir dir;
    // The literal line analysis of many parallel lines takes long enough to be interrupted.
    std::string lines;
    for (int i = 0; i < 40000; ++i) {
        lines += lineRecord("0", std::to_string(i), "10", std::to_string(i));
    }
    auto input = dir.write("many.dxf", drawing(lines));
    pid_t child = start(dir, {"--reference-analysis", input});
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    kill(child, SIGINT);
    Outcome outcome = finish(dir, child);
    EXPECT_EQ(outcome.status, 130) << outcome.err;
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "many-Cut.dxf"));
    EXPECT_EQ(testing::readBytes(input), drawing(lines));
}

}  // namespace
}  // namespace lintrel

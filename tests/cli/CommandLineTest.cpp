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

TEST(CommandLine, PreviewWritesAPicturePerDrawingAndTheCutLengths) {
    TempDir dir;
    auto input = dir.write("plan.dxf", kTwinLines);
    std::filesystem::create_directory(dir.path() / "pictures");
    Outcome outcome = run(dir, {"--dry-run", "--preview", (dir.path() / "pictures").string(),
                                "--preview-format", "pdf", input});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("  切断長 前 20.000  後 10.000  削減 10.000 (50.00%)\n"),
              std::string::npos)
        << outcome.out;
    EXPECT_TRUE(
        testing::readBytes(dir.path() / "pictures" / "plan-preview.pdf").starts_with("%PDF"));
}

TEST(CommandLine, JsonCarriesTheCutLengthByRule) {
    TempDir dir;
    auto input = dir.write("plan.dxf", kTwinLines);
    Outcome outcome = run(dir, {"--dry-run", "--json", input});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_NE(
        outcome.out.find("\"cutLength\": {\n        \"before\": 20.0,\n        \"after\": 10.0,\n"
                         "        \"saved\": 10.0,\n        \"byRule\": {\n"
                         "          \"JoinCount\": 0.0,\n          \"DuplicateCount\": 10.0,"),
        std::string::npos)
        << outcome.out;
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

// The literal line analysis of these lines takes long enough to be interrupted.
std::string manyParallelLines() {
    std::string lines;
    for (int i = 0; i < 40000; ++i) {
        lines += lineRecord("0", std::to_string(i), "10", std::to_string(i));
    }
    return lines;
}

TEST(CommandLine, CtrlCInterruptsAndRemovesThePartialCopy) {
    TempDir dir;
    std::string lines = manyParallelLines();
    auto input = dir.write("many.dxf", drawing(lines));
    pid_t child = start(dir, {"--reference-analysis", input});
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    kill(child, SIGINT);
    Outcome outcome = finish(dir, child);
    EXPECT_EQ(outcome.status, 130) << outcome.err;
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "many-Cut.dxf"));
    EXPECT_EQ(testing::readBytes(input), drawing(lines));
}

// The JSON report without its one figure that differs from run to run.
std::string withoutElapsed(const std::string& json) {
    auto start = json.find("\"elapsedSeconds\"");
    return start == std::string::npos ? json : json.substr(0, start);
}

TEST(ScriptOptions, ParallelJobsWriteTheSameCopiesCountersAndReportAsOne) {
    TempDir dir;
    std::vector<std::string> inputs;
    for (int k = 0; k < 6; ++k) {
        std::string lines;
        for (int i = 0; i <= k * 50; ++i) {
            lines += lineRecord("0", std::to_string(i % 7), "10", std::to_string(i % 7));
        }
        inputs.push_back(dir.write("plan" + std::to_string(k) + ".dxf",
                                   drawing(lines + record("TEXT", {{"  1", "x"}}))));
    }
    auto copies = [&] {
        std::vector<std::string> bytes;
        for (int k = 0; k < 6; ++k) {
            bytes.push_back(
                testing::readBytes(dir.path() / ("plan" + std::to_string(k) + "-Cut.dxf")));
        }
        return bytes;
    };
    std::vector<std::string> one = {"--json", "-j", "1"};
    one.insert(one.end(), inputs.begin(), inputs.end());
    Outcome alone = run(dir, one);
    auto aloneCopies = copies();
    std::vector<std::string> three = {"--json", "--jobs", "3"};
    three.insert(three.end(), inputs.begin(), inputs.end());
    Outcome parallel = run(dir, three);

    EXPECT_EQ(parallel.status, 0) << parallel.err;
    EXPECT_EQ(parallel.err, "完了しました。\n");
    EXPECT_EQ(withoutElapsed(parallel.out), withoutElapsed(alone.out));
    EXPECT_EQ(copies(), aloneCopies);
}

TEST(ScriptOptions, AFailureAmongParallelFilesIsReportedInTheListsOrder) {
    TempDir dir;
    auto first = dir.write("a.dxf", kTwinLines);
    auto damaged = dir.write("b.dxf",
                             "  0\r\nSECTION\r\n  2\r\nHEADER\r\n  9\r\n$ACADVER\r\n"
                             "  1\r\nAC1015\r\n");
    Outcome outcome = run(dir, {"--json", "-j", "2", first, damaged});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err.substr(0, outcome.err.find('\n')),
              " b.dxfは壊れている可能性があります。　");
    EXPECT_NE(outcome.out.find("\"outcome\": \"failed\""), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find("\"path\": \"" + first + "\""), std::string::npos) << outcome.out;
}

TEST(ScriptOptions, ParallelFilesWritingOneCopyLeaveTheLastInTheList) {
    TempDir dir;
    std::filesystem::create_directories(dir.path() / "x");
    std::filesystem::create_directories(dir.path() / "y");
    std::filesystem::create_directories(dir.path() / "out");
    std::string bigger;
    for (int i = 0; i < 3000; ++i) {
        bigger += lineRecord("0", std::to_string(i), "10", std::to_string(i));
    }
    auto first = dir.write("x/plan.dxf", drawing(bigger));
    auto last = dir.write("y/plan.dxf", kTwinLines);
    auto out = (dir.path() / "out").string();
    ASSERT_EQ(run(dir, {"--output-dir", out, last}).status, 0);
    std::string lastCopy = testing::readBytes(dir.path() / "out" / "plan-Cut.dxf");
    Outcome outcome = run(dir, {"-j", "2", "--output-dir", out, first, last});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(testing::readBytes(dir.path() / "out" / "plan-Cut.dxf"), lastCopy);
}

TEST(ScriptOptions, CtrlCInterruptsEveryParallelFile) {
    TempDir dir;
    auto first = dir.write("first.dxf", drawing(manyParallelLines()));
    auto second = dir.write("second.dxf", drawing(manyParallelLines()));
    pid_t child = start(dir, {"--reference-analysis", "-j", "2", first, second});
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    kill(child, SIGINT);
    Outcome outcome = finish(dir, child);
    EXPECT_EQ(outcome.status, 130) << outcome.err;
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "first-Cut.dxf"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "second-Cut.dxf"));
}

TEST(ScriptOptions, QuietPrintsOnlyErrors) {
    TempDir dir;
    auto input = dir.write("plan.dxf", kTwinLines);
    auto notDxf = dir.write("notes.txt", "x");
    Outcome done = run(dir, {"--quiet", input});
    EXPECT_EQ(done.status, 0);
    EXPECT_EQ(done.out, "");
    EXPECT_EQ(done.err, "");
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "plan-Cut.dxf"));
    Outcome refused = run(dir, {"-q", notDxf});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err.substr(0, refused.err.find('\n')),
              notDxf + " は、DXFファイルではありません。");
}

TEST(ScriptOptions, JsonSaysPerFileWhetherAnythingWasRemoved) {
    TempDir dir;
    auto twins = dir.write("twins.dxf", kTwinLines);
    auto clean = dir.write("clean.dxf", drawing(lineRecord("0", "0", "10", "0")));
    Outcome outcome = run(dir, {"--json", "--defaults", "--no-delete-text", twins, clean});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    auto twinsEntry = outcome.out.find("\"path\": \"" + twins + "\"");
    auto cleanEntry = outcome.out.find("\"path\": \"" + clean + "\"");
    ASSERT_NE(twinsEntry, std::string::npos) << outcome.out;
    ASSERT_NE(cleanEntry, std::string::npos) << outcome.out;
    auto changedAfter = [&](std::size_t entry) {
        auto at = outcome.out.find("\"changed\": ", entry);
        return outcome.out.substr(at, outcome.out.find(',', at) - at);
    };
    EXPECT_EQ(changedAfter(twinsEntry), "\"changed\": true");
    EXPECT_EQ(changedAfter(cleanEntry), "\"changed\": false");
}

TEST(ScriptOptions, VersionHelpAndBadJobs) {
    TempDir dir;
    Outcome version = run(dir, {"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "lintrel-cli " LINTREL_EXPECTED_VERSION "\n");
    Outcome help = run(dir, {"--help"});
    const std::string exitStatus =
        "Exit status:\n"
        "  0    every file was cleaned\n"
        "  1    a file was refused, or a file could not be read or written\n"
        "  2    usage error\n"
        "  130  interrupted with Ctrl-C (the copy being written is removed)\n";
    ASSERT_GE(help.out.size(), exitStatus.size());
    EXPECT_EQ(help.out.substr(help.out.size() - exitStatus.size()), exitStatus);
    auto input = dir.write("plan.dxf", kTwinLines);
    EXPECT_EQ(run(dir, {"-j", "0", input}).status, 2);
}

}  // namespace
}  // namespace lintrel

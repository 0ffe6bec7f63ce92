#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "CliProcess.h"
#include "Drawing.h"
#include "TempDir.h"

namespace lintrel {
namespace {

using testing::drawing;
using testing::finish;
using testing::Launch;
using testing::lineRecord;
using testing::Outcome;
using testing::record;
using testing::run;
using testing::start;
using testing::TempDir;

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

// Each drawing's preview is made while the one before is painted: each picture and cut length is
// still its own drawing's, in the order of the files.
TEST(CommandLine, PreviewWritesAPicturePerDrawingAndTheCutLengths) {
    struct Case {
        const char* name;
        std::string drawing;
        const char* cutLength;
    };
    const Case cases[] = {
        {"a", kTwinLines, "  切断長 前 20.000  後 10.000  削減 10.000 (50.00%)\n"},
        {"b", drawing(lineRecord("0", "0", "7", "0")),
         "  切断長 前 7.000  後 7.000  削減 0.000 (0.00%)\n"},
        {"c",
         drawing(lineRecord("0", "5", "4", "5") + lineRecord("0", "5", "4", "5") +
                 lineRecord("0", "5", "4", "5")),
         "  切断長 前 12.000  後 4.000  削減 8.000 (66.67%)\n"},
    };
    for (const char* format : {"pdf", "png"}) {
        SCOPED_TRACE(format);
        TempDir dir;
        std::vector<std::string> arguments = {"--dry-run", "--preview",
                                              (dir.path() / "pictures").string(),
                                              "--preview-format", format};
        for (const Case& c : cases) {
            arguments.push_back(dir.write(std::string(c.name) + ".dxf", c.drawing));
        }
        std::filesystem::create_directory(dir.path() / "pictures");
        Outcome outcome = run(dir, arguments);
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        std::size_t reported = 0;
        for (const Case& c : cases) {
            reported = outcome.out.find(c.cutLength, reported);
            EXPECT_NE(reported, std::string::npos) << c.name << "\n" << outcome.out;
            const std::string picture = testing::readBytes(
                dir.path() / "pictures" / (std::string(c.name) + "-preview." + format));
            EXPECT_TRUE(picture.starts_with(format == std::string("pdf") ? "%PDF" : "\x89PNG"))
                << c.name;
        }
    }
}

TEST(CommandLine, APictureThatCannotBeWrittenFailsTheRunEvenBeforeOthersThatCan) {
    TempDir dir;
    const auto first = dir.write("a.dxf", kTwinLines);
    const auto second = dir.write("b.dxf", kTwinLines);
    const auto pictures = dir.path() / "pictures";
    // A folder where a.dxf's picture should go: that one picture cannot be written.
    std::filesystem::create_directories(pictures / "a-preview.svg");
    Outcome outcome =
        run(dir, {"--dry-run", "-j", "1", "--preview", pictures.string(), first, second});
    EXPECT_EQ(outcome.status, 1) << outcome.err;
    EXPECT_NE(outcome.err.find("a-preview.svg"), std::string::npos) << outcome.err;
    EXPECT_TRUE(std::filesystem::exists(pictures / "b-preview.svg"));
}

TEST(CommandLine, PreviewWithoutItsPictureModuleFailsAndSaysWhy) {
    TempDir dir;
    auto input = dir.write("plan.dxf", kTwinLines);
    std::filesystem::create_directory(dir.path() / "bin");
    testing::Launch alone;
    alone.program = (dir.path() / "bin" / "lintrel-cli").string();
    std::filesystem::copy_file(LINTREL_CLI, alone.program);
    Outcome outcome = run(dir, {"--dry-run", "--preview", dir.path().string(), input}, alone);
    EXPECT_EQ(outcome.status, 1) << outcome.err;
    EXPECT_NE(outcome.err.find("lintrel-pictures.so: the pictures cannot be painted: "),
              std::string::npos)
        << outcome.err;
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "plan-preview.svg"));
    // The counts of the run are reported all the same.
    EXPECT_NE(outcome.out.find("TOTAL 2\n"), std::string::npos) << outcome.out;
}

TEST(CommandLine, PreviewNeedsNoDisplayWarnsOfNothingAndLeavesNoFolderBehind) {
    struct Setting {
        const char* name;
        std::vector<std::pair<std::string, std::string>> environment;
    };
    const Setting settings[] = {
        {"no runtime folder", {}},
        // A display named but served by nobody, as a stale DISPLAY over ssh, and no platform.
        {"a display out of reach", {{"DISPLAY", ":4242"}, {"QT_QPA_PLATFORM", ""}}},
    };
    for (const Setting& setting : settings) {
        SCOPED_TRACE(setting.name);
        TempDir dir;
        auto input = dir.write("plan.dxf", kTwinLines);
        std::filesystem::create_directory(dir.path() / "pictures");
        std::filesystem::create_directory(dir.path() / "tmp");
        Launch launch;
        launch.environment = {{"XDG_RUNTIME_DIR", ""}, {"TMPDIR", (dir.path() / "tmp").string()}};
        launch.environment.insert(launch.environment.end(), setting.environment.begin(),
                                  setting.environment.end());
        Outcome outcome =
            run(dir,
                {"--dry-run", "--quiet", "--preview", (dir.path() / "pictures").string(),
                 "--preview-format", "png", input},
                launch);
        EXPECT_EQ(outcome.status, 0);
        EXPECT_EQ(outcome.err, "");
        EXPECT_TRUE(std::filesystem::exists(dir.path() / "pictures" / "plan-preview.png"));
        EXPECT_TRUE(std::filesystem::is_empty(dir.path() / "tmp"));
    }
}

TEST(CommandLine, JsonCarriesTheCutLengthByRule) {
    TempDir dir;
    auto input = dir.write("plan.dxf", kTwinLines);
    Outcome outcome = run(dir, {"--dry-run", "--json", input});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
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

TEST(CommandLine, AnAssignmentTheOptionsRefuseIsAUsageError) {
    struct Case {
        const char* name;
        std::string assignment;
        std::string error;
    };
    const Case cases[] = {
        {"a name that is no option", "Foo=1",
         "lintrel-cli: unknown option \"Foo\"; the options are Check9, Check7, Check10, "
         "Check11, TEXT文字削除, Check13, MTEXT文字削除, Check12, Check6, Check8, Check1, Check2, "
         "Check3, Check4, Check5, Option1(0), Option1(1), Text9, Text8, Text5, Text6, Text1, "
         "Text4, Text2, Text3\n"},
        {"a switch set to neither 0 nor 1", "Check7=2",
         "lintrel-cli: option \"Check7\" takes 0 or 1, not \"2\"\n"},
    };
    TempDir dir;
    auto input = dir.write("plan.dxf", kTwinLines);
    for (const auto& c : cases) {
        Outcome outcome = run(dir, {"--set", c.assignment, input});
        EXPECT_EQ(outcome.status, 2) << c.name;
        EXPECT_EQ(outcome.err, c.error) << c.name;
        EXPECT_EQ(outcome.out, "") << c.name;
        EXPECT_FALSE(std::filesystem::exists(dir.path() / "plan-Cut.dxf")) << c.name;
    }
}

TEST(CommandLine, ListsTheFilesADamagedFileKeptFromBeingCleaned) {
    TempDir dir;
    auto damaged =
        dir.write("a.dxf", testing::crlf({"  0", "SECTION", "  2", "HEADER", "  9", "$ACADVER",
                                          "  1", "AC1015", "  0", "ENDSEC"}));
    auto good = dir.write("b.dxf", kTwinLines);
    // One at a time: files run alongside a failing one are still cleaned.
    Outcome text = run(dir, {"-j", "1", damaged, good});
    EXPECT_EQ(text.status, 1);
    EXPECT_NE(text.out.find(good + " -> (処理されていません)\n"), std::string::npos) << text.out;
    Outcome json = run(dir, {"-j", "1", "--json", damaged, good});
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

TEST(ScriptOptions, FilesWritingOneCopyAreRefusedInParallelAsOneAtATime) {
    TempDir dir;
    std::filesystem::create_directories(dir.path() / "x");
    std::filesystem::create_directories(dir.path() / "y");
    std::filesystem::create_directories(dir.path() / "out");
    auto first = dir.write("x/plan.dxf", kTwinLines);
    auto last = dir.write("y/plan.dxf", kTwinLines);
    auto out = (dir.path() / "out").string();
    for (const char* jobs : {"1", "2"}) {
        Outcome outcome = run(dir, {"-j", jobs, "--output-dir", out, first, last});
        EXPECT_EQ(outcome.status, 1) << jobs;
        EXPECT_NE((outcome.out + outcome.err)
                      .find(first + " と " + last + " は、出力ファイル名が同じです。"),
                  std::string::npos)
            << jobs << ": " << outcome.out << outcome.err;
        EXPECT_FALSE(std::filesystem::exists(dir.path() / "out" / "plan-Cut.dxf")) << jobs;
    }
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
    auto twinsEntry = outcome.out.find(R"("path": ")" + twins + "\"");
    auto cleanEntry = outcome.out.find(R"("path": ")" + clean + "\"");
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

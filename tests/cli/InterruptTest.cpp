// A real lintrel-cli ended by signals at several moments of a long write, and under a file-size
// limit: the input stays as it was, and beside it there is only a complete copy or none.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <thread>

#include "CliProcess.h"
#include "Drawing.h"

namespace lintrel {
namespace {

using testing::Launch;
using testing::Outcome;
using testing::TempDir;

// Entity rules only, so that the run is one long write.
// One file at a time: the first file's copy is then complete before the long one is written.
const std::vector<std::string> kRulesOnly = {"--defaults", "--set", "Check7=0", "--set",
                                             "Check9=0",   "-j",    "1"};

// About 2.4 MB of LINEs and TEXTs: the copy is written in about ten pieces.
const std::string& longDrawing() {
    static const std::string bytes = [] {
        std::string entities;
        for (int i = 0; i < 20000; ++i) {
            entities += testing::lineRecord("0", std::to_string(i), "10", std::to_string(i));
            if (i % 10 == 0) {
                entities += testing::record("TEXT", {{"  1", "note"}});
            }
        }
        return testing::drawing(entities);
    }();
    return bytes;
}

std::set<std::string> folderEntries(const TempDir& dir) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        names.insert(entry.path().filename().string());
    }
    names.erase("stdout.txt");
    names.erase("stderr.txt");
    names.erase("config");
    return names;
}

// The bytes the process has written so far, as the kernel counts them.
long long bytesWritten(pid_t child) {
    std::ifstream io("/proc/" + std::to_string(child) + "/io");
    std::string field;
    long long value = 0;
    while (io >> field >> value) {
        if (field == "wchar:") {
            return value;
        }
    }
    return -1;  // the process has ended
}

// The copy a run left untouched by any signal, made once.
const std::string& completeCopy() {
    static const std::string bytes = [] {
        TempDir dir;
        auto input = dir.write("big.dxf", longDrawing());
        auto arguments = kRulesOnly;
        arguments.push_back(input);
        testing::run(dir, arguments);
        return testing::readBytes(dir.path() / "big-Cut.dxf");
    }();
    return bytes;
}

struct KillCase {
    const char* name;
    int signal;
    double at;                      // the share of the copy written when the signal is sent
    int status;                     // the exit code, -1 when the signal ends the process
    bool isUnnamedRefused = false;  // the folder takes no unnamed files: a hidden one is used
};

// More than the first, small copy takes: the long copy's first write has begun beyond it.
constexpr long long kFirstCopyBytes = 1000;

TEST(Interrupts, LeaveOnlyTheInputAndCompleteCopies) {
    const KillCase cases[] = {
        {"SIGTERM at the first write", SIGTERM, 0, 128 + SIGTERM},
        {"SIGTERM half-way", SIGTERM, 0.5, 128 + SIGTERM},
        {"SIGTERM near the end", SIGTERM, 0.9, 128 + SIGTERM},
        {"SIGHUP at the first write", SIGHUP, 0, 128 + SIGHUP},
        {"SIGHUP half-way", SIGHUP, 0.5, 128 + SIGHUP},
        {"SIGINT half-way", SIGINT, 0.5, 128 + SIGINT},
        {"SIGKILL at the first write", SIGKILL, 0, -1},
        {"SIGKILL half-way", SIGKILL, 0.5, -1},
        {"SIGKILL near the end", SIGKILL, 0.9, -1},
        {"SIGQUIT, which the program does not handle, half-way", SIGQUIT, 0.5, -1},
        {"SIGTERM half-way into a hidden file", SIGTERM, 0.5, 128 + SIGTERM, true},
        {"SIGINT half-way into a hidden file", SIGINT, 0.5, 128 + SIGINT, true},
        {"SIGQUIT half-way into a hidden file", SIGQUIT, 0.5, -1, true},
        {"SIGUSR1 half-way into a hidden file", SIGUSR1, 0.5, -1, true},
        {"SIGALRM near the end of a hidden file", SIGALRM, 0.9, -1, true},
    };
    const std::string& complete = completeCopy();
    ASSERT_FALSE(complete.empty());
    for (const auto& c : cases) {
        TempDir dir;
        auto first = dir.write("a.dxf", testing::drawing(testing::record("TEXT", {{"  1", "x"}})));
        auto input = dir.write("big.dxf", longDrawing());
        auto arguments = kRulesOnly;
        arguments.insert(arguments.end(), {first, input});
        pid_t child = testing::start(
            dir, arguments,
            c.isUnnamedRefused ? testing::withFault("no-unnamed:0", dir.path()) : Launch{});
        const auto moment =
            kFirstCopyBytes + static_cast<long long>(c.at * static_cast<double>(complete.size()));
        long long written = 0;
        while ((written = bytesWritten(child)) >= 0 && written <= moment &&
               !std::filesystem::exists(dir.path() / "big-Cut.dxf")) {
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        kill(child, c.signal);
        Outcome outcome = testing::finish(dir, child);

        EXPECT_EQ(testing::readBytes(input), longDrawing()) << c.name;
        auto entries = folderEntries(dir);
        // The first file's copy was finished before the signal and stays.
        EXPECT_TRUE(entries.count("a-Cut.dxf") == 1) << c.name;
        entries.erase("a-Cut.dxf");
        if (entries.count("big-Cut.dxf") == 1) {
            EXPECT_EQ(testing::readBytes(dir.path() / "big-Cut.dxf"), complete) << c.name;
            entries.erase("big-Cut.dxf");
        } else if (c.status >= 0) {
            EXPECT_EQ(outcome.status, c.status) << c.name << outcome.err;
        } else {
            EXPECT_EQ(outcome.endSignal, c.signal) << c.name;
        }
        EXPECT_EQ(entries, (std::set<std::string>{"a.dxf", "big.dxf"})) << c.name;
    }
}

TEST(Interrupts, AFileSizeLimitIsAWriteErrorThatLeavesNothing) {
    TempDir dir;
    auto input = dir.write("big.dxf", longDrawing());
    auto arguments = kRulesOnly;
    arguments.push_back(input);
    Launch limited;
    limited.fileSizeLimit = static_cast<long>(longDrawing().size() / 3);
    Outcome outcome = testing::run(dir, arguments, limited);
    EXPECT_EQ(outcome.status, 1) << outcome.err;
    EXPECT_EQ(outcome.endSignal, 0);
    EXPECT_EQ(outcome.err.substr(0, outcome.err.find('\n')),
              " big.dxfの出力ファイルを書き込めませんでした。出力先フォルダの書き込み権限と空き容量"
              "を確認して下さい。　");
    EXPECT_EQ(folderEntries(dir), std::set<std::string>{"big.dxf"});
    EXPECT_EQ(testing::readBytes(input), longDrawing());
}

// The runtime folder the pictures are painted with, made in `temporary`; empty while there is none.
std::filesystem::path runtimeFolderIn(const std::filesystem::path& temporary) {
    for (const auto& entry : std::filesystem::directory_iterator(temporary)) {
        if (entry.path().filename().string().starts_with("lintrel-runtime-")) {
            return entry.path();
        }
    }
    return {};
}

// Signals that end the program in order, and SIGKILL, which ends it at once: whichever stops it
// while it paints, no runtime folder and no half-written picture is left.
TEST(Interrupts, WhilePicturesArePaintedEndInOrderAndLeaveNothing) {
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGKILL}) {
        SCOPED_TRACE(signal);
        TempDir dir;
        const std::filesystem::path temporary = dir.path() / "tmp";
        std::filesystem::create_directory(temporary);
        std::vector<std::string> arguments = {
            "--defaults",        "--dry-run",        "-j", "1", "--preview",
            dir.path().string(), "--preview-format", "png"};
        for (const char* name : {"a.dxf", "b.dxf", "c.dxf", "d.dxf"}) {
            arguments.push_back(dir.write(name, longDrawing()));
        }
        Launch painting;
        painting.environment = {{"TMPDIR", temporary.string()}, {"XDG_RUNTIME_DIR", ""}};
        const pid_t child = testing::start(dir, arguments, painting);
        // The first picture written, the next ones are being painted.
        while (bytesWritten(child) >= 0 && !std::filesystem::exists(dir.path() / "a-preview.png")) {
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        kill(child, signal);
        const Outcome outcome = testing::finish(dir, child);

        if (signal == SIGKILL) {
            EXPECT_EQ(outcome.endSignal, SIGKILL);
        } else {
            EXPECT_EQ(outcome.status, 128 + signal) << outcome.err;
        }
        EXPECT_TRUE(std::filesystem::is_empty(temporary)) << runtimeFolderIn(temporary);
        // No picture is begun after the signal, and none is left half written.
        EXPECT_FALSE(std::filesystem::exists(dir.path() / "d-preview.png"));
        std::set<std::string> left = folderEntries(dir);
        for (const char* name : {"a.dxf", "b.dxf", "c.dxf", "d.dxf", "tmp"}) {
            left.erase(name);
        }
        for (const std::string& name : left) {
            EXPECT_TRUE(name.ends_with("-preview.png")) << name;
            EXPECT_TRUE(testing::readBytes(dir.path() / name).starts_with("\x89PNG")) << name;
        }
    }
}

}  // namespace
}  // namespace lintrel

// Faults injected into a real lintrel-cli by an interposed library (tests/faults): each ends in
// the run's own message, leaves the input as it was and no copy or other file behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "CliProcess.h"
#include "Drawing.h"

namespace lintrel {
namespace {

using testing::Launch;
using testing::Outcome;
using testing::TempDir;
using testing::withFault;

constexpr std::string_view kUnreadable =
    "は読み込めませんでした。ファイルがあるか、読み取りできるか確認して下さい。　";
constexpr std::string_view kUnwritable =
    "の出力ファイルを書き込めませんでした。出力先フォルダの書き込み権限と空き容量を確認して下さい"
    "。　";
constexpr std::string_view kDamaged = "は壊れている可能性があります。　";

// Lines to analyse (so that both passes read the file) and TEXTs to delete, in about 750 KB:
// reads and writes come in several pieces.
const std::string& drawingBytes() {
    static const std::string bytes = [] {
        std::string entities;
        for (int i = 0; i < 6000; ++i) {
            entities += testing::lineRecord("0", std::to_string(i), "10", std::to_string(i));
            entities += testing::record("TEXT", {{"  1", "note"}});
        }
        return testing::drawing(entities);
    }();
    return bytes;
}

std::set<std::string> filesIn(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// The message line a failed run prints first.
std::string firstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

struct FaultCase {
    const char* name;
    std::string fault;
    std::string_view message;  // follows " plan.dxf"
};

// The copy of a run without faults, made once.
const std::string& completeCopy() {
    static const std::string bytes = [] {
        TempDir dir;
        testing::run(dir, {"--defaults", dir.write("plan.dxf", drawingBytes())});
        return testing::readBytes(dir.path() / "plan-Cut.dxf");
    }();
    return bytes;
}

TEST(Faults, EndInTheRunsMessageWithNothingLost) {
    const auto size = static_cast<long long>(drawingBytes().size());
    const auto copySize = static_cast<long long>(completeCopy().size());
    ASSERT_GT(copySize, 0);
    const FaultCase cases[] = {
        {"a read error at the start of the drawing", "pread-eio:0", kUnreadable},
        {"a read error in its middle", "pread-eio:" + std::to_string(size / 2), kUnreadable},
        {"a read error at its end", "pread-eio:" + std::to_string(size - 1), kUnreadable},
        {"a full disk at the first write", "write-enospc:0", kUnwritable},
        {"a full disk at a middle write", "write-enospc:" + std::to_string(copySize / 2),
         kUnwritable},
        {"a full disk at the last write", "write-enospc:" + std::to_string(copySize - 1),
         kUnwritable},
        {"a full disk when the copy is named", "name-enospc:0", kUnwritable},
        // Openings: the admission's look at the file, the version probe, then the two passes.
        {"the input deleted before the first pass", "unlink-at-open:3", kUnreadable},
        {"the input deleted between the passes", "unlink-at-open:4", kUnreadable},
        {"the input cut short before the first pass", "truncate-at-open:3", kDamaged},
        {"the input cut short between the passes", "truncate-at-open:4", kDamaged},
    };
    for (const auto& c : cases) {
        TempDir dir;
        auto input = dir.write("plan.dxf", drawingBytes());
        Outcome outcome = testing::run(dir, {"--defaults", input}, withFault(c.fault, dir.path()));
        EXPECT_EQ(outcome.status, 1) << c.name << "\n" << outcome.err;
        EXPECT_EQ(firstLine(outcome.err), " plan.dxf" + std::string(c.message)) << c.name;
        EXPECT_EQ(testing::readBytes(input).size() == drawingBytes().size(),
                  testing::readBytes(input) == drawingBytes())
            << c.name;  // the input is only ever what another program made of it
        std::set<std::string> left = filesIn(dir.path());
        EXPECT_EQ(left.count("plan-Cut.dxf"), 0U) << c.name;
        left.erase("plan.dxf");
        EXPECT_EQ(left, (std::set<std::string>{"stderr.txt", "stdout.txt"})) << c.name;
    }
}

// The cut lengths read the drawing once more, piece by piece: a read error anywhere in it is told,
// and no figure is given as if the whole drawing had been read.
TEST(Faults, InTheReadingForTheCutLengthsAreToldWithoutFigures) {
    const auto size = static_cast<long long>(drawingBytes().size());
    for (const long long offset : {size / 2, size - 1}) {
        TempDir dir;
        auto input = dir.write("plan.dxf", drawingBytes());
        Outcome outcome = testing::run(dir, {"--defaults", "--dry-run", "--json", input},
                                       withFault("read-eio:" + std::to_string(offset), dir.path()));
        EXPECT_EQ(outcome.status, 1) << offset << "\n" << outcome.err;
        EXPECT_NE(outcome.err.find(" plan.dxf" + std::string(kUnreadable)), std::string::npos)
            << offset << "\n"
            << outcome.err;
        EXPECT_EQ(outcome.out.find("cutLength"), std::string::npos) << offset;
    }
}

TEST(Faults, AnOutputFolderRemovedDuringTheRunFailsItsWrite) {
    TempDir dir;
    auto input = dir.write("plan.dxf", drawingBytes());
    auto output = dir.path() / "out";
    std::filesystem::create_directory(output);
    Outcome outcome = testing::run(dir, {"--defaults", "--output-dir", output.string(), input},
                                   withFault("rmdir-at-write:2", output));
    EXPECT_EQ(outcome.status, 1) << outcome.err;
    EXPECT_EQ(firstLine(outcome.err), " plan.dxf" + std::string(kUnwritable));
    EXPECT_FALSE(std::filesystem::exists(output));
    EXPECT_EQ(testing::readBytes(input), drawingBytes());
}

TEST(Faults, AFolderWithoutUnnamedFilesGetsAHiddenFileNamedAtTheEnd) {
    TempDir dir;
    auto input = dir.write("plan.dxf", drawingBytes());
    Outcome outcome =
        testing::run(dir, {"--defaults", input}, withFault("no-unnamed:0", dir.path()));
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(filesIn(dir.path()),
              (std::set<std::string>{"plan-Cut.dxf", "plan.dxf", "stderr.txt", "stdout.txt"}));
    EXPECT_EQ(testing::readBytes(dir.path() / "plan-Cut.dxf"), completeCopy());
}

struct SettingsFaultCase {
    const char* name;
    std::string fault;
    std::vector<std::string> arguments;  // before the settings file's
    std::string message;                 // follows "lintrel-cli: FILE: "
};

TEST(Faults, InTheSettingsFileStopTheRunWithItsMessage) {
    const SettingsFaultCase cases[] = {
        {"an unreadable settings file", "read-eio:0", {}, "cannot be read (Input/output error)"},
        {"a full disk when the settings are saved",
         "write-enospc:0",
         {"--save-settings", "--set", "Check7=0"},
         "cannot be written (No space left on device)"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const auto settingsFolder = dir.path() / "settings";
        std::filesystem::create_directory(settingsFolder);
        const std::string stored(108, '\0');
        const std::string settings = (settingsFolder / "lintrel.ini").string();
        std::ofstream(settings, std::ios::binary) << stored;
        auto input = dir.write("plan.dxf", testing::drawing(""));
        auto arguments = c.arguments;
        arguments.insert(arguments.end(), {"--settings", settings, input});
        Outcome outcome = testing::run(dir, arguments, withFault(c.fault, settingsFolder));
        EXPECT_EQ(outcome.status, 1) << c.name;
        EXPECT_EQ(outcome.err, "lintrel-cli: " + settings + ": " + c.message + "\n") << c.name;
        EXPECT_EQ(testing::readBytes(settings), stored) << c.name;
        EXPECT_EQ(filesIn(settingsFolder), std::set<std::string>{"lintrel.ini"}) << c.name;
        EXPECT_FALSE(std::filesystem::exists(dir.path() / "plan-Cut.dxf")) << c.name;
    }
}

}  // namespace
}  // namespace lintrel

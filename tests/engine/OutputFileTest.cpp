#include "OutputFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <string>

#include "CleanRun.h"
#include "Drawing.h"
#include "DxfError.h"
#include "FakeWindow.h"
#include "TempDir.h"

namespace lintrel {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

std::set<std::string> namesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

mode_t modeOf(const fs::path& file) {
    struct stat info {};
    lstat(file.c_str(), &info);
    return info.st_mode & 07777;
}

TEST(OutputFile, HasNoNameBeforeItsCommit) {
    TempDir dir;
    const auto target = dir.path() / "a-Cut.dxf";
    {
        OutputFile file(target.string());
        file.write(std::string(1 << 20, 'x'));
        file.writeLine("end");
        EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{});
        file.commit();
    }
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"a-Cut.dxf"});
    EXPECT_EQ(fs::file_size(target), (1U << 20) + 5);
}

TEST(OutputFile, LeavesNothingWithoutItsCommit) {
    TempDir dir;
    const auto target = dir.write("a-Cut.dxf", "older");
    {
        OutputFile file(target);
        file.write("newer");
    }
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"a-Cut.dxf"});
    EXPECT_EQ(testing::readBytes(target), "older");
}

TEST(OutputFile, ReplacesAnOlderFileInOneStep) {
    TempDir dir;
    const auto target = dir.write("a-Cut.dxf", "older");
    OutputFile file(target);
    file.write("newer");
    EXPECT_EQ(testing::readBytes(target), "older");
    file.commit(OutputFile::Durability::Synced);
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"a-Cut.dxf"});
    EXPECT_EQ(testing::readBytes(target), "newer");
}

TEST(OutputFile, FailsInAMissingFolderWithItsReason) {
    TempDir dir;
    try {
        OutputFile file((dir.path() / "gone" / "a-Cut.dxf").string());
        FAIL() << "the file was made";
    } catch (const DxfError& error) {
        EXPECT_EQ(error.kind(), DxfError::Kind::Write);
        EXPECT_EQ(error.systemError(), ENOENT);
    }
}

TEST(OutputFile, TakesNamesUpToTheSystemsLongest) {
    TempDir dir;
    const std::string name = std::string(247, 'n') + "-Cut.dxf";  // 255 bytes
    for (const char* older : {"", "older"}) {
        if (*older != '\0') {
            dir.write(name, older);
        }
        OutputFile file((dir.path() / name).string());
        file.write("copy");
        file.commit();
        EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{name}) << older;
        EXPECT_EQ(testing::readBytes(dir.path() / name), "copy") << older;
    }
}

TEST(OutputFile, ADrawingOfALongNameIsCleaned) {
    TempDir dir;
    const std::string stem(246, 's');  // "stem.dxf" is 250 bytes, "stem-Cut.dxf" 254
    testing::FakeWindow window;
    window.addFile(
        dir.write(stem + ".dxf", testing::drawing(testing::record("TEXT", {{"  1", "x"}}))));
    RunReport report = CleanRun(window).run();
    EXPECT_EQ(report.outcome, RunOutcome::Completed) << report.failureDetail;
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{stem + "-Cut.dxf", stem + ".dxf"}));
}

struct PermissionCase {
    const char* name;
    mode_t older;     // the mode of the file the copy replaces
    bool isLinked;    // the copy's name is a link to that file
    mode_t expected;  // the copy's mode under umask 022
};

TEST(OutputFile, TakesOverOnlyTheReadAndWriteBitsOfARegularFile) {
    const PermissionCase cases[] = {
        {"a private file stays private", 0600, false, 0600},
        {"a file others may read stays so", 0644, false, 0644},
        {"a read-only file gives its read bits", 0444, false, 0444},
        {"a setuid program gives only its read and write bits", 04755, false, 0644},
        {"a setgid, sticky and executable file gives only those bits", 03777, false, 0666},
        {"a link to a setuid program gives nothing", 04755, true, 0644},
        {"a link to a private file gives nothing", 0600, true, 0644},
    };
    const mode_t mask = umask(022);
    for (const auto& c : cases) {
        TempDir dir;
        const auto older = fs::path(dir.write("program", "older"));
        chmod(older.c_str(), c.older);
        const auto target = dir.path() / "a-Cut.dxf";
        if (c.isLinked) {
            fs::create_symlink(older, target);
        } else {
            fs::rename(older, target);
        }
        OutputFile file(target.string());
        file.write("copy");
        file.commit();
        EXPECT_EQ(modeOf(target), c.expected) << c.name;
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(target))) << c.name;
        if (c.isLinked) {
            EXPECT_EQ(testing::readBytes(older), "older") << c.name;
            EXPECT_EQ(modeOf(older), c.older) << c.name;
        }
    }
    umask(mask);
}

TEST(OutputFile, ANewNameGetsWhatTheUmaskAllows) {
    TempDir dir;
    const mode_t mask = umask(027);
    const auto target = dir.path() / "a-Cut.dxf";
    OutputFile file(target.string());
    file.commit();
    umask(mask);
    EXPECT_EQ(modeOf(target), 0640U);
}

}  // namespace
}  // namespace lintrel

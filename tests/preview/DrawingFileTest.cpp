#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <variant>

#include "CleanRun.h"
#include "Drawing.h"
#include "DrawingFile.h"
#include "DrawingReader.h"
#include "TempDir.h"

namespace lintrel::preview {
namespace {

using testing::TempDir;

constexpr std::size_t kPage = 4096;

// A file's modification time set an hour back, so that a write within the same clock tick as
// its making still shows as a change.
void backdate(const std::string& path) {
    struct stat status {};
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    const struct timespec times[2] = {status.st_atim, {status.st_mtim.tv_sec - 3600, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

struct Change {
    const char* name;
    std::function<void(const TempDir&, const std::string&)> make;
    DrawingFile::State state;
};

TEST(DrawingFile, TellsWhetherTheFileChangedSinceItWasOpened) {
    const Change changes[] = {
        {"nothing", [](const TempDir&, const std::string&) {}, DrawingFile::State::Unchanged},
        {"cut short",
         [](const TempDir&, const std::string& path) {
             ASSERT_EQ(::truncate(path.c_str(), kPage), 0);
         },
         DrawingFile::State::Changed},
        {"written in place",
         [](const TempDir&, const std::string& path) {
             const int fd = ::open(path.c_str(), O_WRONLY);
             ASSERT_GE(fd, 0);
             EXPECT_EQ(::pwrite(fd, "y", 1, 10), 1);
             ::close(fd);
         },
         DrawingFile::State::Changed},
        // What is read is the file opened, whole.
        {"replaced by another",
         [](const TempDir& folder, const std::string& path) {
             const std::string other = folder.write("other.dxf", std::string(3 * kPage, 'z'));
             std::filesystem::rename(other, path);
         },
         DrawingFile::State::Unchanged},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.name);
        TempDir folder;
        const std::string path = folder.write("drawing.dxf", std::string(3 * kPage, 'x'));
        backdate(path);
        const DrawingFile file(path);
        ASSERT_TRUE(file.isOpen());
        change.make(folder, path);
        EXPECT_EQ(file.state(), change.state);
    }
}

// Reads all it can of `file`, `piece` bytes at a time.
std::string readAll(DrawingFile& file, std::size_t piece) {
    std::string read;
    std::string into(piece, '\0');
    while (const std::size_t got = file.read(into.data(), piece)) {
        read.append(into, 0, got);
    }
    return read;
}

TEST(DrawingFile, ReadsWhatItHadWhenOpenedAndTellsAnEarlyEndAsAChange) {
    TempDir folder;
    const std::string bytes = std::string(kPage, 'x') + std::string(2 * kPage, 'y');
    const std::string path = folder.write("drawing.dxf", bytes);
    {
        DrawingFile file(path);
        ASSERT_EQ(file.size(), bytes.size());
        EXPECT_EQ(readAll(file, 1000), bytes);
        EXPECT_EQ(file.state(), DrawingFile::State::Unchanged);
    }
    {
        DrawingFile file(path);
        std::ofstream(path, std::ios::app) << "appended";  // not read: the drawing has changed
        EXPECT_EQ(readAll(file, 5000), bytes);
        EXPECT_EQ(file.state(), DrawingFile::State::Changed);
    }
    backdate(path);
    struct stat opened {};
    ASSERT_EQ(::stat(path.c_str(), &opened), 0);
    DrawingFile file(path);
    ASSERT_EQ(::truncate(path.c_str(), kPage), 0);
    EXPECT_EQ(readAll(file, 1000), bytes.substr(0, kPage));
    // The file as it was opened again, in size and time: what could not be read still counts.
    ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(opened.st_size)), 0);
    const struct timespec times[2] = {opened.st_atim, opened.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    EXPECT_EQ(file.state(), DrawingFile::State::Changed);
}

TEST(DrawingFile, TellsTheModelOfADrawingCutShortWhileReadAsChanged) {
    std::string entities;
    for (int k = 0; k < 2000; ++k) {
        entities += testing::lineRecord("0", std::to_string(k), "10", std::to_string(k));
    }
    TempDir folder;
    const std::string path = folder.write("cut.dxf", testing::drawing(entities));
    DrawingFile file(path);
    ASSERT_EQ(::truncate(path.c_str(), 4 * kPage), 0);
    const auto read = readDrawing(file, path);
    ASSERT_TRUE(std::holds_alternative<std::string>(read));
    EXPECT_EQ(std::get<std::string>(read), " cut.dxf" + std::string(kChangedWhileRead));
}

// What is no regular file is told unreadable at once, never waited on nor read without end.
TEST(DrawingFile, TellsWhatIsNoFileUnreadableAtOnce) {
    const std::pair<const char*, std::function<void(const std::string&)>> notFiles[] = {
        {"a FIFO", [](const std::string& at) { ASSERT_EQ(::mkfifo(at.c_str(), 0644), 0); }},
        {"a link to /dev/zero",
         [](const std::string& at) { std::filesystem::create_symlink("/dev/zero", at); }},
        {"a folder", [](const std::string& at) { std::filesystem::create_directory(at); }},
    };
    for (const auto& [name, make] : notFiles) {
        SCOPED_TRACE(name);
        TempDir folder;
        const std::string path = (folder.path() / "x.dxf").string();
        make(path);
        EXPECT_FALSE(DrawingFile(path).isOpen());
        const auto read = readDrawing(path);
        ASSERT_TRUE(std::holds_alternative<std::string>(read));
        EXPECT_EQ(std::get<std::string>(read), " x.dxf" + std::string(lintrel::kUnreadable));
    }
}

}  // namespace
}  // namespace lintrel::preview

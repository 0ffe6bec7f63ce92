#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <variant>

#include "Drawing.h"
#include "DrawingReader.h"
#include "MappedFile.h"
#include "TempDir.h"
#include "TemporaryNames.h"

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
    MappedFile::State state;
};

TEST(MappedFile, TellsWhetherTheFileChangedWhileMapped) {
    const Change changes[] = {
        {"nothing", [](const TempDir&, const std::string&) {}, MappedFile::State::Unchanged},
        {"cut short",
         [](const TempDir&, const std::string& path) {
             ASSERT_EQ(::truncate(path.c_str(), kPage), 0);
         },
         MappedFile::State::Changed},
        {"written in place",
         [](const TempDir&, const std::string& path) {
             const int fd = ::open(path.c_str(), O_WRONLY);
             ASSERT_GE(fd, 0);
             EXPECT_EQ(::pwrite(fd, "y", 1, 10), 1);
             ::close(fd);
         },
         MappedFile::State::Changed},
        // The mapping holds the old file, whole.
        {"replaced by another",
         [](const TempDir& folder, const std::string& path) {
             const std::string other = folder.write("other.dxf", std::string(3 * kPage, 'z'));
             std::filesystem::rename(other, path);
         },
         MappedFile::State::Unchanged},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.name);
        TempDir folder;
        const std::string path = folder.write("drawing.dxf", std::string(3 * kPage, 'x'));
        backdate(path);
        const MappedFile file(path);
        ASSERT_TRUE(file.isOpen());
        change.make(folder, path);
        EXPECT_EQ(file.state(), change.state);
    }
}

TEST(MappedFile, ReadsZerosWhereAPageCannotBeRead) {
    TempDir folder;
    const std::string path = folder.write("drawing.dxf", std::string(3 * kPage, 'x'));
    backdate(path);
    struct stat mapped {};
    ASSERT_EQ(::stat(path.c_str(), &mapped), 0);
    const MappedFile file(path);
    ASSERT_EQ(::truncate(path.c_str(), kPage), 0);
    const std::string_view bytes = file.bytes();
    ASSERT_EQ(bytes.size(), 3 * kPage);
    EXPECT_EQ(bytes[kPage - 1], 'x');
    EXPECT_EQ(bytes[2 * kPage + 5], '\0');  // the read of a page no longer there
    EXPECT_EQ(bytes[kPage], '\0');
    EXPECT_EQ(file.state(), MappedFile::State::Changed);
    // The file as it was mapped again, in size and time: the zeros read are a failed read.
    ASSERT_EQ(::truncate(path.c_str(), 3 * kPage), 0);
    const struct timespec times[2] = {mapped.st_atim, mapped.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    EXPECT_EQ(file.state(), MappedFile::State::Unreadable);
}

TEST(MappedFile, TellsTheModelOfADrawingCutShortWhileReadAsChanged) {
    std::string entities;
    for (int k = 0; k < 2000; ++k) {
        entities += testing::lineRecord("0", std::to_string(k), "10", std::to_string(k));
    }
    TempDir folder;
    const std::string path = folder.write("cut.dxf", testing::drawing(entities));
    const MappedFile file(path);
    ASSERT_EQ(::truncate(path.c_str(), 4 * kPage), 0);
    const auto read = readDrawing(file, path);
    ASSERT_TRUE(std::holds_alternative<std::string>(read));
    EXPECT_EQ(std::get<std::string>(read), " cut.dxf" + std::string(kChangedWhileRead));
}

// Maps a file of two pages outside any guard, cuts it and reads its second page: a bus error.
void readPastTheCutEndOf(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR);
    void* mapped = ::mmap(nullptr, 2 * kPage, PROT_READ, MAP_PRIVATE, fd, 0);
    ::ftruncate(fd, 0);
    const volatile char* bytes = static_cast<const char*>(mapped);
    [[maybe_unused]] const char read = bytes[kPage];
}

TEST(MappedFileDeathTest, ABusErrorOutsideAMappedDrawingStillEndsTheProgram) {
    TempDir folder;
    const MappedFile guarded(folder.write("guarded.dxf", std::string(2 * kPage, 'x')));
    const std::string path = folder.write("plain.bin", std::string(2 * kPage, 'x'));
    EXPECT_DEATH(readPastTheCutEndOf(path), "");
}

// A named copy a run is writing is removed by a bus error the guard does not take, as it would be
// without the guard.
TEST(MappedFileDeathTest, ABusErrorElsewhereStillRemovesTheNamedCopies) {
    GTEST_FLAG_SET(death_test_style, "fast");  // the child shares this test's folder
    TempDir folder;
    const MappedFile guarded(folder.write("guarded.dxf", std::string(2 * kPage, 'x')));
    const std::string copy = folder.write(".plan-Cut.dxf.part", "half a copy");
    ASSERT_TRUE(TemporaryNames::remember(copy));
    const std::string path = folder.write("plain.bin", std::string(2 * kPage, 'x'));
    EXPECT_DEATH(readPastTheCutEndOf(path), "");
    TemporaryNames::forget(copy);
    EXPECT_FALSE(std::filesystem::exists(copy));
}

}  // namespace
}  // namespace lintrel::preview

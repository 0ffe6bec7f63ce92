// Names that are no regular files: refused at once (never waited on, never read without end),
// as drawings with the unknown-format message and as the settings file as unreadable.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

#include "CliProcess.h"
#include "Drawing.h"

namespace lintrel {
namespace {

using testing::Outcome;
using testing::TempDir;

// A socket bound at the path; it stays while the descriptor is open.
class BoundSocket {
public:
    explicit BoundSocket(const std::filesystem::path& path)
        : m_fd(socket(AF_UNIX, SOCK_STREAM, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        EXPECT_EQ(bind(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0)
            << path;
    }
    ~BoundSocket() { close(m_fd); }
    BoundSocket(const BoundSocket&) = delete;
    BoundSocket& operator=(const BoundSocket&) = delete;

private:
    int m_fd;
};

struct NotAFileCase {
    const char* name;
    std::function<void(const std::filesystem::path&)> make;
};

const NotAFileCase kNotFiles[] = {
    {"a FIFO", [](const std::filesystem::path& at) { mkfifo(at.c_str(), 0644); }},
    {"a link to a character device that never ends",
     [](const std::filesystem::path& at) { std::filesystem::create_symlink("/dev/zero", at); }},
    {"a link to a character device that is empty",
     [](const std::filesystem::path& at) { std::filesystem::create_symlink("/dev/null", at); }},
    {"a folder", [](const std::filesystem::path& at) { std::filesystem::create_directory(at); }},
};

TEST(NotAFile, IsADrawingOfUnknownFormat) {
    for (const auto& c : kNotFiles) {
        TempDir dir;
        auto path = dir.path() / "x.dxf";
        c.make(path);
        Outcome outcome = testing::run(dir, {path.string()});
        EXPECT_EQ(outcome.status, 1) << c.name;
        // A folder is named as such; everything else that is not a file is of unknown format.
        const bool isFolder = std::filesystem::is_directory(path);
        EXPECT_EQ(outcome.err.substr(0, outcome.err.find('\n')),
                  path.string() +
                      (isFolder ? " は、フォルダです。" : " は、形式不明な DXFファイルです。"))
            << c.name;
    }
}

TEST(NotAFile, ASocketIsADrawingOfUnknownFormat) {
    TempDir dir;
    auto path = dir.path() / "s.dxf";
    BoundSocket socket(path);
    Outcome outcome = testing::run(dir, {path.string()});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err.substr(0, outcome.err.find('\n')),
              path.string() + " は、形式不明な DXFファイルです。");
}

TEST(NotAFile, IsAnUnreadableSettingsFile) {
    for (const auto& c : kNotFiles) {
        TempDir dir;
        auto settings = dir.path() / "settings.ini";
        c.make(settings);
        auto input = dir.write("plan.dxf", testing::drawing(""));
        Outcome outcome = testing::run(dir, {"--settings", settings.string(), input});
        EXPECT_EQ(outcome.status, 1) << c.name;
        EXPECT_TRUE(
            outcome.err.starts_with("lintrel-cli: " + settings.string() + ": cannot be read ("))
            << c.name << ": " << outcome.err;
        EXPECT_FALSE(std::filesystem::exists(dir.path() / "plan-Cut.dxf")) << c.name;
    }
}

}  // namespace
}  // namespace lintrel

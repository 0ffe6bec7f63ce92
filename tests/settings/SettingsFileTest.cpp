#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "OptionSet.h"
#include "SettingsFile.h"
#include "TempDir.h"

namespace lintrel {
namespace {

namespace fs = std::filesystem;
using testing::readBytes;
using testing::TempDir;

// Sets or unsets an environment variable for one test and puts the old value back.
class EnvironmentOverride {
public:
    EnvironmentOverride(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        set(value);
    }
    ~EnvironmentOverride() { set(m_old ? m_old->c_str() : nullptr); }
    EnvironmentOverride(const EnvironmentOverride&) = delete;
    EnvironmentOverride& operator=(const EnvironmentOverride&) = delete;

private:
    void set(const char* value) {
        if (value != nullptr) {
            ::setenv(m_name, value, 1);
        } else {
            ::unsetenv(m_name);
        }
    }

    const char* m_name;
    std::optional<std::string> m_old;
};

// The bytes a fresh window stores, written out by hand.
std::string defaultRecord() {
    std::string bytes(108, '\0');
    for (std::size_t offset = 27; offset <= 38; ++offset) {
        bytes[offset] = '\x01';
    }
    bytes[39] = '\xFF';
    bytes[41] = '\x01';
    return bytes;
}

std::string messageOf(const std::optional<SettingsError>& error) {
    return error ? error->message() : "";
}

std::vector<std::string> folderContents(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

TEST(SettingsFilePath, FollowsTheConfigurationFolderRules) {
    struct Case {
        const char* name;
        const char* xdgConfigHome;
        const char* home;
        const char* expected;
    };
    const Case cases[] = {
        {"XDG_CONFIG_HOME names the folder", "/cfg", "/home/u", "/cfg/lintrel/msdesksys.ini"},
        {"without XDG_CONFIG_HOME it is under HOME", nullptr, "/home/u",
         "/home/u/.config/lintrel/msdesksys.ini"},
        {"an empty XDG_CONFIG_HOME counts as unset", "", "/home/u",
         "/home/u/.config/lintrel/msdesksys.ini"},
        {"a relative XDG_CONFIG_HOME is ignored", "cfg", "/home/u",
         "/home/u/.config/lintrel/msdesksys.ini"},
    };
    for (const auto& c : cases) {
        EnvironmentOverride config("XDG_CONFIG_HOME", c.xdgConfigHome);
        EnvironmentOverride home("HOME", c.home);
        EXPECT_EQ(SettingsFilePath(), fs::path(c.expected)) << c.name;
    }
}

TEST(LoadSettings, FindsNoRecordAndMakesNothingWhereThereIsNoFile) {
    TempDir dir;
    dir.write("plain", "x");
    const struct {
        const char* name;
        fs::path file;
    } cases[] = {
        {"a first start", dir.path() / "config" / "lintrel" / "msdesksys.ini"},
        {"a folder in the way that is a file", dir.path() / "plain" / "lintrel" / "msdesksys.ini"},
    };
    for (const auto& c : cases) {
        auto loaded = LoadSettings(c.file);
        EXPECT_FALSE(loaded.error.has_value()) << c.name;
        EXPECT_FALSE(loaded.record.has_value()) << c.name;
    }
    EXPECT_EQ(folderContents(dir.path()), std::vector<std::string>{"plain"});
}

TEST(LoadSettings, ReadsRecordOneOrNothing) {
    struct Case {
        const char* name;
        std::string bytes;
        bool hasRecord;
    };
    std::string record = defaultRecord();
    record[0] = 'R';
    record[107] = '\x01';
    const Case cases[] = {
        {"an empty file holds no record", "", false},
        {"a file shorter than a record holds none", record.substr(0, 107), false},
        {"a file of one record holds it", record, true},
        {"later records are not read", record + std::string(108, '\x33'), true},
    };
    for (const auto& c : cases) {
        TempDir dir;
        auto file = dir.write("msdesksys.ini", c.bytes);
        auto loaded = LoadSettings(file);
        EXPECT_FALSE(loaded.error.has_value()) << c.name;
        ASSERT_EQ(loaded.record.has_value(), c.hasRecord) << c.name;
        if (c.hasRecord) {
            const auto& bytes = loaded.record->bytes();
            EXPECT_EQ(std::string(bytes.begin(), bytes.end()), record) << c.name;
        }
    }
}

TEST(LoadSettings, NamesTheFileAndTheReasonWhenItCannotBeRead) {
    TempDir dir;
    auto file = dir.path() / "msdesksys.ini";
    fs::create_directory(file);
    auto loaded = LoadSettings(file);
    EXPECT_FALSE(loaded.record.has_value());
    ASSERT_TRUE(loaded.error.has_value());
    EXPECT_EQ(loaded.error->message(), file.string() + ": cannot be read (Is a directory)");
}

TEST(SaveSettings, NamesTheFileWhenItsFolderCannotBeMade) {
    TempDir dir;
    dir.write("plain", "x");
    auto file = dir.path() / "plain" / "lintrel" / "msdesksys.ini";
    EXPECT_EQ(messageOf(SaveSettings(file, OptionSet())),
              file.string() + ": cannot create its folder (Not a directory)");
}

TEST(SaveSettings, NeverWritesOverADrawing) {
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"a text drawing", "  0\r\nSECTION\r\n  2\r\nHEADER\r\n"},
        {"a text drawing with LF and odd padding", "0\nSECTION\n2\nENTITIES\n"},
        {"a drawing opened by a comment", "999\r\nwritten by a library\r\n  0\r\nSECTION\r\n"},
        {"a binary drawing", std::string("AutoCAD Binary DXF\r\n\x1a\0", 22)},
    };
    for (const auto& c : cases) {
        TempDir dir;
        auto file = dir.write("a.dxf", c.bytes);
        EXPECT_EQ(messageOf(SaveSettings(file, OptionSet())),
                  file + ": starts like a DXF drawing, not a settings file; nothing was saved")
            << c.name;
        EXPECT_EQ(readBytes(file), c.bytes) << c.name;
    }
}

TEST(SaveSettings, WritesOneRecordWithZeroReservedBytesOnFirstEnd) {
    TempDir dir;
    auto file = dir.path() / "lintrel" / "msdesksys.ini";
    EXPECT_EQ(messageOf(SaveSettings(file, OptionSet())), "");
    EXPECT_EQ(readBytes(file), defaultRecord());
    EXPECT_EQ(folderContents(file.parent_path()), std::vector<std::string>{"msdesksys.ini"});
}

TEST(SaveSettings, KeepsEveryByteItDoesNotOwn) {
    struct Case {
        const char* name;
        std::string before;
        std::string after;
    };
    std::string reserved = "Reserved bytes 0 to 26 ...";
    reserved.push_back('\xFE');  // 27 bytes
    std::string oldFields(81, '\x01');
    std::string tail = "record 2 and more\r\n";
    std::string stored = defaultRecord().substr(27);
    const Case cases[] = {
        {"the reserved bytes stay", reserved + oldFields, reserved + stored},
        {"bytes after the record stay", reserved + oldFields + tail, reserved + stored + tail},
        {"a file shorter than a record is rewritten whole", std::string(50, '\x77'),
         defaultRecord()},
    };
    for (const auto& c : cases) {
        TempDir dir;
        auto file = dir.write("msdesksys.ini", c.before);
        EXPECT_EQ(messageOf(SaveSettings(file, OptionSet())), "") << c.name;
        EXPECT_EQ(readBytes(file), c.after) << c.name;
    }
}

TEST(SaveSettings, KeepsTheOldRecordWhenATextIsNoNumber) {
    TempDir dir;
    std::string before = std::string(27, 'r') + std::string(81, '\x01');
    auto file = dir.write("msdesksys.ini", before);
    OptionSet options;
    options.setText("Text3", "1,5");
    auto error = SaveSettings(file, options);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->message(),
              file + ": Text3 holds \"1,5\", which is not a number; nothing was saved");
    EXPECT_EQ(readBytes(file), before);
    EXPECT_EQ(folderContents(dir.path()), std::vector<std::string>{"msdesksys.ini"});
}

TEST(SaveSettings, KeepsTheFilePermissions) {
    TempDir dir;
    auto file = dir.write("msdesksys.ini", "");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(messageOf(SaveSettings(file, OptionSet())), "");
    EXPECT_EQ(fs::status(file).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(SettingsFile, BringsBackWhatEndSaved) {
    TempDir dir;
    auto file = dir.path() / "msdesksys.ini";
    ASSERT_FALSE(LoadSettings(file).error.has_value());
    OptionSet options;
    options.setTicked("Check12", true);
    options.setTicked("Check4", false);
    options.setText("Text2", "0.5");
    options.setText("Text6", "12.");
    ASSERT_EQ(messageOf(SaveSettings(file, options)), "");

    auto loaded = LoadSettings(file);
    ASSERT_TRUE(loaded.record.has_value());
    OptionSet restored;
    ApplySettings(*loaded.record, restored);
    OptionSet expected = options;
    expected.setText("Text6", "12");
    EXPECT_EQ(restored, expected);
}

}  // namespace
}  // namespace lintrel

#include "SettingsFile.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "FileAccess.h"

namespace lintrel {
namespace {

constexpr const char* kFileName = "msdesksys.ini";
constexpr const char* kFolderName = "lintrel";

std::filesystem::path homeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return home;
    }
    const passwd* entry = ::getpwuid(::getuid());
    return entry != nullptr ? entry->pw_dir : "";
}

// The configuration folder by the XDG rules, which ignore a relative XDG_CONFIG_HOME.
std::filesystem::path configFolder() {
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr) {
        std::filesystem::path folder(config);
        if (folder.is_absolute()) {
            return folder;
        }
    }
    return homeFolder() / ".config";
}

SettingsError failure(const std::filesystem::path& file, const std::string& what,
                      std::error_code error) {
    return {file.string(), what + " (" + error.message() + ")"};
}

// Reads the file; one that does not exist yet holds nothing. Nothing is created here: a run
// that saves nothing leaves no trace, even where the folder cannot be written.
std::optional<SettingsError> readSettingsFile(const std::filesystem::path& file,
                                              std::string& bytes) {
    if (auto readError = readIfPresent(file, bytes)) {
        return failure(file, "cannot be read", readError);
    }
    return std::nullopt;
}

std::optional<SettingsError> makeFolder(const std::filesystem::path& file) {
    std::error_code error;
    if (file.has_parent_path()) {
        std::filesystem::create_directories(file.parent_path(), error);
        if (error) {
            return failure(file, "cannot create its folder", error);
        }
    }
    return std::nullopt;
}

// A file that starts as a text or binary DXF drawing does: a group 0 "SECTION" or a comment
// group first, or the binary sentinel.
bool startsLikeDrawing(std::string_view bytes) {
    if (bytes.starts_with("AutoCAD Binary DXF")) {
        return true;
    }
    auto nextLine = [&bytes] {
        bytes.remove_prefix(std::min(bytes.find_first_not_of("\r\n \t"), bytes.size()));
        std::string_view line = bytes.substr(0, bytes.find_first_of("\r\n"));
        bytes.remove_prefix(line.size());
        return line.substr(0, line.find_last_not_of(" \t") + 1);
    };
    const std::string_view first = nextLine();
    return first == "999" || (first == "0" && nextLine() == "SECTION");
}

// Record 1, or nothing when the file is shorter than a record.
std::optional<SettingsRecord> firstRecord(const std::string& bytes) {
    if (bytes.size() < kRecordSize) {
        return std::nullopt;
    }
    RecordBytes record;
    std::copy_n(bytes.begin(), kRecordSize, record.begin());
    return SettingsRecord(record);
}

}  // namespace

std::filesystem::path SettingsFilePath() {
    return configFolder() / kFolderName / kFileName;
}

LoadedSettings LoadSettings(const std::filesystem::path& file) {
    std::string bytes;
    if (auto error = readSettingsFile(file, bytes)) {
        return {std::nullopt, error};
    }
    return {firstRecord(bytes), std::nullopt};
}

std::optional<SettingsError> SaveSettings(const std::filesystem::path& file,
                                          const OptionSet& options) {
    std::string bytes;
    if (auto error = readSettingsFile(file, bytes)) {
        return error;
    }
    if (startsLikeDrawing(bytes)) {
        return SettingsError{file.string(),
                             "starts like a DXF drawing, not a settings file; nothing was saved"};
    }
    if (auto error = makeFolder(file)) {
        return error;
    }
    // A file too short to hold a record is rewritten whole, starting from zeros.
    auto record = firstRecord(bytes).value_or(SettingsRecord());
    if (auto unstorable = storeOptions(options, record)) {
        return SettingsError{file.string(), unstorable->control + " holds \"" + unstorable->text +
                                                "\", which is not a number; nothing was saved"};
    }
    std::string contents(record.bytes().begin(), record.bytes().end());
    if (bytes.size() > kRecordSize) {
        contents.append(bytes, kRecordSize);
    }
    if (auto error = replaceContents(file, contents)) {
        return failure(file, "cannot be written", error);
    }
    return std::nullopt;
}

}  // namespace lintrel

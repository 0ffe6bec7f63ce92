#include "SettingsFile.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

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

// Reads the file as start-up and END open it: the folder and an empty file are made first.
std::optional<SettingsError> readSettingsFile(const std::filesystem::path& file,
                                              std::string& bytes) {
    std::error_code error;
    if (file.has_parent_path()) {
        std::filesystem::create_directories(file.parent_path(), error);
        if (error) {
            return failure(file, "cannot create its folder", error);
        }
    }
    if (auto readError = readOrCreate(file, bytes)) {
        return failure(file, "cannot be read", readError);
    }
    return std::nullopt;
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

#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "OptionSet.h"
#include "SettingsRecord.h"

namespace lintrel {

// Why the settings file could not be used: the file and the reason.
struct SettingsError {
    std::string path;
    std::string reason;

    [[nodiscard]] std::string message() const { return path + ": " + reason; }
};

// What start-up finds in the settings file.
struct [[nodiscard]] LoadedSettings {
    std::optional<SettingsRecord> record;  // nothing when the file holds no record yet
    std::optional<SettingsError> error;    // set when the file could not be made or read
};

// SettingsFilePath: $XDG_CONFIG_HOME/lintrel/msdesksys.ini, else ~/.config/lintrel/msdesksys.ini.
[[nodiscard]] std::filesystem::path SettingsFilePath();

// LoadSettings: record 1 of the file; a file that does not exist, or is shorter than one record,
// holds no record. Nothing is created.
LoadedSettings LoadSettings(const std::filesystem::path& file);

// SaveSettings: stores the options as record 1, making the file and its folder when needed. The
// reserved bytes 0..26 and every byte after the record stay as they were; when a text is not a
// number, or the file starts like a DXF drawing, nothing is written.
[[nodiscard]] std::optional<SettingsError> SaveSettings(const std::filesystem::path& file,
                                                        const OptionSet& options);

}  // namespace lintrel

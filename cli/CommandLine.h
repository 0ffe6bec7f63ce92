#pragma once

#include <optional>
#include <string>
#include <vector>

#include "OptionSet.h"
#include "ThreadBudget.h"

namespace lintrel {

// What the command line asks for.
struct CommandLine {
    std::vector<std::string> files;
    std::vector<std::pair<std::string, std::string>> assignments;  // control name, value
    std::string settingsFile;  // empty: the user's settings file
    std::string outputDir;
    bool ignoreSettings = false;
    bool saveSettings = false;
    bool json = false;
    bool dryRun = false;
    bool reference = false;  // line analysis by the literal scan, for checking the fast one
    int threads = defaultThreads();
    int jobs = machineCores();  // files cleaned at a time
    bool quiet = false;         // errors only
    std::string previewDir;  // empty: no pictures
    std::string previewFormat = "svg";
};

// The exit status of a command line that cannot be used.
inline constexpr int kUsageError = 2;

// Parses the arguments; on --help, --version or a usage error it prints and gives the exit code.
std::optional<int> parseCommandLine(int argc, char** argv, CommandLine& line);

}  // namespace lintrel

#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "TempDir.h"

namespace lintrel::testing {

// lintrel-cli run to its end, with what it printed.
struct Outcome {
    int status = -1;    // the exit code, -1 when a signal ended it
    int endSignal = 0;  // the signal that ended it, 0 when it exited
    std::string out;
    std::string err;
};

// How lintrel-cli is started besides its arguments.
struct Launch {
    std::vector<std::pair<std::string, std::string>> environment;  // set in the child
    long fileSizeLimit = -1;            // bytes, as `ulimit -f` sets; -1 for none
    std::string program = LINTREL_CLI;  // a copy of lintrel-cli elsewhere, or the one built
};

// A launch with one fault of tests/faults/FaultInjector.cpp in the files under `watched`.
Launch withFault(const std::string& fault, const std::filesystem::path& watched);

// Starts lintrel-cli with the arguments; its settings live in the test's folder, its output
// goes to files there.
pid_t start(const TempDir& dir, const std::vector<std::string>& arguments,
            const Launch& launch = {});
Outcome finish(const TempDir& dir, pid_t child);
Outcome run(const TempDir& dir, const std::vector<std::string>& arguments,
            const Launch& launch = {});

}  // namespace lintrel::testing

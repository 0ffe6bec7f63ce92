#pragma once

#include <string>

namespace lintrel {

// The named temporary files of this process, used only where a folder refuses unnamed ones:
// removed by a signal that would end the process without unwinding.
class TemporaryNames {
public:
    // Remembers a name until forget(); false when too many are remembered at once.
    static bool remember(const std::string& path);
    static void forget(const std::string& path);
    // Removes every name remembered; safe in a signal handler. For a handler that a fatal signal
    // meets before this class's own: it installs its own only where none is set.
    static void removeAll();
};

}  // namespace lintrel

#pragma once

#include <CLI/CLI.hpp>

#include "CommandLine.h"

namespace lintrel {

// The options for scripts (-j, --quiet) and the exit statuses at the foot of --help.
void addScriptOptions(CLI::App& app, CommandLine& line);

}  // namespace lintrel

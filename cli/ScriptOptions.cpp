#include "ScriptOptions.h"

#include <string>

namespace lintrel {
namespace {

constexpr int kMostJobs = 256;
constexpr const char* kExitStatus =
    "Exit status:\n"
    "  0    every file was cleaned\n"
    "  1    a file was refused, or a file could not be read or written\n"
    "  2    usage error\n"
    "  130  interrupted with Ctrl-C (the copy being written is removed)";

}  // namespace

void addScriptOptions(CLI::App& app, CommandLine& line) {
    app.add_option("-j,--jobs", line.jobs,
                   "clean N files at a time, each in a run of its own (copies, counters and "
                   "report as with -j 1, in the list's order; default: the machine's cores, "
                   "here " +
                       std::to_string(machineCores()) +
                       "; a progress line only with -j 1); --threads limits the threads within "
                       "each file's run")
        ->type_name("N")
        ->check(CLI::Range(1, kMostJobs).description(""));
    app.add_flag("-q,--quiet", line.quiet,
                 "print nothing but errors (no progress, report or closing message; --json "
                 "still prints its report)");
    app.footer(kExitStatus);
}

}  // namespace lintrel

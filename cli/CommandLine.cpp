#include "CommandLine.h"

#include <CLI/CLI.hpp>
#include <array>
#include <charconv>
#include <string>

#include "Controls.h"
#include "ScriptOptions.h"

namespace lintrel {
namespace {

// Each check box and text box as a flag named for what it does.
struct OptionFlag {
    std::string_view control;
    std::string_view flag;
    std::string_view help;
};

constexpr std::array<OptionFlag, 15> kSwitches = {{
    {control::Check9, "join", "join collinear horizontal/vertical pieces"},
    {control::Check7, "remove-duplicates", "remove duplicate lines"},
    {control::Check10, "same-layer-only", "compare only lines on the same layer"},
    {control::Check11, "same-linetype-only", "compare only lines of the same linetype"},
    {control::TextDelete, "delete-text", "delete every TEXT"},
    {control::Check13, "delete-blank-text", "delete only blank TEXT"},
    {control::MTextDelete, "delete-mtext", "delete every MTEXT"},
    {control::Check12, "delete-blank-mtext", "delete only blank MTEXT"},
    {control::Check6, "delete-dimensions", "delete every DIMENSION"},
    {control::Check8, "delete-xlines", "delete every XLINE"},
    {control::Check1, "delete-lines-by-linetype", "delete LINEs in special linetypes"},
    {control::Check2, "delete-circles-by-linetype", "delete CIRCLEs in special linetypes"},
    {control::Check3, "delete-arcs-by-linetype", "delete ARCs in special linetypes"},
    {control::Check4, "delete-points", "delete POINTs (which: --points)"},
    {control::Check5, "delete-by-size", "delete small lines, arcs and circles"},
}};

constexpr std::array<OptionFlag, 8> kValues = {{
    {control::Text9, "join-gap", "largest gap along the line that is joined"},
    {control::Text8, "join-offset", "largest offset across the line that is joined"},
    {control::Text5, "duplicate-offset", "largest offset across the line of a duplicate"},
    {control::Text6, "line-correction", "snap nearly horizontal/vertical lines within this"},
    {control::Text1, "max-straight-length", "delete horizontal/vertical LINEs up to this length"},
    {control::Text4, "max-oblique-length", "delete oblique LINEs up to this length"},
    {control::Text2, "max-arc-length", "delete ARCs up to this arc length"},
    {control::Text3, "max-circle-diameter", "delete CIRCLEs up to this diameter"},
}};

constexpr std::string_view kThreadsWanted = "needs a whole number of threads, 1 or more, got ";

// The text of a thread count: empty when it is one, else why not.
std::string checkThreadCount(const std::string& text) {
    int count = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, count);
    return error == std::errc{} && stop == end && count >= 1
               ? std::string()
               : std::string(kThreadsWanted) + "\"" + text + "\"";
}

// --threads N: at most N threads at work at once; fewer than one is a usage error.
void addThreadsOption(CLI::App& app, CommandLine& line) {
    app.add_option("--threads", line.threads,
                   "work on at most N threads at once (1: all on one thread; default: the "
                   "machine's cores, and at least " +
                       std::to_string(kMostThreadsARunUses) + ", the most a run uses)")
        ->check(CLI::Validator(checkThreadCount, ""))
        ->type_name("N");
}

// --preview DIR and --preview-format: a picture of what each drawing loses and gains.
void addPreviewOptions(CLI::App& app, CommandLine& line) {
    app.add_option("--preview", line.previewDir,
                   "write a picture of what the run removes and joins per drawing into this "
                   "folder (DIR/NAME-preview.svg)")
        ->check(CLI::ExistingDirectory)
        ->type_name("DIR");
    app.add_option("--preview-format", line.previewFormat, "the pictures' format")
        ->check(CLI::IsMember({"svg", "png", "pdf"}))
        ->type_name("svg|png|pdf");
}

using Assignments = std::vector<std::pair<std::string, std::string>>;

// The window's options as flags: each switch with its --no- twin, each number, --points.
void addOptionFlags(CLI::App& app, Assignments& flagged) {
    for (const auto& option : kSwitches) {
        std::string control(option.control);
        std::string name(option.flag);
        app.add_flag_callback(
            "--" + name, [&flagged, control] { flagged.emplace_back(control, "1"); },
            std::string(option.help) + " [" + control + "]");
        app.add_flag_callback(
            "--no-" + name, [&flagged, control] { flagged.emplace_back(control, "0"); },
            "turn --" + name + " off [" + control + "]");
    }
    for (const auto& option : kValues) {
        std::string control(option.control);
        app.add_option_function<std::string>(
               "--" + std::string(option.flag),
               [&flagged, control](const std::string& value) {
                   flagged.emplace_back(control, value);
               },
               std::string(option.help) + " [" + control + "]")
            ->type_name("NUMBER");
    }
    app.add_option_function<std::string>(
           "--points",
           [&flagged](const std::string& which) {
               flagged.emplace_back(which == "all" ? control::Option1_0 : control::Option1_1, "1");
           },
           "which POINTs --delete-points takes: all, or those in special linetypes "
           "[Option1(0) / Option1(1)]")
        ->check(CLI::IsMember({"all", "linetype"}))
        ->type_name("all|linetype");
}

// --set NAME=VALUE, by control name.
void addSetOption(CLI::App& app, std::vector<std::string>& sets) {
    app.add_option("--set", sets,
                   "set an option by its control name, e.g. --set Check7=0 --set Text5=0.1 "
                   "--set \"Option1(1)=1\" (applied after the flags)")
        ->type_name("NAME=VALUE")
        ->allow_extra_args(false);
}

// Where the options come from and go to.
void addSettingsOptions(CLI::App& app, CommandLine& line) {
    app.add_option("--settings", line.settingsFile,
                   "read (and with --save-settings write) this "
                   "settings file instead of the user's")
        ->type_name("FILE");
    app.add_flag("--defaults", line.ignoreSettings,
                 "start from the defaults, not the saved settings");
    app.add_flag("--save-settings", line.saveSettings,
                 "store the resulting options as the saved settings");
}

// Where the run writes, what it prints, how it analyses.
void addRunOptions(CLI::App& app, CommandLine& line) {
    app.add_option("--output-dir", line.outputDir, "write the copies into this folder")
        ->check(CLI::ExistingDirectory)
        ->type_name("DIR");
    app.add_flag("--dry-run", line.dryRun, "decide and count everything, write no file");
    app.add_flag("--json", line.json,
                 "print the report as JSON on stdout, with \"changed\" per file: whether "
                 "anything was removed or joined; a byte of a name that is not UTF-8 is "
                 "written as \\udcXX (XX the byte: Python reads it back with json.loads and "
                 "os.fsencode)");
    app.add_flag("--reference-analysis", line.reference,
                 "analyse lines with the slow literal scan (for checking)");
    addThreadsOption(app, line);
    addScriptOptions(app, line);
    addPreviewOptions(app, line);
}

// The flags' assignments, then those of --set; a --set without '=' is a usage error.
std::optional<int> takeAssignments(Assignments flagged, const std::vector<std::string>& sets,
                                   CommandLine& line) {
    line.assignments = std::move(flagged);
    for (const auto& set : sets) {
        auto equals = set.find('=');
        if (equals == std::string::npos) {
            std::cerr << "lintrel-cli: --set needs NAME=VALUE, got \"" << set << "\"\n";
            return kUsageError;
        }
        line.assignments.emplace_back(set.substr(0, equals), set.substr(equals + 1));
    }
    return std::nullopt;
}

}  // namespace

std::optional<int> parseCommandLine(int argc, char** argv, CommandLine& line) {
    CLI::App app{
        "Cleans AutoCAD 2000/2004 text DXF drawings: writes NAME-Cut.dxf beside each input.\n"
        "Options start from the saved settings (shared with the window); flags and --set change "
        "them for this run."};
    app.set_version_flag("--version", std::string("lintrel-cli ") + LINTREL_VERSION);
    app.add_option("files", line.files, "the drawings to clean")->type_name("FILE");
    Assignments flagged;
    addOptionFlags(app, flagged);
    std::vector<std::string> sets;
    addSetOption(app, sets);
    addSettingsOptions(app, line);
    addRunOptions(app, line);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        int code = app.exit(error);
        return code == 0 ? 0 : kUsageError;
    }
    if (line.files.empty() && !line.saveSettings) {
        std::cerr << "lintrel-cli: no FILE given (see --help)\n";
        return kUsageError;
    }
    return takeAssignments(std::move(flagged), sets, line);
}

}  // namespace lintrel

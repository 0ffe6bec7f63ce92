// lintrel-cli: the clean-up run from a terminal or a script, with the window's options,
// messages and settings file.
#include <unistd.h>

#include <csignal>
#include <iostream>

#include "Admission.h"
#include "CleanRun.h"
#include "CommandLine.h"
#include "CopyNames.h"
#include "HeldWindow.h"
#include "InterruptSignals.h"
#include "ParallelRun.h"
#include "PreviewOutput.h"
#include "RunReportPrinter.h"
#include "SettingsFile.h"
#include "TerminalWindow.h"

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
// As a shell reports a command ended by a signal: 128 and the signal's number.
constexpr int kEndedBySignal = 128;

constexpr std::string_view kSettingsOverDrawing =
    "is a drawing of this run; the settings are not written over it";

// Whether the file is one of those given to clean, under any of its paths.
bool isListed(const std::filesystem::path& file, const std::vector<std::string>& files) {
    for (const auto& listed : files) {
        std::error_code error;
        if (std::filesystem::equivalent(file, listed, error)) {
            return true;
        }
    }
    return false;
}

int fail(const std::string& message) {
    std::cerr << "lintrel-cli: " << message << '\n';
    return kFailed;
}

// Runs the listed files, several at a time when -j asks for it and there are several.
// With an observer, one file at a time: the decisions are told by one run.
lintrel::HeldRun runFiles(const lintrel::CommandLine& line, lintrel::OptionSet& options,
                          lintrel::InputList& list, lintrel::DecisionObserver* observer) {
    using namespace lintrel;
    RunTarget target;
    target.outputDir = line.outputDir;
    target.dryRun = line.dryRun;
    target.referenceAnalysis = line.reference;
    target.threads.threads = line.threads;
    target.observer = observer;
    bool showsProgress = isatty(STDERR_FILENO) != 0 && !line.json && !line.quiet;
    // Also catches Ctrl-C for the whole of a parallel run.
    HeldWindow window(options, list, showsProgress && line.jobs == 1);
    if (line.jobs > 1 && list.dwgCount() > 1 && observer == nullptr) {
        // Each parallel run sees its own file only, so the copies are checked against the whole
        // list here, as one run checks them.
        if (auto clash = target.dryRun ? std::nullopt : copyClash(window, target.outputDir)) {
            RunReport refused;
            refused.failure = *clash;
            window.showMessage(*clash);
            return {std::move(refused), window.messages()};
        }
        return runInParallel(options, list, target, line.jobs);
    }
    RunReport report = CleanRun(window, target).run();
    return {std::move(report), window.messages()};
}

}  // namespace

int main(int argc, char** argv) {
    using namespace lintrel;
    // A file-size limit then fails the write that exceeds it, which the run reports, instead of
    // ending the program without a word.
    std::signal(SIGXFSZ, SIG_IGN);
    CommandLine line;
    if (auto code = parseCommandLine(argc, argv, line)) {
        return *code;
    }

    std::filesystem::path settingsPath =
        line.settingsFile.empty() ? SettingsFilePath() : std::filesystem::path(line.settingsFile);
    OptionSet options;
    if (!line.ignoreSettings) {
        LoadedSettings loaded = LoadSettings(settingsPath);
        if (loaded.error) {
            return fail(loaded.error->message());
        }
        if (loaded.record) {
            ApplySettings(*loaded.record, options);
        }
    }
    // Every assignment comes from the command line: one that names no option, or gives a switch
    // neither 0 nor 1, is a usage error.
    for (const auto& [name, value] : line.assignments) {
        if (auto refusal = assignOption(options, name + "=" + value)) {
            std::cerr << "lintrel-cli: " << *refusal << '\n';
            return kUsageError;
        }
    }
    if (line.saveSettings) {
        if (isListed(settingsPath, line.files)) {
            return fail(settingsPath.string() + ": " + std::string(kSettingsOverDrawing));
        }
        if (auto error = SaveSettings(settingsPath, options)) {
            return fail(error->message());
        }
        if (line.files.empty()) {
            return kDone;
        }
    }

    InputList list;
    auto refusals = admitPaths(list, line.files);
    for (const auto& refusal : refusals) {
        std::cerr << refusal << '\n';
    }
    // Cut lengths cost a second read of each drawing: only a preview or a JSON report asks.
    const bool measures = line.json || !line.previewDir.empty();
    PreviewOutput previews(line.previewDir, line.previewFormat);
    HeldRun run = runFiles(line, options, list, measures ? previews.observer() : nullptr);
    const RunReport& report = run.report;
    // A completed run's one message is the closing "完了しました。"; any other is an error.
    if (!line.quiet || report.outcome != RunOutcome::Completed) {
        for (const auto& message : run.messages) {
            std::cerr << message << '\n';
        }
    }
    std::string pictureFailure;
    std::vector<FileCutLength> cuts;
    if (measures && report.outcome == RunOutcome::Completed) {
        // A signal now stops the pictures after the one in hand, so that nothing the painting
        // made is left behind; the figures of a part of the files are not told.
        const InterruptSignals signals;
        cuts =
            previews.finish(report, pictureFailure, [] { return InterruptSignals::caught() != 0; });
        if (InterruptSignals::caught() != 0) {
            cuts.clear();
        }
    }
    const std::vector<FileCutLength>* measured = cuts.empty() ? nullptr : &cuts;

    if (line.json) {
        printJson(std::cout, report, measured);
    } else if (!line.quiet && report.outcome != RunOutcome::Refused) {
        printText(std::cout, report, measured);
    }
    if (report.outcome == RunOutcome::Completed && InterruptSignals::caught() != 0) {
        return kEndedBySignal + InterruptSignals::caught();
    }
    if (!pictureFailure.empty()) {
        return fail(pictureFailure);
    }
    switch (report.outcome) {
        case RunOutcome::Completed:
            return refusals.empty() ? kDone : kFailed;
        case RunOutcome::Interrupted:
            return kEndedBySignal + InterruptSignals::caught();
        case RunOutcome::Refused:
            return kFailed;
        case RunOutcome::Failed:
            std::cerr << report.failureDetail << '\n';
            return kFailed;
    }
    return kFailed;
}

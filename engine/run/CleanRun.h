#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "DecisionObserver.h"
#include "RunCounters.h"
#include "ThreadBudget.h"
#include "WindowOps.h"

namespace lintrel {

// After a file's name: it could not be opened or read.
inline constexpr std::string_view kUnreadable =
    "は読み込めませんでした。ファイルがあるか、読み取りできるか確認して下さい。　";

// How a run ended.
enum class RunOutcome {
    Refused,      // a precondition failed; its message was shown
    Completed,    // every file was cleaned; "完了しました。" was shown
    Interrupted,  // Command1 was pressed; the current file's output was discarded
    Failed,       // a file could not be read or written; its message was shown
};

// What one file of the run produced, for front ends that report per file.
struct FileReport {
    std::string path;
    std::string outputPath;
    int lineCount = 0;     // LINE records of the file (0 when no line analysis ran)
    RunCounters counters;  // what this file added to the run's counters
};

// The whole account of a run.
struct RunReport {
    RunOutcome outcome = RunOutcome::Refused;
    RunCounters counters;
    std::vector<FileReport> files;     // the files finished, in list order
    std::vector<std::string> skipped;  // the files after the one that failed or was interrupted
    double elapsedSeconds = 0;
    std::string failure;        // the message shown when the run was refused or failed
    std::string failureDetail;  // for logs: the file, line and reason behind a failure
};

// Where a run writes and whether it writes at all; the window always uses the defaults.
struct RunTarget {
    std::string outputDir;                 // empty: beside each input
    bool dryRun = false;                   // decide everything, write nothing
    bool referenceAnalysis = false;        // the literal line analysis, for checking the fast one
    ThreadBudget threads;                  // by default as many as the run uses
    DecisionObserver* observer = nullptr;  // told what becomes of each record, when given
};

// The clean-up run that a press of Start begins: every listed file, one after the other, on the
// window's thread, through the window operations only.
class CleanRun {
public:
    explicit CleanRun(WindowOps& window, RunTarget target = {});
    RunReport run();

private:
    void start();
    void finish(RunReport& report);
    void RestoreControls();  // the early end of a run: gives the controls back
    void skipAfter(int k, RunReport& report) const;

    WindowOps& m_window;
    RunTarget m_target;
};

}  // namespace lintrel

#include "ParallelRun.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <optional>
#include <thread>

#include "HeldWindow.h"
#include "CleanRun.h"
#include "CounterTable.h"

namespace lintrel {
namespace {

// One file's window among several: a Ctrl-C seen by one run stops them all, so a run starting
// must not clear it as a lone run does.
class FileWindow : public HeldWindow {
public:
    using HeldWindow::HeldWindow;
    void clearInterrupt() override {}
};

HeldRun runOne(const OptionSet& options, const std::string& path, const RunTarget& target) {
    OptionSet ownOptions = options;
    InputList one;
    one.accept(path);
    FileWindow window(ownOptions, one, false);
    RunReport report = CleanRun(window, target).run();
    return {std::move(report), window.messages()};
}

// The per-file runs as one: the outcome is the first that is not Completed, in list order. Files
// that never started (after a failure) have no run, and are reported as skipped.
HeldRun merge(std::vector<std::optional<HeldRun>>& runs, const InputList& list) {
    HeldRun merged;
    merged.report.outcome = RunOutcome::Completed;
    for (std::size_t k = 0; k < runs.size(); ++k) {
        auto& ran = runs[k];
        if (!ran) {
            merged.report.skipped.push_back(list.dwgPath(static_cast<int>(k) + 1));
            continue;
        }
        HeldRun& run = *ran;
        for (auto& file : run.report.files) {
            merged.report.counters += file.counters;
            merged.report.files.push_back(std::move(file));
        }
        if (merged.report.outcome == RunOutcome::Completed) {
            merged.report.outcome = run.report.outcome;
            merged.report.failure = run.report.failure;
            merged.report.failureDetail = run.report.failureDetail;
            merged.messages = std::move(run.messages);
        }
    }
    return merged;
}

}  // namespace

HeldRun runInParallel(const OptionSet& options, const InputList& list, const RunTarget& target,
                      int jobs) {
    auto started = std::chrono::steady_clock::now();
    int count = list.dwgCount();
    std::vector<std::optional<HeldRun>> runs(static_cast<std::size_t>(count));
    std::atomic<int> next{0};
    std::atomic<bool> hasStopped{false};
    auto work = [&] {
        for (int k = next++; k < count && !hasStopped; k = next++) {
            auto& run = runs[static_cast<std::size_t>(k)];
            run = runOne(options, list.dwgPath(k + 1), target);
            if (run->report.outcome != RunOutcome::Completed) {
                hasStopped = true;
            }
        }
    };
    std::vector<std::jthread> workers;
    int workerCount = std::min(jobs, count);
    for (int j = 0; j < workerCount; ++j) {
        workers.emplace_back(work);
    }
    workers.clear();

    HeldRun merged = merge(runs, list);
    merged.report.elapsedSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return merged;
}

}  // namespace lintrel

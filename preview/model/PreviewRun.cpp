#include "PreviewRun.h"

#include <atomic>
#include <variant>

#include "CleanRun.h"
#include "Controls.h"
#include "DrawingReader.h"
#include "HelperThread.h"

namespace lintrel::preview {

OptionSnapshot OptionSnapshot::of(const WindowOps& window) {
    OptionSnapshot snapshot;
    for (ControlName box : control::kCheckBoxes) {
        snapshot.ticked.emplace(box, window.isTicked(box));
    }
    for (ControlName option : {control::Option1_0, control::Option1_1}) {
        snapshot.ticked.emplace(option, window.isTicked(option));
    }
    for (ControlName box : control::kTextBoxes) {
        snapshot.texts.emplace(box, window.text(box));
    }
    return snapshot;
}

std::string DryRunWindow::listDisplay(int) const {
    return " " + m_path.substr(m_path.find_last_of('/') + 1);
}

bool DryRunWindow::isTicked(ControlName box) const {
    auto found = m_options.ticked.find(box);
    return found != m_options.ticked.end() && found->second;
}

std::string DryRunWindow::text(ControlName box) const {
    auto found = m_options.texts.find(box);
    return found == m_options.texts.end() ? std::string() : found->second;
}

void DryRunWindow::setText(ControlName box, std::string_view text) {
    m_options.texts[std::string(box)] = text;
}

void DryRunWindow::yield() {
    if (m_isStopping && m_isStopping()) {
        m_isInterrupted = true;
    }
}

Preview previewFromRead(std::variant<DrawingModel, std::string> read,
                        const RunDecisions::ToldList& told, const RunCounters& counters) {
    Preview preview;
    preview.counters = counters;
    if (auto* failure = std::get_if<std::string>(&read)) {
        preview.failure = *failure;
        return preview;
    }
    preview.model = std::move(std::get<DrawingModel>(read));
    applyDecisions(preview.model, told);
    preview.cut = cutLengthOf(preview.model);
    preview.verdicts = verdictCounts(preview.model);
    return preview;
}

Preview previewAfterRun(const std::string& path, const RunDecisions& decisions,
                        const RunCounters& counters) {
    return previewFromRead(readDrawing(path), decisions.of(path), counters);
}

Preview previewOf(const OptionSnapshot& options, const std::string& path,
                  std::function<bool()> isStopping) {
    DryRunWindow window(options, path, std::move(isStopping));
    RunDecisions decisions;
    RunTarget target;
    target.dryRun = true;
    target.observer = &decisions;
    // The model is read while the run decides: both only read the file, and the decisions are
    // needed once both are done. A run that does not complete stops the reading.
    std::variant<DrawingModel, std::string> read;
    std::atomic<bool> isAwaited = false;
    HelperThread reader(
        [&](const std::stop_token& stop) { read = readDrawing(path, stop, &isAwaited); });
    const RunReport report = CleanRun(window, target).run();
    if (report.outcome != RunOutcome::Completed) {
        Preview preview;
        preview.failure = report.failure;
        preview.isInterrupted = report.outcome == RunOutcome::Interrupted;
        return preview;
    }
    isAwaited = true;
    reader.wait([] {});
    return previewFromRead(std::move(read), decisions.of(path), report.counters);
}

}  // namespace lintrel::preview

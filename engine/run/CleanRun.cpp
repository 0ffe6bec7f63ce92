#include "CleanRun.h"

#include <array>
#include <chrono>

#include "Controls.h"
#include "CopyNames.h"
#include "CounterTable.h"
#include "DxfError.h"
#include "LinePass.h"
#include "LineTable.h"
#include "Numbers.h"
#include "OutputPass.h"
#include "RunInterrupted.h"
#include "RunOptions.h"

namespace lintrel {
namespace {

constexpr std::string_view kIdleCaption = "   Lintrel";
constexpr std::string_view kBusySuffix = " < 処理中 >";
constexpr std::string_view kDone = "完了しました。";
constexpr std::string_view kDamaged = "は壊れている可能性があります。　";
constexpr std::string_view kUnwritable =
    "の出力ファイルを書き込めませんでした。出力先フォルダの書き込み権限と空き容量を確認して下さい"
    "。　";

// Everything a run locks so that neither the list nor the options can change under it.
constexpr std::array<ControlName, 27> kLockedDuringRun = {
    control::List1,   control::LISTClear, control::TextDelete, control::MTextDelete,
    control::Check1,  control::Check2,    control::Check3,     control::Check4,
    control::Check5,  control::Check6,    control::Check7,     control::Check8,
    control::Check9,  control::Check10,   control::Check11,    control::Check12,
    control::Check13, control::Option1_0, control::Option1_1,  control::Text1,
    control::Text2,   control::Text3,     control::Text4,      control::Text5,
    control::Text6,   control::Text8,     control::Text9};

void setLocked(WindowOps& window, bool isLocked) {
    for (auto name : kLockedDuringRun) {
        window.setEnabled(name, !isLocked);
    }
}

std::string_view messageFor(DxfError::Kind kind) {
    switch (kind) {
        case DxfError::Kind::Open:
            return kUnreadable;
        case DxfError::Kind::Write:
            return kUnwritable;
        case DxfError::Kind::Damaged:
            break;
    }
    return kDamaged;
}

}  // namespace

CleanRun::CleanRun(WindowOps& window, RunTarget target)
    : m_window(window), m_target(std::move(target)) {}

RunReport CleanRun::run() {
    RunReport report;
    auto read = readRunOptions(m_window);
    auto refuse = [&](const std::string& message) {
        report.failure = message;
        m_window.showMessage(message);
        return report;
    };
    if (auto* refusal = std::get_if<std::string>(&read)) {
        return refuse(*refusal);
    }
    const RunOptions& options = std::get<RunOptions>(read);
    if (auto clash = m_target.dryRun ? std::nullopt : copyClash(m_window, m_target.outputDir)) {
        return refuse(*clash);
    }
    start();
    auto started = std::chrono::steady_clock::now();
    LineTable table;
    RecordLayout layout;
    int count = m_window.listCount();
    for (int k = 1; k <= count; ++k) {
        table.clear();
        std::string path = m_window.listPath(k);
        std::string display = m_window.listDisplay(k);
        m_window.setWindowCaption(" " + display + std::string(kBusySuffix));
        m_window.setVisible(control::Label55, false);
        m_window.setVisible(control::Label47, false);
        m_window.yield();
        FileReport file;
        file.path = path;
        file.outputPath = m_target.dryRun ? "" : outputPathFor(path, m_target.outputDir);
        try {
            layout.clear();
            // Told first, so that a listener may read the drawing meanwhile.
            if (m_target.observer != nullptr) {
                m_target.observer->startFile(path);
            }
            if (options.analysesLines()) {
                file.counters = LinePass(m_window, options, table, report.counters,
                                         m_target.referenceAnalysis, &layout, m_target.threads)
                                    .run(path);
            }
            OutputPass output(m_window, options, table, report.counters + file.counters,
                              m_target.threads);
            output.observe(m_target.observer);
            file.counters += output.run(path, file.outputPath, &layout);
        } catch (const RunInterrupted&) {
            RestoreControls();
            report.outcome = RunOutcome::Interrupted;
            skipAfter(k, report);
            return report;
        } catch (const DxfError& error) {
            RestoreControls();
            report.outcome = RunOutcome::Failed;
            skipAfter(k, report);
            report.failure = display + std::string(messageFor(error.kind()));
            report.failureDetail = error.what();
            m_window.showMessage(report.failure);
            return report;
        }
        file.lineCount = table.size();
        report.counters += file.counters;
        report.files.push_back(std::move(file));
    }
    report.elapsedSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    finish(report);
    return report;
}

void CleanRun::start() {
    for (const auto& field : kCounterFields) {
        m_window.setCaption(field.label, "0");
    }
    m_window.setCaption(kTotalLabel, "0");
    m_window.setCaption(control::Label47, "0");
    m_window.setCaption(control::Label32, "");
    m_window.setCaption(control::Label52, "0.00");
    m_window.setVisible(control::Start, false);
    m_window.setVisible(control::Command1, true);
    m_window.setEnabled(control::Command3, false);
    setLocked(m_window, true);
}

void CleanRun::finish(RunReport& report) {
    m_window.setCaption(kTotalLabel, std::to_string(total(report.counters)));
    m_window.setCaption(control::Label32, formatFixed(report.elapsedSeconds, 1) + " Sec");
    setLocked(m_window, false);
    m_window.setVisible(control::Start, true);
    m_window.setVisible(control::Command1, false);
    m_window.setEnabled(control::Command3, true);
    m_window.setWindowCaption(kIdleCaption);
    report.outcome = RunOutcome::Completed;
    m_window.showMessage(kDone);
}

void CleanRun::skipAfter(int k, RunReport& report) const {
    for (int later = k + 1; later <= m_window.listCount(); ++later) {
        report.skipped.push_back(m_window.listPath(later));
    }
}

void CleanRun::RestoreControls() {
    m_window.setVisible(control::Label63, false);
    m_window.setVisible(control::ProgressBar1, false);
    setLocked(m_window, false);
    m_window.setCaption(control::Label52, "0.00");
    m_window.setVisible(control::Start, true);
    m_window.setVisible(control::Command1, false);
    m_window.setWindowCaption(kIdleCaption);
    m_window.setEnabled(control::Command3, true);
}

}  // namespace lintrel

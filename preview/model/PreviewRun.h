#pragma once

#include <array>
#include <functional>
#include <map>
#include <string>
#include <variant>
#include <vector>

#include "CutLength.h"
#include "DrawingModel.h"
#include "RunCounters.h"
#include "RunDecisions.h"
#include "WindowOps.h"

namespace lintrel::preview {

// The options of a window as they stood when a preview was asked for, so that a dry run on
// another thread never reads the window itself.
struct OptionSnapshot {
    std::map<std::string, bool, std::less<>> ticked;
    std::map<std::string, std::string, std::less<>> texts;

    static OptionSnapshot of(const WindowOps& window);
};

// The window a preview's dry run talks to: one drawing in its list, the options of a snapshot,
// display changes dropped, the message kept, and an interrupt asked for from outside.
class DryRunWindow : public WindowOps {
public:
    DryRunWindow(OptionSnapshot options, std::string path, std::function<bool()> isStopping)
        : m_options(std::move(options)),
          m_path(std::move(path)),
          m_isStopping(std::move(isStopping)) {}

    int listCount() const override { return 1; }
    std::string listPath(int) const override { return m_path; }
    std::string listDisplay(int) const override;
    void listClear() override {}
    void listAppend(std::string_view) override {}
    bool isTicked(ControlName box) const override;
    std::string text(ControlName box) const override;
    void setText(ControlName box, std::string_view text) override;
    void setCaption(ControlName, std::string_view) override {}
    void setWindowCaption(std::string_view) override {}
    void setVisible(ControlName, bool) override {}
    void setEnabled(ControlName, bool) override {}
    void setProgress(int) override {}
    void yield() override;
    bool interruptRequested() const override { return m_isInterrupted; }
    void clearInterrupt() override { m_isInterrupted = false; }
    void showMessage(std::string_view prompt) override { m_message = prompt; }

    const std::string& message() const { return m_message; }

private:
    OptionSnapshot m_options;
    std::string m_path;
    std::function<bool()> m_isStopping;
    bool m_isInterrupted = false;
    std::string m_message;
};

// A drawing as the preview shows it: its model marked with the run's decisions, the cut length,
// and the run's counts; or the run's message, with nothing to draw.
struct Preview {
    DrawingModel model;
    CutLength cut;
    std::array<int, 13> verdicts{};  // the entities of each verdict, as the legend counts them
    RunCounters counters;
    std::string failure;  // the message of a refused or failed run
    bool isInterrupted = false;
};

// Runs the clean-up on one drawing with these options, writing nothing, and reads its model with
// what the run decided. Its paths are not indexed: the first picture, of the whole drawing, walks
// them all and need not wait for the index, which views of a part want (indexPathsOf()).
// `isStopping` is asked as often as a run polls its interrupt.
Preview previewOf(const OptionSnapshot& options, const std::string& path,
                  std::function<bool()> isStopping = {});

// The preview of a drawing read (its model, or why it could not be read) once a run decided it.
// Its paths are not indexed: a picture of the whole drawing walks them all, and only a view of a
// part of it needs DrawingModel::indexPaths().
Preview previewFromRead(std::variant<DrawingModel, std::string> read,
                        const RunDecisions::ToldList& told, const RunCounters& counters);

// The preview of a drawing a run has already decided, told through `decisions`.
Preview previewAfterRun(const std::string& path, const RunDecisions& decisions,
                        const RunCounters& counters);

}  // namespace lintrel::preview

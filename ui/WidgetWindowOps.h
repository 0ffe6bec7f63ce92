#pragma once

#include <QElapsedTimer>
#include <QString>
#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "InputList.h"
#include "WindowOps.h"

class QLabel;
class QWidget;

namespace lintrel {

// The window operations on frmMain's real widgets, each control found by its control name.
// While a run lasts, captions and the progress value are only noted and reach the widgets when
// the run yields, so that a run setting a label per line stays fast; the yield itself processes
// events at most once per interval of work.
class WidgetWindowOps : public WindowOps {
public:
    // Shows one message and returns when it has been read; the message boxes by default.
    using MessageHook = std::function<void(const QString& prompt)>;

    WidgetWindowOps(QWidget& window, const InputList& list);

    // Learns the controls by name; called once the window has made them all.
    void indexControls();
    [[nodiscard]] QWidget* control(ControlName name) const;

    void setMessageHook(MessageHook hook) { m_messageHook = std::move(hook); }
    void setYieldInterval(std::chrono::milliseconds interval) { m_yieldInterval = interval; }

    // A run begins: display changes are coalesced from now on, and the first yield processes
    // events at once.
    void beginRun();
    // The run is over: every noted change reaches the widgets.
    void endRun();
    [[nodiscard]] bool isRunning() const { return m_isRunning; }
    void requestInterrupt() { m_isInterruptRequested = true; }

    // A check box or option button changed as a click would change it.
    void setTicked(ControlName box, bool isTicked);

    int listCount() const override;
    std::string listPath(int k) const override;
    std::string listDisplay(int k) const override;
    void listClear() override;
    void listAppend(std::string_view row) override;
    bool isTicked(ControlName box) const override;
    std::string text(ControlName box) const override;
    void setText(ControlName box, std::string_view text) override;
    void setCaption(ControlName label, std::string_view caption) override;
    void setWindowCaption(std::string_view caption) override;
    void setVisible(ControlName control, bool visible) override;
    void setEnabled(ControlName control, bool enabled) override;
    void setProgress(int percent) override;
    void yield() override;
    bool interruptRequested() const override { return m_isInterruptRequested; }
    void clearInterrupt() override { m_isInterruptRequested = false; }
    void showMessage(std::string_view prompt) override;

private:
    template <class Widget>
    Widget* controlAs(ControlName name) const;
    void flush();

    QWidget& m_window;
    const InputList& m_list;
    std::map<std::string, QWidget*, std::less<>> m_controls;
    MessageHook m_messageHook;
    std::chrono::milliseconds m_yieldInterval{20};
    QElapsedTimer m_sinceEvents;
    unsigned m_yieldsUnclocked = 0;
    bool m_isRunning = false;
    bool m_isInterruptRequested = false;
    std::map<QLabel*, std::string> m_pendingCaptions;
    std::optional<int> m_pendingProgress;
};

}  // namespace lintrel

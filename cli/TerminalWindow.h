#pragma once

#include <chrono>
#include <map>
#include <string>

#include "InputList.h"
#include "InterruptSignals.h"
#include "OptionSet.h"
#include "WindowOps.h"

namespace lintrel {

// The window as a terminal sees it: options from an OptionSet, the list from an InputList,
// message boxes as lines on stderr, and a progress line on stderr when it is a terminal.
// Ctrl-C, SIGHUP and SIGTERM are the interrupt button.
class TerminalWindow : public WindowOps {
public:
    TerminalWindow(OptionSet& options, InputList& list, bool showsProgress);
    ~TerminalWindow() override;
    TerminalWindow(const TerminalWindow&) = delete;
    TerminalWindow& operator=(const TerminalWindow&) = delete;

    int listCount() const override { return m_list.dwgCount(); }
    std::string listPath(int k) const override { return m_list.dwgPath(k); }
    std::string listDisplay(int k) const override { return m_list.dwgDisplay(k); }
    void listClear() override {}
    void listAppend(std::string_view) override {}

    bool isTicked(ControlName box) const override;
    std::string text(ControlName box) const override;
    void setText(ControlName box, std::string_view text) override;

    void setCaption(ControlName label, std::string_view caption) override;
    void setWindowCaption(std::string_view caption) override;
    void setVisible(ControlName control, bool visible) override;
    void setEnabled(ControlName, bool) override {}
    void setProgress(int percent) override;

    void yield() override;
    bool interruptRequested() const override { return m_interrupted; }
    void clearInterrupt() override;
    void showMessage(std::string_view prompt) override;

private:
    void draw(bool force);
    void clearLine();

    InterruptSignals m_signals;  // the interrupt button
    OptionSet& m_options;
    InputList& m_list;
    bool m_showsProgress;
    bool m_interrupted = false;
    std::string m_file;     // the file in progress, from the window caption
    std::string m_phase;    // what the progress figure measures
    std::string m_percent;  // the figure itself
    bool m_lineDrawn = false;
    std::chrono::steady_clock::time_point m_lastDraw;
};

}  // namespace lintrel

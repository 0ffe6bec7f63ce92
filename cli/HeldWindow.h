#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "TerminalWindow.h"

namespace lintrel {

// A terminal window that keeps its message boxes for the caller instead of printing them, so that
// --quiet and parallel runs can choose which to show once the run has ended.
class HeldWindow : public TerminalWindow {
public:
    using TerminalWindow::TerminalWindow;

    void showMessage(std::string_view prompt) override { m_messages.emplace_back(prompt); }
    [[nodiscard]] const std::vector<std::string>& messages() const { return m_messages; }

private:
    std::vector<std::string> m_messages;
};

}  // namespace lintrel

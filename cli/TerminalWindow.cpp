#include "TerminalWindow.h"

#include <iostream>

#include "Controls.h"

namespace lintrel {
namespace {

constexpr std::string_view kBusySuffix = " < 処理中 >";
constexpr auto kRedrawEvery = std::chrono::milliseconds(100);

}  // namespace

TerminalWindow::TerminalWindow(OptionSet& options, InputList& list, bool showsProgress)
    : m_options(options), m_list(list), m_showsProgress(showsProgress) {}

TerminalWindow::~TerminalWindow() {
    clearLine();
}

bool TerminalWindow::isTicked(ControlName box) const {
    return m_options.ticked(box).value_or(false);
}

std::string TerminalWindow::text(ControlName box) const {
    return m_options.text(box).value_or("");
}

void TerminalWindow::setText(ControlName box, std::string_view text) {
    m_options.setText(box, text);
}

void TerminalWindow::setCaption(ControlName label, std::string_view caption) {
    if (label == control::Label52) {
        m_phase = "線の解析";
        m_percent = std::string(caption) + "%";
        draw(false);
    }
}

void TerminalWindow::setWindowCaption(std::string_view caption) {
    m_file = caption.ends_with(kBusySuffix) ? caption.substr(0, caption.size() - kBusySuffix.size())
                                            : std::string_view();
    m_phase.clear();
    m_percent.clear();
    draw(true);
}

void TerminalWindow::setVisible(ControlName control, bool visible) {
    if (control == control::Label63 && visible) {
        m_phase = "読込中";
        m_percent.clear();
        draw(true);
    }
}

void TerminalWindow::setProgress(int percent) {
    constexpr int kWidth = 30;
    int filled = percent * kWidth / 100;
    m_phase = "[" + std::string(static_cast<std::size_t>(filled), '#') +
              std::string(static_cast<std::size_t>(kWidth - filled), '.') + "]";
    m_percent = std::to_string(percent) + "%";
    draw(percent == 100);
}

void TerminalWindow::yield() {
    // Left set, so that every window of a parallel run sees the one Ctrl-C.
    if (InterruptSignals::caught() != 0) {
        m_interrupted = true;
    }
}

void TerminalWindow::clearInterrupt() {
    m_interrupted = false;
    InterruptSignals::clear();
}

void TerminalWindow::showMessage(std::string_view prompt) {
    clearLine();
    std::cerr << prompt << '\n';
}

void TerminalWindow::draw(bool force) {
    if (!m_showsProgress || m_file.empty()) {
        return;
    }
    auto now = std::chrono::steady_clock::now();
    if (!force && now - m_lastDraw < kRedrawEvery) {
        return;
    }
    m_lastDraw = now;
    std::cerr << "\r\x1b[K" << m_file << "  " << m_phase << ' ' << m_percent << std::flush;
    m_lineDrawn = true;
}

void TerminalWindow::clearLine() {
    if (m_lineDrawn) {
        std::cerr << "\r\x1b[K" << std::flush;
        m_lineDrawn = false;
    }
}

}  // namespace lintrel

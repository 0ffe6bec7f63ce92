#include "LinePass.h"

#include "Controls.h"
#include "CounterTable.h"
#include "LetWindowBreathe.h"
#include "Numbers.h"
#include "ReadLineRecords.h"

namespace lintrel {
namespace {

// Shows the analysis' progress and counts, and lets the window breathe, before each row.
class AnalysisDisplay : public RowObserver {
public:
    AnalysisDisplay(WindowOps& window, const RunCounters& before, int lineCount)
        : m_window(window),
          m_display(window, before),
          m_step(100.0F / static_cast<float>(lineCount)) {}

    void beforeRow(int row, const RunCounters& counters) override {
        letWindowBreathe(m_window);
        show(row, counters);
    }
    // A long turn (one row absorbing thousands of pieces) still lets the window breathe.
    void duringRow(int, const RunCounters&) override { letWindowBreathe(m_window); }
    // Tells the window only of texts that change: a million rows must not cost a million
    // formatted numbers. The percentage can change its hundredths only where it enters another
    // half-hundredth.
    void show(int row, const RunCounters& counters) {
        double percent = static_cast<double>(row) * m_step;
        auto halfHundredth = static_cast<long long>(percent * 200);
        if (halfHundredth != m_shownHalfHundredth) {
            m_shownHalfHundredth = halfHundredth;
            m_window.setCaption(control::Label52, formatFixed(percent, 2));
        }
        showCount(&RunCounters::JoinCount, counters, m_shownJoins);
        showCount(&RunCounters::DuplicateCount, counters, m_shownDuplicates);
    }

private:
    void showCount(std::int32_t RunCounters::*counter, const RunCounters& counters,
                   std::int32_t& shown) {
        if (counters.*counter != shown) {
            shown = counters.*counter;
            m_display.show(counter, counters);
        }
    }

    WindowOps& m_window;
    CounterDisplay m_display;
    float m_step;  // computed once in single precision, as the percentage always was
    long long m_shownHalfHundredth = -1;
    std::int32_t m_shownJoins = -1;
    std::int32_t m_shownDuplicates = -1;
};

}  // namespace

RunCounters LinePass::run(const std::string& input) {
    read(input);
    return m_table.size() > 0 ? analyse() : RunCounters{};
}

void LinePass::read(const std::string& input) {
    m_window.setVisible(control::Label63, true);
    readLineRecords(
        input, m_options, m_table, m_layout, [this] { letWindowBreathe(m_window); }, m_threads);
    m_window.setVisible(control::Label63, false);
    m_window.setVisible(control::Label55, true);
    m_window.setVisible(control::Label47, true);
    m_window.setCaption(control::Label47, std::to_string(m_table.size()));
}

RunCounters LinePass::analyse() {
    AnalysisDisplay display(m_window, m_before, m_table.size());
    RunCounters added;
    if (m_referenceAnalysis) {
        analyseLinesReference(m_table, m_options.lines, added, display);
    } else {
        analyseLines(m_table, m_options.lines, added, display, m_threads);
    }
    display.show(m_table.size(), added);
    return added;
}

}  // namespace lintrel

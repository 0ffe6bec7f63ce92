#include "LinePass.h"

#include <array>
#include <charconv>

#include "Controls.h"
#include "DxfError.h"
#include "DxfLineReader.h"
#include "EntityFilter.h"
#include "EntitySection.h"
#include "Numbers.h"

namespace lintrel {
namespace {

std::string_view skipBlanks(std::string_view text) {
    text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
    return text;
}

// Shows the analysis' progress and counts, and lets the window breathe, before each row.
class AnalysisDisplay : public RowObserver {
public:
    AnalysisDisplay(WindowOps& window, int lineCount)
        : m_window(window), m_step(100.0F / static_cast<float>(lineCount)) {}

    bool beforeRow(int row, const RunCounters& counters) override {
        if (!duringRow(row, counters)) {
            return false;
        }
        show(row, counters);
        return true;
    }
    // A long turn (one row absorbing thousands of pieces) still lets the window breathe.
    bool duringRow(int, const RunCounters&) override {
        m_window.yield();
        return !m_window.interruptRequested();
    }
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
        showCount(control::Label54, counters.JoinCount, m_shownJoins);
        showCount(control::Label25, counters.DuplicateCount, m_shownDuplicates);
    }

private:
    void showCount(ControlName label, std::int32_t count, std::int32_t& shown) {
        if (count != shown) {
            shown = count;
            m_window.setCaption(label, std::to_string(count));
        }
    }

    WindowOps& m_window;
    float m_step;  // computed once in single precision, as the percentage always was
    long long m_shownHalfHundredth = -1;
    std::int32_t m_shownJoins = -1;
    std::int32_t m_shownDuplicates = -1;
};

}  // namespace

std::optional<int> groupCode(std::string_view line) {
    line = skipBlanks(line);
    int code = 0;
    auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), code);
    if (error != std::errc() || skipBlanks({end, line.size() - (end - line.data())}).size() != 0) {
        return std::nullopt;
    }
    return code;
}

void LinePass::run(const std::string& input) {
    read(input);
    if (m_table.size() > 0) {
        analyse();
    }
}

void LinePass::yieldAndPoll() {
    m_window.yield();
    if (m_window.interruptRequested()) {
        throw RunInterrupted{};
    }
}

void LinePass::read(const std::string& input) {
    m_window.setVisible(control::Label63, true);
    DxfLineReader reader(input);
    EntitySection section(reader, m_options.recordTypes(), "LINE");
    NameTable& names = m_table.names();
    if (m_layout != nullptr) {
        m_layout->clear();
    }
    section.readHead([&](std::string_view) { yieldAndPoll(); });
    while (section.hasMore()) {
        yieldAndPoll();
        if (section.next() != EntitySection::Item::Record) {
            continue;
        }
        if (m_layout != nullptr) {
            m_layout->add(section.typeName(), section.recordOffset(), section.recordEnd());
        }
        if (section.typeName() != "LINE") {
            continue;
        }
        LineRow& row = m_table.append();
        const EntityRecord& record = section.record();
        // The ends as the size rule reads them, from the very same pairs.
        std::array<double, 4> ends{};
        bool hasEnds = true;
        for (int i = 0; i < record.size(); ++i) {
            auto code = groupCode(record.code(i));
            std::string_view value = skipBlanks(record.value(i));
            double* coordinate = nullptr;
            switch (code.value_or(0)) {
                case 6:
                    row.LineTypeName = names.intern(value);
                    break;
                case 8:
                    row.LayerName = names.intern(value);
                    break;
                case 10:
                    coordinate = &row.X1;
                    break;
                case 20:
                    coordinate = &row.Y1;
                    break;
                case 11:
                    coordinate = &row.X2;
                    break;
                case 21:
                    coordinate = &row.Y2;
                    break;
                default:
                    break;
            }
            if (coordinate != nullptr) {
                auto number = roundedNumber(value);
                if (!number) {
                    throw DxfError(DxfError::Kind::Damaged, input, reader.lineNumber(),
                                   "not a number: \"" + std::string(value) + "\"");
                }
                *coordinate = *number;
                if (int k = lineEndOf(record.code(i)); k >= 0 && m_options.bySize) {
                    // The size rule reads the value with its blanks, which only a rare one has.
                    auto asRead = value.size() == record.value(i).size()
                                      ? number
                                      : roundedNumber(record.value(i));
                    hasEnds = hasEnds && asRead.has_value();
                    ends[static_cast<std::size_t>(k)] = asRead.value_or(0);
                }
            }
        }
        row.ruling = hasEnds ? ruleLine(lineTypeOf(record), ends, m_options) : LineRuling::Unread;
        correctAndOrient(row, m_options.lines.LineCorrection);
    }
    if (m_layout != nullptr) {
        m_layout->complete(reader.position(), reader.endsAllInCrLf());
    }
    m_window.setVisible(control::Label63, false);
    m_window.setVisible(control::Label55, true);
    m_window.setVisible(control::Label47, true);
    m_window.setCaption(control::Label47, std::to_string(m_table.size()));
}

void LinePass::analyse() {
    AnalysisDisplay display(m_window, m_table.size());
    auto analyse = m_referenceAnalysis ? analyseLinesReference : analyseLines;
    if (!analyse(m_table, m_options.lines, m_counters, display)) {
        throw RunInterrupted{};
    }
    display.show(m_table.size(), m_counters);
}

}  // namespace lintrel

#include "RunOptions.h"

#include <array>
#include <cmath>
#include <optional>
#include <utility>

#include "Controls.h"
#include "Numbers.h"

namespace lintrel {
namespace {

// Reads the option texts, remembering the first one that is not a number.
class OptionReader {
public:
    explicit OptionReader(WindowOps& window) : m_window(window) {}

    void normalise(ControlName box) {
        std::string text = m_window.text(box);
        if (text.empty() || text == ".") {
            m_window.setText(box, "0");
        }
    }
    double decimal(ControlName box) {
        auto value = parseDecimal(m_window.text(box));
        noteIfMissing(box, value.has_value());
        return value.value_or(0.0);
    }
    double single(ControlName box) {
        auto value = parseSingle(m_window.text(box));
        noteIfMissing(box, value.has_value());
        return static_cast<double>(value.value_or(0.0F));
    }
    double leading(ControlName box) { return leadingDecimal(m_window.text(box)); }
    bool ticked(ControlName box) const { return m_window.isTicked(box); }
    const std::string& refusal() const { return m_refusal; }

private:
    void noteIfMissing(ControlName box, bool isNumber);

    WindowOps& m_window;
    std::string m_refusal;
};

// The message that asks for a number: the box, one of these, the text, the closing bracket.
constexpr std::string_view kAskForNumber = "に数値を入力して下さい。（入力値: ";
constexpr std::string_view kAskForNumberInRange = "に扱える範囲の数値を入力して下さい。（入力値: ";
constexpr std::string_view kInputValueEnd = "）";

// What the user calls each box, for the message that asks for a number in it.
std::string_view describe(ControlName box) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 6> kNames = {{
        {control::Text1, "長さ による削除の「垂直・水平線」の長さ"},
        {control::Text4, "長さ による削除の「斜線」の長さ"},
        {control::Text5, "ダブり線の削除の「線間ズレ」"},
        {control::Text6, "「LINE補正値」"},
        {control::Text8, "LINE結合の「線間ズレ」"},
        {control::Text9, "LINE結合の「線間間隙」"},
    }};
    for (const auto& [name, description] : kNames) {
        if (name == box) {
            return description;
        }
    }
    return box;
}

void OptionReader::noteIfMissing(ControlName box, bool isNumber) {
    if (!isNumber && m_refusal.empty()) {
        const std::string text = m_window.text(box);
        m_refusal = std::string(describe(box)) +
                    std::string(isDecimal(text) ? kAskForNumberInRange : kAskForNumber) + text +
                    std::string(kInputValueEnd);
    }
}

bool anyDeletionTicked(const WindowOps& window) {
    for (auto box :
         {control::Check1, control::Check2, control::Check3, control::Check4, control::Check6,
          control::Check7, control::Check8, control::Check9, control::Check12, control::Check13,
          control::TextDelete, control::MTextDelete}) {
        if (window.isTicked(box)) {
            return true;
        }
    }
    return false;
}

bool allSizesZero(const WindowOps& window) {
    for (auto box : {control::Text1, control::Text2, control::Text3, control::Text4}) {
        if (window.text(box) != "0") {
            return false;
        }
    }
    return true;
}

}  // namespace

std::variant<RunOptions, std::string> readRunOptions(WindowOps& window) {
    window.clearInterrupt();
    if (window.listCount() == 0) {
        return std::string(kChooseFiles);
    }
    OptionReader read(window);
    RunOptions options;
    LineRules& lines = options.lines;
    options.bySize = read.ticked(control::Check5);
    if (options.bySize) {
        for (auto box : {control::Text1, control::Text2, control::Text3, control::Text4}) {
            read.normalise(box);
        }
        options.straightLength = std::fabs(read.decimal(control::Text1));
        options.arcLength = read.leading(control::Text2);
        options.circleDiameter = read.leading(control::Text3);
        options.obliqueLength = std::fabs(read.decimal(control::Text4));
    }
    lines.removeDuplicates = read.ticked(control::Check7);
    if (lines.removeDuplicates) {
        read.normalise(control::Text5);
        lines.DuplicateOffset = read.single(control::Text5);
    }
    lines.joinLines = read.ticked(control::Check9);
    if (lines.joinLines) {
        read.normalise(control::Text8);
        read.normalise(control::Text9);
        lines.JoinOffset = read.single(control::Text8);
        lines.JoinGap = read.single(control::Text9);
    }
    lines.sameLayerOnly = read.ticked(control::Check10);
    lines.sameLineTypeOnly = read.ticked(control::Check11);
    if (options.analysesLines()) {
        read.normalise(control::Text6);
        lines.LineCorrection = read.decimal(control::Text6);
    }

    if (!anyDeletionTicked(window)) {
        if (!options.bySize) {
            return std::string(kChooseItems);
        }
        if (allSizesZero(window)) {
            return std::string(kChooseSizeItems);
        }
    }
    if (!read.refusal().empty()) {
        return read.refusal();
    }

    options.deleteAllText = read.ticked(control::TextDelete);
    options.deleteBlankText = read.ticked(control::Check13);
    options.deleteAllMText = read.ticked(control::MTextDelete);
    options.deleteBlankMText = read.ticked(control::Check12);
    options.deleteDimensions = read.ticked(control::Check6);
    options.deleteXLines = read.ticked(control::Check8);
    options.lineTypeLines = read.ticked(control::Check1);
    options.lineTypeCircles = read.ticked(control::Check2);
    options.lineTypeArcs = read.ticked(control::Check3);
    options.deletePoints = read.ticked(control::Check4);
    options.lineTypePointsOnly = read.ticked(control::Option1_1);
    return options;
}

}  // namespace lintrel

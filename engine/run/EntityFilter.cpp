#include "EntityFilter.h"

#include <array>
#include <cmath>
#include <utility>

#include "Controls.h"
#include "DxfError.h"
#include "Numbers.h"
#include "TextCompare.h"

namespace lintrel {
namespace {

// The value of the last pair with this code, or empty when there is none.
std::string_view lastValue(const EntityRecord& record, std::string_view code) {
    std::string_view found;
    for (int i = 0; i < record.size(); ++i) {
        if (isLine(record.code(i), code)) {
            found = record.value(i);
        }
    }
    return found;
}

// The verdict a counter of these counters stands for; looked up from the counter so that the rules
// tell the observer through the one call that counts.
Verdict verdictCounted(const RunCounters& counters, const std::int32_t* counter) {
    const std::array<std::pair<const std::int32_t*, Verdict>, 9> kVerdicts{{
        {&counters.TextDeleteCount, Verdict::Text},
        {&counters.MTextDeleteCount, Verdict::MText},
        {&counters.DimensionDeleteCount, Verdict::Dimension},
        {&counters.XLineDeleteCount, Verdict::XLine},
        {&counters.LineTypeLineCount, Verdict::LineTypeLine},
        {&counters.LineTypeCircleArcCount, Verdict::LineTypeCircleArc},
        {&counters.PointDeleteCount, Verdict::Point},
        {&counters.SizeLineCount, Verdict::SizeLine},
        {&counters.SizeCircleArcCount, Verdict::SizeCircleArc},
    }};
    for (const auto& [address, verdict] : kVerdicts) {
        if (address == counter) {
            return verdict;
        }
    }
    return Verdict::Kept;
}

}  // namespace

int lineEndOf(std::string_view code) {
    if (code.size() != 3 || code[0] != ' ' || (code[2] != '0' && code[2] != '1')) {
        return -1;
    }
    int end = code[2] - '0';
    return code[1] == '1' ? 2 * end : code[1] == '2' ? 2 * end + 1 : -1;
}

LineRuling ruleLine(std::string_view lineType, const std::array<double, 4>& ends,
                    const RunOptions& options) {
    if (options.lineTypeLines && !isKeptLineType(lineType)) {
        return LineRuling::ByLineType;
    }
    if (options.bySize) {
        double length = std::sqrt((ends[1] - ends[3]) * (ends[1] - ends[3]) +
                                  (ends[0] - ends[2]) * (ends[0] - ends[2]));
        bool isStraight = ends[0] == ends[2] || ends[1] == ends[3];
        if (length <= (isStraight ? options.straightLength : options.obliqueLength)) {
            return LineRuling::BySize;
        }
    }
    return LineRuling::Kept;
}

std::string_view lineTypeOf(const EntityRecord& record) {
    return lastValue(record, "  6");
}

bool isKeptLineType(std::string_view lineType) {
    return lineType.empty() || lineType == "ByBlock" || lineType == "Continuous";
}

bool isBlankText(std::string_view text) {
    // The ideographic space as Shift-JIS, as UTF-8 and as the two DXF escapes for it.
    static constexpr std::array<std::string_view, 5> kBlanks = {" ", "\x81\x40", "\xE3\x80\x80",
                                                                "\\U+3000", "\\M+18140"};
    for (bool stripped = true; stripped && !text.empty();) {
        stripped = false;
        for (auto blank : kBlanks) {
            if (text.starts_with(blank)) {
                text.remove_prefix(blank.size());
                stripped = true;
                break;
            }
        }
    }
    return text.empty();
}

bool EntityFilter::keep(std::string_view type, EntityRecord& record, long lineNumber) {
    if (type == "MTEXT") {
        return keepText(record, m_options.deleteAllMText, m_options.deleteBlankMText,
                        m_counters.MTextDeleteCount, control::Label18);
    }
    if (type == "TEXT") {
        return keepText(record, m_options.deleteAllText, m_options.deleteBlankText,
                        m_counters.TextDeleteCount, control::Label1);
    }
    if (type == "DIMENSION") {
        count(m_counters.DimensionDeleteCount, control::Label22);
        return false;
    }
    if (type == "XLINE") {
        count(m_counters.XLineDeleteCount, control::Label46);
        return false;
    }
    if (type == "LINE") {
        return keepLine(record, lineNumber);
    }
    if (type == "ARC") {
        return keepArc(record, lineNumber);
    }
    if (type == "CIRCLE") {
        return keepCircle(record, lineNumber);
    }
    return keepPoint(record);
}

EntityFilter::Unread EntityFilter::unreadVerdict(std::string_view type) {
    if (type == "LINE") {
        const int n = m_lineOrdinal + 1;
        const LineState state = m_lines.stateOf(n);
        if (n > m_lines.size() || state == LineState::Lengthened ||
            (state == LineState::Kept && m_lines[n].ruling == LineRuling::Unread)) {
            return Unread::Unknown;
        }
        m_lineOrdinal = n;
        if (state == LineState::Deleted) {
            tellLineState(m_lines[n]);
            return Unread::Dropped;
        }
        return countRuling(m_lines[n].ruling) ? Unread::Kept : Unread::Dropped;
    }
    if (type == "TEXT") {
        return m_options.deleteAllText || m_options.deleteBlankText ? Unread::Unknown
                                                                    : Unread::Kept;
    }
    if (type == "MTEXT") {
        return m_options.deleteAllMText || m_options.deleteBlankMText ? Unread::Unknown
                                                                      : Unread::Kept;
    }
    // The other rules read numbers that may be damaged, or count what they delete.
    return Unread::Unknown;
}

bool EntityFilter::keepText(const EntityRecord& record, bool deleteAll, bool deleteBlank,
                            std::int32_t& counter, ControlName label) {
    if (deleteAll || (deleteBlank && isBlankText(lastValue(record, "  1")))) {
        count(counter, label);
        return false;
    }
    return true;
}

bool EntityFilter::keepLine(EntityRecord& record, long lineNumber) {
    ++m_lineOrdinal;
    LineState state = m_lines.stateOf(m_lineOrdinal);
    if (state != LineState::Kept) {
        tellLineState(m_lines[m_lineOrdinal]);
    }
    if (state == LineState::Deleted) {
        return false;
    }
    std::array<double, 4> ends{};  // x1, y1, x2, y2
    // After a line pass these values were read as numbers already; only the size rule needs them.
    bool readsEnds = m_options.bySize || !m_options.analysesLines();
    for (int i = 0; i < record.size(); ++i) {
        int k = lineEndOf(record.code(i));
        if (k < 0) {
            continue;
        }
        if (state == LineState::Lengthened) {
            const LineRow& row = m_lines[m_lineOrdinal];
            const std::array<double, 4> joined = {row.X1, row.Y1, row.X2, row.Y2};
            record.setValue(i, formatCoordinate(joined[static_cast<std::size_t>(k)]));
        }
        if (readsEnds) {
            ends[static_cast<std::size_t>(k)] = number(record.value(i), lineNumber);
        }
    }
    return countRuling(ruleLine(lineTypeOf(record), ends, m_options));
}

bool EntityFilter::countRuling(LineRuling ruling) {
    switch (ruling) {
        case LineRuling::ByLineType:
            count(m_counters.LineTypeLineCount, control::Label2);
            return false;
        case LineRuling::BySize:
            count(m_counters.SizeLineCount, control::Label5);
            return false;
        case LineRuling::Kept:
        case LineRuling::Unread:
            break;
    }
    return true;
}

bool EntityFilter::keepArc(const EntityRecord& record, long lineNumber) {
    double radius = 0;
    double startAngle = 0;
    double endAngle = 0;
    for (int i = 0; i < record.size(); ++i) {
        std::string_view code = record.code(i);
        if (isLine(code, " 40") && m_options.bySize) {
            radius = number(record.value(i), lineNumber);
        } else if (isLine(code, " 50") && m_options.bySize) {
            startAngle = number(record.value(i), lineNumber);
        } else if (isLine(code, " 51")) {
            endAngle = number(record.value(i), lineNumber);
        }
    }
    if (m_options.lineTypeArcs && !isKeptLineType(lineTypeOf(record))) {
        count(m_counters.LineTypeCircleArcCount, control::Label3);
        return false;
    }
    if (m_options.bySize) {
        double sweep = endAngle - startAngle;
        if (sweep < 0) {
            sweep += 360;
        }
        if (2 * radius * 3.14 * sweep / 360 <= m_options.arcLength) {
            count(m_counters.SizeCircleArcCount, control::Label6);
            return false;
        }
    }
    return true;
}

bool EntityFilter::keepCircle(const EntityRecord& record, long lineNumber) {
    double radius = 0;
    for (int i = 0; i < record.size(); ++i) {
        if (isLine(record.code(i), " 40")) {
            radius = number(record.value(i), lineNumber);
        }
    }
    if (m_options.lineTypeCircles && !isKeptLineType(lineTypeOf(record))) {
        count(m_counters.LineTypeCircleArcCount, control::Label3);
        return false;
    }
    if (m_options.bySize && 2 * radius <= m_options.circleDiameter) {
        count(m_counters.SizeCircleArcCount, control::Label6);
        return false;
    }
    return true;
}

bool EntityFilter::keepPoint(const EntityRecord& record) {
    if (m_options.lineTypePointsOnly && isKeptLineType(lineTypeOf(record))) {
        return true;
    }
    count(m_counters.PointDeleteCount, control::Label4);
    return false;
}

double EntityFilter::number(std::string_view value, long lineNumber) const {
    auto parsed = roundedNumber(value);
    if (!parsed) {
        throw DxfError(DxfError::Kind::Damaged, m_path, lineNumber,
                       "not a number: \"" + std::string(value) + "\"");
    }
    return *parsed;
}

void EntityFilter::tellLineState(const LineRow& row) {
    if (m_observer == nullptr) {
        return;
    }
    if (row.state == LineState::Lengthened) {
        m_observer->lengthened(m_recordOffset, {row.X1, row.Y1, row.X2, row.Y2});
        return;
    }
    m_observer->decided(m_recordOffset, row.isJoinedPiece ? Verdict::Joined : Verdict::Duplicate);
}

void EntityFilter::count(std::int32_t& counter, ControlName label) {
    ++counter;
    if (m_observer != nullptr) {
        m_observer->decided(m_recordOffset, verdictCounted(m_counters, &counter));
    }
    if (m_window != nullptr) {
        m_window->setCaption(label, std::to_string(counter));
    }
}

void EntityFilter::addCounts(const RunCounters& other) {
    static constexpr std::array<std::pair<std::int32_t RunCounters::*, ControlName>, 9> kLabels{{
        {&RunCounters::TextDeleteCount, control::Label1},
        {&RunCounters::MTextDeleteCount, control::Label18},
        {&RunCounters::DimensionDeleteCount, control::Label22},
        {&RunCounters::XLineDeleteCount, control::Label46},
        {&RunCounters::LineTypeLineCount, control::Label2},
        {&RunCounters::LineTypeCircleArcCount, control::Label3},
        {&RunCounters::PointDeleteCount, control::Label4},
        {&RunCounters::SizeLineCount, control::Label5},
        {&RunCounters::SizeCircleArcCount, control::Label6},
    }};
    for (const auto& [counter, label] : kLabels) {
        if (other.*counter == 0) {
            continue;
        }
        m_counters.*counter += other.*counter;
        if (m_window != nullptr) {
            m_window->setCaption(label, std::to_string(m_counters.*counter));
        }
    }
}

}  // namespace lintrel

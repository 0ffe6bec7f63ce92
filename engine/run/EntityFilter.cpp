#include "EntityFilter.h"

#include <array>
#include <optional>

#include "CounterTable.h"
#include "DxfError.h"
#include "EntityRules.h"
#include "Numbers.h"

namespace lintrel {
namespace {

// The verdict a counter stands for, so that the rules tell the observer through the one call that
// counts.
Verdict verdictCounted(std::int32_t RunCounters::*counter) {
    for (const auto& field : kCounterFields) {
        if (field.member == counter) {
            return field.verdict;
        }
    }
    return Verdict::Kept;
}

}  // namespace

bool EntityFilter::keep(std::string_view type, EntityRecord& record, long lineNumber) {
    // Most records of a drawing are lines.
    if (type == "LINE") {
        return keepLine(record, lineNumber);
    }
    if (type == "MTEXT") {
        return keepText(record, m_options.deleteAllMText, m_options.deleteBlankMText,
                        &RunCounters::MTextDeleteCount);
    }
    if (type == "TEXT") {
        return keepText(record, m_options.deleteAllText, m_options.deleteBlankText,
                        &RunCounters::TextDeleteCount);
    }
    if (type == "DIMENSION") {
        count(&RunCounters::DimensionDeleteCount);
        return false;
    }
    if (type == "XLINE") {
        count(&RunCounters::XLineDeleteCount);
        return false;
    }
    if (type == "ARC") {
        return keepArc(record, lineNumber);
    }
    if (type == "CIRCLE") {
        return keepCircle(record, lineNumber);
    }
    return keepPoint(record);
}

EntityFilter::VerdictWithoutPairs EntityFilter::verdictWithoutPairs(std::string_view type) {
    if (type == "LINE") {
        const int n = m_lineOrdinal + 1;
        const LineState state = m_lines.stateOf(n);
        if (n > m_lines.size() || state == LineState::Lengthened ||
            (state == LineState::Kept && m_lines[n].ruling == LineRuling::Undecided)) {
            return VerdictWithoutPairs::NeedsPairs;
        }
        m_lineOrdinal = n;
        if (state == LineState::Deleted) {
            tellLineState(m_lines[n]);
            return VerdictWithoutPairs::Dropped;
        }
        return countRuling(m_lines[n].ruling) ? VerdictWithoutPairs::Kept
                                              : VerdictWithoutPairs::Dropped;
    }
    if (type == "TEXT") {
        return textVerdict(m_options.deleteAllText, m_options.deleteBlankText,
                           &RunCounters::TextDeleteCount);
    }
    if (type == "MTEXT") {
        return textVerdict(m_options.deleteAllMText, m_options.deleteBlankMText,
                           &RunCounters::MTextDeleteCount);
    }
    // Records of these types are read as records only to be deleted.
    if (type == "DIMENSION") {
        return dropped(&RunCounters::DimensionDeleteCount);
    }
    if (type == "XLINE") {
        return dropped(&RunCounters::XLineDeleteCount);
    }
    if (type == "POINT" && !m_options.lineTypePointsOnly) {
        return dropped(&RunCounters::PointDeleteCount);
    }
    // The other rules read numbers that may be damaged, or a point's linetype.
    return VerdictWithoutPairs::NeedsPairs;
}

EntityFilter::VerdictWithoutPairs EntityFilter::textVerdict(bool deleteAll, bool deleteBlank,
                                                            Counter counter) {
    if (deleteAll) {
        return dropped(counter);
    }
    return deleteBlank ? VerdictWithoutPairs::NeedsPairs : VerdictWithoutPairs::Kept;
}

EntityFilter::VerdictWithoutPairs EntityFilter::dropped(Counter counter) {
    count(counter);
    return VerdictWithoutPairs::Dropped;
}

bool EntityFilter::keepText(const EntityRecord& record, bool deleteAll, bool deleteBlank,
                            Counter counter) {
    if (deleteAll || (deleteBlank && isBlankText(lastValue(record, 1)))) {
        count(counter);
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
    std::string_view lineType;     // the last group 6, found on the same way through the pairs
    // After a line pass these values were read as numbers already; only the size rule needs them.
    bool readsEnds = m_options.bySize || !m_options.analysesLines();
    for (int i = 0; i < record.size(); ++i) {
        const int code = record.groupCode(i);
        if (code == 6) {
            lineType = record.value(i);
            continue;
        }
        int k = lineEndOf(code);
        if (k < 0) {
            continue;
        }
        std::optional<double> readBack;
        if (state == LineState::Lengthened) {
            const LineRow& row = m_lines[m_lineOrdinal];
            const std::array<double, 4> joined = {row.X1, row.Y1, row.X2, row.Y2};
            const WrittenCoordinate written = writeCoordinate(joined[static_cast<std::size_t>(k)]);
            record.setValue(i, written.text);
            readBack = written.readBack;
        }
        if (readsEnds) {
            ends[static_cast<std::size_t>(k)] =
                readBack ? *readBack : number(record.value(i), lineNumber);
        }
    }
    return countRuling(ruleLine(lineType, ends, m_options));
}

bool EntityFilter::countRuling(LineRuling ruling) {
    switch (ruling) {
        case LineRuling::ByLineType:
            count(&RunCounters::LineTypeLineCount);
            return false;
        case LineRuling::BySize:
            count(&RunCounters::SizeLineCount);
            return false;
        case LineRuling::Kept:
        case LineRuling::Undecided:
            break;
    }
    return true;
}

bool EntityFilter::keepArc(const EntityRecord& record, long lineNumber) {
    double radius = 0;
    double startAngle = 0;
    double endAngle = 0;
    for (int i = 0; i < record.size(); ++i) {
        const int code = record.groupCode(i);
        if (code == 40 && m_options.bySize) {
            radius = number(record.value(i), lineNumber);
        } else if (code == 50 && m_options.bySize) {
            startAngle = number(record.value(i), lineNumber);
        } else if (code == 51) {
            endAngle = number(record.value(i), lineNumber);
        }
    }
    if (m_options.lineTypeArcs && !isKeptLineType(lineTypeOf(record))) {
        count(&RunCounters::LineTypeCircleArcCount);
        return false;
    }
    if (m_options.bySize) {
        double sweep = endAngle - startAngle;
        if (sweep < 0) {
            sweep += 360;
        }
        if (2 * radius * 3.14 * sweep / 360 <= m_options.arcLength) {
            count(&RunCounters::SizeCircleArcCount);
            return false;
        }
    }
    return true;
}

bool EntityFilter::keepCircle(const EntityRecord& record, long lineNumber) {
    double radius = 0;
    for (int i = 0; i < record.size(); ++i) {
        if (record.groupCode(i) == 40) {
            radius = number(record.value(i), lineNumber);
        }
    }
    if (m_options.lineTypeCircles && !isKeptLineType(lineTypeOf(record))) {
        count(&RunCounters::LineTypeCircleArcCount);
        return false;
    }
    if (m_options.bySize && 2 * radius <= m_options.circleDiameter) {
        count(&RunCounters::SizeCircleArcCount);
        return false;
    }
    return true;
}

bool EntityFilter::keepPoint(const EntityRecord& record) {
    if (m_options.lineTypePointsOnly && isKeptLineType(lineTypeOf(record))) {
        return true;
    }
    count(&RunCounters::PointDeleteCount);
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

void EntityFilter::count(Counter counter) {
    ++(m_counters.*counter);
    if (m_observer != nullptr) {
        m_observer->decided(m_recordOffset, verdictCounted(counter));
    }
    if (m_display != nullptr) {
        m_display->show(counter, m_counters);
    }
}

void EntityFilter::addCounts(const RunCounters& other) {
    for (const auto& field : kCounterFields) {
        if (other.*field.member == 0) {
            continue;
        }
        m_counters.*field.member += other.*field.member;
        if (m_display != nullptr) {
            m_display->show(field.member, m_counters);
        }
    }
}

}  // namespace lintrel

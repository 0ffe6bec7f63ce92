#include "EntityRules.h"

#include <cmath>

namespace lintrel {

std::string_view lastValue(const EntityRecord& record, int groupCode) {
    std::string_view found;
    for (int i = 0; i < record.size(); ++i) {
        if (record.groupCode(i) == groupCode) {
            found = record.value(i);
        }
    }
    return found;
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
    return lastValue(record, 6);
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

}  // namespace lintrel

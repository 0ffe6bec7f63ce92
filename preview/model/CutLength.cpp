#include "CutLength.h"

#include <array>
#include <cmath>

#include "Numbers.h"

namespace lintrel::preview {

CutLength& CutLength::operator+=(const CutLength& other) {
    before += other.before;
    after += other.after;
    for (const auto& [verdict, length] : other.byRule) {
        byRule[verdict] += length;
    }
    return *this;
}

std::string unitName(int insUnits) {
    static constexpr std::array<std::string_view, 15> kUnits = {
        "", "in", "ft", "mi", "mm", "cm", "m", "km", "µin", "mil", "yd", "Å", "nm", "µm", "dm"};
    return insUnits > 0 && insUnits < static_cast<int>(kUnits.size())
               ? std::string(kUnits[static_cast<std::size_t>(insUnits)])
               : std::string();
}

std::array<std::string, 3> cutLengthFigures(const CutLength& cut, int insUnits) {
    const std::string unit = unitName(insUnits).empty() ? "" : " " + unitName(insUnits);
    const double percent = cut.before == 0 ? 0 : 100 * cut.saved() / cut.before;
    return {std::string(kCutBefore) + formatFixed(cut.before, 3) + unit,
            std::string(kCutAfter) + formatFixed(cut.after, 3) + unit,
            std::string(kCutSaved) + formatFixed(cut.saved(), 3) + unit + " (" +
                formatFixed(percent, 2) + "%)"};
}

std::string cutLengthText(const CutLength& cut, int insUnits) {
    const auto figures = cutLengthFigures(cut, insUnits);
    return figures[0] + "  " + figures[1] + "  " + figures[2];
}

double lengthAfterJoin(const DrawingModel& model, const Entity& entity) {
    if (!entity.isLengthened() || entity.cutLength == 0) {
        return entity.cutLength;
    }
    const auto& ends = model.endsOf(entity);
    return std::hypot(ends[2] - ends[0], ends[3] - ends[1]);
}

CutLength cutLengthOf(const DrawingModel& model) {
    CutLength cut;
    for (const Entity& entity : model.entities) {
        if (entity.cutLength == 0) {
            continue;
        }
        cut.before += entity.cutLength;
        const double stretched = lengthAfterJoin(model, entity);
        if (entity.isLengthened()) {
            cut.byRule[Verdict::Joined] += entity.cutLength - stretched;
        }
        if (entity.verdict == Verdict::Kept || entity.verdict == Verdict::Lengthened) {
            cut.after += stretched;
        } else {
            cut.byRule[entity.verdict] += stretched;
        }
    }
    return cut;
}

}  // namespace lintrel::preview

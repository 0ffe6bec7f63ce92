#include "CutLength.h"

#include <cmath>

namespace lintrel::preview {

CutLength& CutLength::operator+=(const CutLength& other) {
    before += other.before;
    after += other.after;
    for (const auto& [verdict, length] : other.byRule) {
        byRule[verdict] += length;
    }
    return *this;
}

double lengthAfterJoin(const Entity& entity) {
    if (!entity.isLengthened || entity.cutLength == 0) {
        return entity.cutLength;
    }
    const auto& ends = entity.lengthenedEnds;
    return std::hypot(ends[2] - ends[0], ends[3] - ends[1]);
}

CutLength cutLengthOf(const DrawingModel& model) {
    CutLength cut;
    for (const Entity& entity : model.entities) {
        if (entity.cutLength == 0) {
            continue;
        }
        cut.before += entity.cutLength;
        const double stretched = lengthAfterJoin(entity);
        if (entity.isLengthened) {
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

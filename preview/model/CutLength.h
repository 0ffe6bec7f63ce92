#pragma once

#include <map>

#include "DrawingModel.h"

namespace lintrel::preview {

// What a cutter travels with the beam on, before the run's decisions and after them, and the
// difference split by what removed it.
struct CutLength {
    double before = 0;
    double after = 0;
    // By the verdict that removed it: Duplicate, Joined (the overlaps of joined pieces) and each
    // deletion rule; only verdicts that removed some length are present.
    std::map<Verdict, double> byRule;

    double saved() const { return before - after; }
    CutLength& operator+=(const CutLength& other);
};

CutLength cutLengthOf(const DrawingModel& model);

// The length an entity is cut at after the run stretched it, or as it stands.
double lengthAfterJoin(const Entity& entity);

}  // namespace lintrel::preview

#pragma once

#include <array>
#include <map>
#include <string>
#include <string_view>

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

// The drawing unit $INSUNITS names ("mm", "in", ...), empty when unset or unknown.
std::string unitName(int insUnits);

// The three figures: "切断長 前 120.000 mm", "後 100.000 mm", "削減 20.000 mm (16.67%)".
std::array<std::string, 3> cutLengthFigures(const CutLength& cut, int insUnits);

// The three figures on one line, two blanks apart.
std::string cutLengthText(const CutLength& cut, int insUnits);

inline constexpr std::string_view kCutBefore = "切断長 前 ";
inline constexpr std::string_view kCutAfter = "後 ";
inline constexpr std::string_view kCutSaved = "削減 ";

// The length an entity is cut at after the run stretched it, or as it stands.
double lengthAfterJoin(const DrawingModel& model, const Entity& entity);

}  // namespace lintrel::preview

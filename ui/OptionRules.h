#pragma once

#include <array>
#include <string_view>

#include "Controls.h"

namespace lintrel {

// A caption label and the check box beside it that a click on the caption toggles.
struct LabelToggle {
    std::string_view label;
    std::string_view box;
};

inline constexpr std::array<LabelToggle, 13> kLabelToggles = {{
    {"Label34", control::Check10},
    {"Label35", control::TextDelete},
    {"Label36", control::MTextDelete},
    {"Label37", control::Check6},
    {"Label38", control::Check1},
    {"Label39", control::Check2},
    {"Label40", control::Check3},
    {"Label41", control::Check4},
    {"Label42", control::Check5},
    {"Label43", control::Check7},
    {"Label44", control::Check8},
    {"Label48", control::Check9},
    {"Label56", control::Check11},
}};

// A text-deletion box and its alternative: ticking either clears the other, clearing either
// leaves the other as it is.
struct ExclusivePair {
    std::string_view box;
    std::string_view partner;
};

inline constexpr std::array<ExclusivePair, 4> kExclusivePairs = {{
    {control::Check12, control::MTextDelete},
    {control::MTextDelete, control::Check12},
    {control::Check13, control::TextDelete},
    {control::TextDelete, control::Check13},
}};

}  // namespace lintrel

#pragma once

#include <array>
#include <string_view>

#include "EntitySection.h"
#include "LineTable.h"
#include "RunOptions.h"

namespace lintrel {

// Which end-point coordinate a LINE's group code gives: x1, y1, x2, y2 as 0..3, else -1.
// Inline: a LINE's every pair asks.
inline int lineEndOf(int groupCode) {
    switch (groupCode) {
        case 10:
            return 0;
        case 20:
            return 1;
        case 11:
            return 2;
        case 21:
            return 3;
        default:
            return -1;
    }
}

// What the linetype and size rules make of a LINE with this linetype and these ends (x1, y1, x2,
// y2); the ends count only under the size rule.
LineRuling ruleLine(std::string_view lineType, const std::array<double, 4>& ends,
                    const RunOptions& options);

// The value of the last pair with this group code, or empty when there is none.
std::string_view lastValue(const EntityRecord& record, int groupCode);

// The linetype a record names: the value of its last group 6, empty when it has none.
std::string_view lineTypeOf(const EntityRecord& record);

// The linetypes the linetype rules keep: none given (the layer's), "ByBlock" and "Continuous".
bool isKeptLineType(std::string_view lineType);

// A text is blank when nothing is left after its leading blanks, full-width ones included.
bool isBlankText(std::string_view text);

}  // namespace lintrel

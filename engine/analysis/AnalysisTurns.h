#pragma once

#include "LineAnalysis.h"

namespace lintrel {

// The turns of the line analysis, the same for every way of carrying them out: each row not
// deleted by the time its turn comes, in file order, tells the observer and is then examined.
// Vertical and horizontal rows go to `straight` when joining or duplicate removal is on, slanted
// rows to `slanted` when duplicate removal is on.
template <class Straight, class Slanted>
void takeTurns(LineTable& table, const LineRules& rules, const RunCounters& counters,
               RowObserver& observer, Straight straight, Slanted slanted) {
    for (int i = 1; i <= table.size(); ++i) {
        if (table[i].isDeleted()) {
            continue;
        }
        observer.beforeRow(i, counters);
        if (!table[i].isSlanted()) {
            if (rules.joinLines || rules.removeDuplicates) {
                straight(i);
            }
        } else if (rules.removeDuplicates) {
            slanted(i);
        }
    }
}

}  // namespace lintrel

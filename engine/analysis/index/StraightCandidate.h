#pragma once

#include "PairRules.h"

namespace lintrel {

// A row that acts on row i, with its span as the straight index holds it (the same as the
// table's) and its place there.
struct StraightCandidate {
    int row;
    Span span;
    int entry;
    bool isShared;  // zero-length when the index was built: the other axis's index holds it too
};

}  // namespace lintrel

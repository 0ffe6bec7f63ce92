#pragma once

namespace lintrel {

// The number of leading steps k = 0, 1, ... (below count) for which holds(k) is true, given that
// it is true up to some step and false from there on. Probes 0, 1, 3, 7, ... and then bisects, so
// the cost grows with the logarithm of the answer, not of count: runs near a start are cheap.
template <class Holds>
int leadingRun(int count, Holds holds) {
    int lo = 0;      // holds(k) is true for every k < lo
    int hi = count;  // holds(hi) is false, or hi == count
    for (long step = 1; lo < hi; step *= 2) {
        const long probe = lo + step - 1;
        if (probe >= hi) {
            break;
        }
        if (!holds(static_cast<int>(probe))) {
            hi = static_cast<int>(probe);
            break;
        }
        lo = static_cast<int>(probe) + 1;
    }
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (holds(mid)) {
            lo = mid + 1;
        } else {
            hi = mid;
        }
    }
    return lo;
}

}  // namespace lintrel

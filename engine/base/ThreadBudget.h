#pragma once

namespace lintrel {

// The number of processor cores of this machine, at least 1.
int machineCores();

// How many threads a run may keep at work at once (1: everything on the calling thread), and
// whether work too small to gain from more threads is shared out all the same, so that tests on
// small drawings take the same paths as a long drawing.
struct ThreadBudget {
    int threads = machineCores();
    bool sharesAnySize = false;

    bool allows(int threadCount) const { return threads >= threadCount; }
};

}  // namespace lintrel

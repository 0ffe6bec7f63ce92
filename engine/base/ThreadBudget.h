#pragma once

namespace lintrel {

// The most threads a run keeps at work at once: the read in four parts.
inline constexpr int kMostThreadsARunUses = 4;

// The number of processor cores of this machine, at least 1.
int machineCores();

// The machine's processor cores, but never fewer than kMostThreadsARunUses: the read and the
// analysis run more threads than a two-core machine has cores on purpose, so that a part or a
// share done early leaves its core to the others.
int defaultThreads();

// How many threads a run may keep at work at once (1: everything on the calling thread), and
// whether work too small to gain from more threads is shared out all the same, so that tests on
// small drawings take the same paths as a long drawing.
struct ThreadBudget {
    int threads = defaultThreads();
    bool sharesAnySize = false;

    bool allows(int threadCount) const { return threads >= threadCount; }
};

}  // namespace lintrel

#pragma once

namespace lintrel {

// Ctrl-C, a closed terminal and a request to end (logout, shutdown, kill) are caught while one of
// these is alive, so that the work in hand can end in order: a run is interrupted, the painting
// of pictures stops after the one in hand. Parallel runs hold one each; the last to go lets the
// signals end the program again.
class InterruptSignals {
public:
    InterruptSignals();
    ~InterruptSignals();
    InterruptSignals(const InterruptSignals&) = delete;
    InterruptSignals& operator=(const InterruptSignals&) = delete;

    // The signal caught, 0 while none was.
    static int caught();
    static void clear();
};

}  // namespace lintrel

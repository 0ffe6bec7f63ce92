#pragma once

#include "RunInterrupted.h"
#include "WindowOps.h"

namespace lintrel {

// Lets the window process its events; throws RunInterrupted when the user interrupted meanwhile.
inline void letWindowBreathe(WindowOps& window) {
    window.yield();
    if (window.interruptRequested()) {
        throw RunInterrupted{};
    }
}

}  // namespace lintrel

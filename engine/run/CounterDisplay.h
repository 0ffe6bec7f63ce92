#pragma once

#include <string>

#include "CounterTable.h"
#include "RunCounters.h"
#include "WindowOps.h"

namespace lintrel {

// The run's counters as the window shows them: the totals of the files before this one, plus
// what this file has added so far.
class CounterDisplay {
public:
    CounterDisplay(WindowOps& window, const RunCounters& before)
        : m_window(window), m_before(before) {}

    // Shows one counter of `added` on top of the files before.
    void show(std::int32_t RunCounters::*member, const RunCounters& added) {
        m_window.setCaption(labelOf(member), std::to_string(m_before.*member + added.*member));
    }

private:
    WindowOps& m_window;
    RunCounters m_before;
};

}  // namespace lintrel

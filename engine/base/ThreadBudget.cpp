#include "ThreadBudget.h"

#include <algorithm>
#include <thread>

namespace lintrel {

int machineCores() {
    const unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : static_cast<int>(cores);
}

int defaultThreads() {
    return std::max(machineCores(), kMostThreadsARunUses);
}

}  // namespace lintrel

#include "InterruptSignals.h"

#include <array>
#include <atomic>
#include <csignal>

namespace lintrel {
namespace {

std::atomic<int> g_signal{0};
std::atomic<int> g_holders{0};

constexpr std::array<int, 3> kInterruptSignals = {SIGINT, SIGHUP, SIGTERM};

extern "C" void onInterruptSignal(int signal) {
    g_signal = signal;
}

}  // namespace

InterruptSignals::InterruptSignals() {
    if (g_holders++ == 0) {
        for (int signal : kInterruptSignals) {
            std::signal(signal, onInterruptSignal);
        }
    }
}

InterruptSignals::~InterruptSignals() {
    if (--g_holders == 0) {
        for (int signal : kInterruptSignals) {
            std::signal(signal, SIG_DFL);
        }
    }
}

int InterruptSignals::caught() {
    return g_signal.load(std::memory_order_relaxed);
}

void InterruptSignals::clear() {
    g_signal = 0;
}

}  // namespace lintrel

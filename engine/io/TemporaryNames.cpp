#include "TemporaryNames.h"

#include <unistd.h>

#include <array>
#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
#include <mutex>

namespace lintrel {
namespace {

// A few names suffice: a run writes one copy, in at most two parts, at a time.
constexpr std::size_t kSlots = 8;

struct Slot {
    std::atomic<bool> isUsed{false};
    std::array<char, PATH_MAX> path{};
};

std::array<Slot, kSlots> g_slots;
std::mutex g_claiming;

// Every signal whose default ends the process; ones the program handles itself keep their handler
// (they unwind to the file's own removal).
constexpr std::array<int, 16> kEndingSignals = {
    SIGHUP,  SIGINT,  SIGQUIT, SIGILL,  SIGABRT, SIGFPE,    SIGSEGV, SIGPIPE,
    SIGALRM, SIGTERM, SIGUSR1, SIGUSR2, SIGBUS,  SIGVTALRM, SIGPROF, SIGXCPU};

extern "C" void removeAndEnd(int signal) {
    TemporaryNames::removeAll();
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

void installOnce() {
    static std::once_flag installed;
    std::call_once(installed, [] {
        for (int signal : kEndingSignals) {
            struct sigaction current {};
            if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) {
                struct sigaction removing {};
                removing.sa_handler = removeAndEnd;
                sigemptyset(&removing.sa_mask);
                removing.sa_flags = SA_RESETHAND;
                ::sigaction(signal, &removing, nullptr);
            }
        }
    });
}

}  // namespace

bool TemporaryNames::remember(const std::string& path) {
    if (path.size() >= PATH_MAX) {
        return false;
    }
    installOnce();
    std::lock_guard lock(g_claiming);
    for (auto& slot : g_slots) {
        if (!slot.isUsed.load()) {
            std::memcpy(slot.path.data(), path.c_str(), path.size() + 1);
            slot.isUsed.store(true);
            return true;
        }
    }
    return false;
}

void TemporaryNames::removeAll() {
    for (auto& slot : g_slots) {
        if (slot.isUsed.load()) {
            ::unlink(slot.path.data());
        }
    }
}

void TemporaryNames::forget(const std::string& path) {
    std::lock_guard lock(g_claiming);
    for (auto& slot : g_slots) {
        if (slot.isUsed.load() && path == slot.path.data()) {
            slot.isUsed.store(false);
            return;
        }
    }
}

}  // namespace lintrel

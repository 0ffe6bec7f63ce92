#include "MappingGuard.h"

#include <sys/mman.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <mutex>

#include "TemporaryNames.h"

namespace lintrel::preview {
namespace {

// A preview reads one drawing at a time, and the next one ahead.
constexpr std::size_t kSlots = 16;

// Read by the handler, which may interrupt any thread at any point: every field is atomic, and
// `start` is set last and cleared first.
struct Slot {
    std::atomic<bool> isUsed{false};
    std::atomic<const char*> start{nullptr};
    std::atomic<std::size_t> size{0};
    std::atomic<std::atomic<bool>*> hasZeros{nullptr};
};

std::array<Slot, kSlots> g_slots;
struct sigaction g_previous {};
std::size_t g_pageSize = 4096;

// Maps zeros from the page of `at` to the end of its guarded mapping; false when `at` lies in none.
bool zeroRestOf(const char* at) {
    for (Slot& slot : g_slots) {
        const char* start = slot.start.load(std::memory_order_acquire);
        const std::size_t size = slot.size.load(std::memory_order_relaxed);
        if (start == nullptr || at < start || at >= start + size) {
            continue;
        }
        const auto offset = static_cast<std::size_t>(at - start);
        const std::size_t from = offset / g_pageSize * g_pageSize;
        const std::size_t end = (size + g_pageSize - 1) / g_pageSize * g_pageSize;
        // glibc's mmap is a bare system call that takes no lock: it may run in a handler.
        void* zeros = ::mmap(const_cast<char*>(start) + from, end - from, PROT_READ,
                             MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
        if (zeros == MAP_FAILED) {
            return false;
        }
        slot.hasZeros.load(std::memory_order_relaxed)->store(true);
        return true;
    }
    return false;
}

extern "C" void onBusError(int signal, siginfo_t* info, void* context) {
    // Only a fault has an address; a bus error sent by a program (si_code 0 or less) has none.
    if (info->si_code > 0 && zeroRestOf(static_cast<const char*>(info->si_addr))) {
        return;  // the read is made again, and finds zeros
    }
    // Not ours: what would have happened without this handler. It ends the program (no handler
    // of this program, or of the sanitizers, goes on after a bus error), so the named copies a
    // run is writing are removed first, as they would be had this handler not come first.
    TemporaryNames::removeAll();
    if ((g_previous.sa_flags & SA_SIGINFO) != 0) {
        g_previous.sa_sigaction(signal, info, context);
    } else if (g_previous.sa_handler != SIG_DFL && g_previous.sa_handler != SIG_IGN) {
        g_previous.sa_handler(signal);
    } else {
        ::sigaction(SIGBUS, &g_previous, nullptr);  // the fault comes again, and ends the program
    }
}

void installOnce() {
    static std::once_flag installed;
    std::call_once(installed, [] {
        g_pageSize = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
        struct sigaction guarding {};
        guarding.sa_sigaction = onBusError;
        sigemptyset(&guarding.sa_mask);
        guarding.sa_flags = SA_SIGINFO;
        ::sigaction(SIGBUS, &guarding, &g_previous);
    });
}

}  // namespace

bool guardMapping(const char* start, std::size_t size, std::atomic<bool>& hasZeros) {
    installOnce();
    for (Slot& slot : g_slots) {
        bool isFree = false;
        if (slot.isUsed.compare_exchange_strong(isFree, true)) {
            slot.size.store(size, std::memory_order_relaxed);
            slot.hasZeros.store(&hasZeros, std::memory_order_relaxed);
            slot.start.store(start, std::memory_order_release);
            return true;
        }
    }
    return false;
}

void unguardMapping(const char* start) {
    if (start == nullptr) {
        return;
    }
    for (Slot& slot : g_slots) {
        if (slot.start.load(std::memory_order_relaxed) == start) {
            slot.start.store(nullptr, std::memory_order_release);
            slot.isUsed.store(false);
            return;
        }
    }
}

}  // namespace lintrel::preview

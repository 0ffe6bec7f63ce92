#include "HugePages.h"

#include <sys/mman.h>

#include <atomic>
#include <cstdint>
#include <ctime>
#include <new>

namespace lintrel {
namespace {

constexpr std::size_t kHugePage = kHugePageBytes;
// From about half a huge page on, one fault and a whole page cleared cost less than a fault per
// 4 KiB.
constexpr std::size_t kSmallestMapped = std::size_t{1} << 20;

std::size_t roundedUp(std::size_t bytes) {
    return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}

// A huge page that takes longer than this to fault in costs more than its 512 small pages would:
// the kernel had to make the 2 MiB whole first (compacting memory, or waiting for the host of a
// virtual machine to hand back memory it had been told was free). Measured on this thread's CPU
// clock, so that waiting for a core does not count.
constexpr long kSlowHugePageNs = 1'500'000;

// Huge pages are asked for only while they come quickly; once one is slow, the rest of this
// process's large arrays take small pages, which come from the many smaller pieces of free memory.
std::atomic<bool> g_hugePagesQuick{true};

long threadCpuNs() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1'000'000'000L + now.tv_nsec;
}

// Leaves [start + from, start + size) to small pages.
void leaveToSmallPages(char* start, std::size_t from, std::size_t size) {
    if (from < size) {
        ::madvise(start + from, size - from, MADV_NOHUGEPAGE);
    }
}

}  // namespace

void* allocateLarge(std::size_t bytes) {
    if (bytes < kSmallestMapped) {
        return ::operator new(bytes);
    }
    const std::size_t size = roundedUp(bytes);
    // Mapped with room to spare, then cut down to a stretch that starts on a huge page.
    void* mapped = ::mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE,
                          MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) {
        throw std::bad_alloc();
    }
    auto* start = static_cast<char*>(mapped);
    const auto misalignment = reinterpret_cast<std::uintptr_t>(start) % kHugePage;
    const std::size_t head = misalignment == 0 ? 0 : kHugePage - misalignment;
    if (head > 0) {
        ::munmap(start, head);
    }
    ::munmap(start + head + size, kHugePage - head);
    // Hints: with or without huge pages all works.
    if (g_hugePagesQuick.load(std::memory_order_relaxed) &&
        ::madvise(start + head, size, MADV_HUGEPAGE) == 0) {
        faultInLarge(start + head, 0, bytes);  // the first elements are written first
    } else {
        leaveToSmallPages(start + head, 0, size);  // also where the kernel gives huge ones unasked
    }
    return start + head;
}

void faultInLarge(void* memory, std::size_t offset, std::size_t bytes) {
    if (bytes < kSmallestMapped) {
        return;
    }
    auto* start = static_cast<char*>(memory);
    const std::size_t page = offset / kHugePage * kHugePage;
    const std::size_t size = roundedUp(bytes);
    if (!g_hugePagesQuick.load(std::memory_order_relaxed)) {
        leaveToSmallPages(start, page, size);
        return;
    }
    const long before = threadCpuNs();
    *static_cast<volatile char*>(start + page) = 0;
    if (threadCpuNs() - before > kSlowHugePageNs) {
        g_hugePagesQuick.store(false, std::memory_order_relaxed);
        leaveToSmallPages(start, page + kHugePage, size);
    }
}

void releaseLarge(void* memory, std::size_t from, std::size_t bytes) {
    if (memory == nullptr || bytes < kSmallestMapped) {
        return;
    }
    constexpr std::size_t kPage = 4096;
    const std::size_t first = (from + kPage - 1) / kPage * kPage;
    const std::size_t end = roundedUp(bytes);
    if (first < end) {
        ::madvise(static_cast<char*>(memory) + first, end - first, MADV_DONTNEED);
    }
}

void freeLarge(void* memory, std::size_t bytes) {
    if (memory == nullptr) {
        return;
    }
    if (bytes < kSmallestMapped) {
        ::operator delete(memory);
        return;
    }
    ::munmap(memory, roundedUp(bytes));
}

}  // namespace lintrel

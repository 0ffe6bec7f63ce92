#include "HugePages.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

namespace lintrel {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
// From about half a huge page on, one fault and a whole page cleared cost less than a fault per
// 4 KiB.
constexpr std::size_t kSmallestMapped = std::size_t{1} << 20;

std::size_t roundedUp(std::size_t bytes) {
    return (bytes + kHugePage - 1) / kHugePage * kHugePage;
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
#ifdef MADV_HUGEPAGE
    ::madvise(start + head, size, MADV_HUGEPAGE);  // a hint: without huge pages all still works
#endif
    return start + head;
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

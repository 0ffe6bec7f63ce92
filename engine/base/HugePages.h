#pragma once

#include <cstddef>
#include <memory>
#include <type_traits>
#include <vector>

namespace lintrel {

inline constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;

// Large arrays of one file's analysis (the line table, the indexes) are filled once, all through:
// mapped on their own with transparent huge pages asked for, filling one costs a page fault per
// 2 MiB instead of one per 4 KiB. Smaller ones come from the usual heap.
// Huge pages are asked for only while they come quickly. Where the kernel must first make 2 MiB
// whole (compacting memory, or, in a virtual machine, waiting for the host to hand back memory it
// was told is free), one costs far more than its 512 small pages; from the first such page on, the
// process's large arrays take small pages, which the many smaller pieces of free memory give.
void* allocateLarge(std::size_t bytes);
void freeLarge(void* memory, std::size_t bytes);
// Faults in the huge page holding [memory + offset] of such an array and times it; from a slow one
// on, the rest of the array takes small pages. Writes a zero at the page's first byte, so it is
// called only just before that byte is written anyway.
void faultInLarge(void* memory, std::size_t offset, std::size_t bytes);
// Gives back the memory of [memory + from, memory + bytes) of such an array, whose contents no
// longer count: they read as zeros, and cost memory again only once written.
void releaseLarge(void* memory, std::size_t from, std::size_t bytes);

// A std::allocator for the vectors of such arrays.
template <class T>
struct HugePageAllocator {
    using value_type = T;

    HugePageAllocator() = default;
    template <class U>
    explicit HugePageAllocator(const HugePageAllocator<U>& /*other*/) {}

    T* allocate(std::size_t n) { return static_cast<T*>(allocateLarge(n * sizeof(T))); }
    void deallocate(T* memory, std::size_t n) { freeLarge(memory, n * sizeof(T)); }
    bool operator==(const HugePageAllocator&) const = default;
};

// A vector in such memory.
template <class T>
using HugeVector = std::vector<T, HugePageAllocator<T>>;

// An array of n elements left uninitialised, in such memory.
template <class T>
class HugeArray {
    static_assert(std::is_trivially_default_constructible_v<T> &&
                      std::is_trivially_destructible_v<T>,
                  "elements are neither constructed nor destroyed");

public:
    HugeArray() = default;
    explicit HugeArray(std::size_t n)
        : m_data(static_cast<T*>(allocateLarge(n * sizeof(T))), Free{n * sizeof(T)}) {}

    T& operator[](std::size_t i) { return m_data[i]; }
    const T& operator[](std::size_t i) const { return m_data[i]; }
    // The huge page holding byte `offset` is about to be written first (faultInLarge).
    void faultIn(std::size_t offset) {
        faultInLarge(m_data.get(), offset, m_data.get_deleter().bytes);
    }
    // Elements [from, the end) no longer count; their memory is given back.
    void release(std::size_t from) {
        releaseLarge(m_data.get(), from * sizeof(T), m_data.get_deleter().bytes);
    }

private:
    struct Free {
        std::size_t bytes = 0;
        void operator()(T* memory) const { freeLarge(memory, bytes); }
    };
    std::unique_ptr<T[], Free> m_data;
};

}  // namespace lintrel

// Memory for the search index's big arrays (tens of MB for a big file).
// Where the system offers it, such memory comes in huge pages: touching a
// fresh small page costs more than the folding work done on it, and on
// some systems many times more.
#pragma once

#include <cstddef>
#include <new>

namespace kovra::search {

void* AllocateLarge(std::size_t bytes);
void FreeLarge(void* p, std::size_t bytes) noexcept;

// For std::vector and std::basic_string holding the index.
template <class T>
struct LargeAllocator {
    using value_type = T;
    LargeAllocator() = default;
    template <class U>
    LargeAllocator(const LargeAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) { return static_cast<T*>(AllocateLarge(n * sizeof(T))); }
    void deallocate(T* p, std::size_t n) noexcept { FreeLarge(p, n * sizeof(T)); }
    template <class U>
    bool operator==(const LargeAllocator<U>&) const noexcept { return true; }
};

} // namespace kovra::search

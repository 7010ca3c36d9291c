// The one place of the search that calls the system directly.
#include "LargeMemory.h"

#include <cstdlib>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace kovra::search {

namespace {
#ifdef __linux__
constexpr std::size_t kHugePage = std::size_t(2) << 20;
constexpr std::size_t kWorthIt = kHugePage / 2; // smaller blocks stay with the ordinary heap
#endif
} // namespace

void* AllocateLarge(std::size_t bytes)
{
#ifdef __linux__
    if (bytes >= kWorthIt) {
        const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        if (void* p = std::aligned_alloc(kHugePage, rounded)) {
            madvise(p, rounded, MADV_HUGEPAGE); // a hint: without it the memory still works
            return p;
        }
        throw std::bad_alloc();
    }
#endif
    return ::operator new(bytes);
}

void FreeLarge(void* p, std::size_t bytes) noexcept
{
#ifdef __linux__
    if (bytes >= kWorthIt) {
        std::free(p);
        return;
    }
#else
    (void)bytes;
#endif
    ::operator delete(p);
}

} // namespace kovra::search

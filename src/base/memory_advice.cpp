#include "base/memory_advice.h"

#include <sys/mman.h>

#include <cstdint>

namespace murmelix {

void MemoryAdvice::preferHugePages(void* start, size_t size) {
    constexpr uintptr_t kHugePage = uintptr_t{2} << 20;
    if (start == nullptr || size < kHugePage) {
        return;
    }
    const auto begin = reinterpret_cast<uintptr_t>(start);
    const uintptr_t first = (begin + kHugePage - 1) & ~(kHugePage - 1);
    const uintptr_t last = (begin + size) & ~(kHugePage - 1);
    if (last > first) {
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    }
}

}  // namespace murmelix

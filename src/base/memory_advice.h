#pragma once

#include <cstddef>

namespace murmelix {

// Hints to the kernel for large buffers that are about to be filled front to back.
class MemoryAdvice {
  public:
    // Asks for transparent huge pages over the whole pages inside [start, start + size):
    // filling a document of hundreds of megabytes otherwise costs a page fault every 4 KB,
    // which takes longer than the conversion itself. Harmless where the kernel says no.
    static void preferHugePages(void* start, size_t size);
};

}  // namespace murmelix

#include "system/LargeBuffers.h"

#include <cstdint>
#include <sys/mman.h>

void AdviseLargeBuffer(void *data, std::size_t bytes) {
    constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (start + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t last = (start + bytes) & ~(kHugePage - 1);
    if (last <= first) return;
    // Only advice: where huge pages are off or scarce, the buffer is filled page by page as before.
    ::madvise(reinterpret_cast<void *>(first), last - first, MADV_HUGEPAGE);
}

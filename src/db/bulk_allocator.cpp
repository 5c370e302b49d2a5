#include "db/bulk_allocator.h"

#include <new>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace db {

void* allocateBulk(std::size_t bytes) {
    void* p = nullptr;
    if (bytes >= kHugePageBytes / 2) {
        const std::size_t rounded = (bytes + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
        p = std::aligned_alloc(kHugePageBytes, rounded);
#ifdef MADV_HUGEPAGE
        if (p) madvise(p, rounded, MADV_HUGEPAGE); // a hint; without it the pages are just smaller
#endif
    } else {
        p = std::malloc(bytes ? bytes : 1);
    }
    if (!p) throw std::bad_alloc();
    return p;
}

} // namespace db

#include "platform/large_block.h"

#include <cstdlib>
#include <new>

#ifdef _WIN32
#include <malloc.h>
#elif defined(__linux__)
#include <sys/mman.h>
#endif

namespace platform {
namespace {

std::size_t roundedToHugePages(std::size_t bytes)
{
    return (bytes + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
}

} // namespace

#ifdef _WIN32

// The C run-time of Windows has no aligned_alloc; its own pair allocates and releases both sizes.
void* allocateBlock(std::size_t bytes)
{
    void* p = bytes >= kHugePageBytes / 2 ? _aligned_malloc(roundedToHugePages(bytes), kHugePageBytes)
                                          : _aligned_malloc(bytes ? bytes : 1, alignof(std::max_align_t));
    if (!p)
        throw std::bad_alloc();
    return p;
}

void releaseBlock(void* block) noexcept
{
    _aligned_free(block);
}

#else

void* allocateBlock(std::size_t bytes)
{
    void* p = nullptr;
    if (bytes >= kHugePageBytes / 2) {
        const std::size_t rounded = roundedToHugePages(bytes);
        p = std::aligned_alloc(kHugePageBytes, rounded);
#ifdef MADV_HUGEPAGE
        if (p)
            madvise(p, rounded, MADV_HUGEPAGE); // a hint; without it the pages are just smaller
#endif
    } else {
        p = std::malloc(bytes ? bytes : 1);
    }
    if (!p)
        throw std::bad_alloc();
    return p;
}

void releaseBlock(void* block) noexcept
{
    std::free(block);
}

#endif

} // namespace platform

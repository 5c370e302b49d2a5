#pragma once
// Memory for blocks of a megabyte or more that are filled at once: aligned to 2 MB and, on
// Linux, offered to the kernel as transparent huge pages (one page fault per 2 MB instead of
// one per 4 KB). Smaller blocks come from the ordinary heap.
#include <cstddef>

namespace platform {

inline constexpr std::size_t kHugePageBytes = std::size_t(2) << 20;

// Throws std::bad_alloc. A block goes back through releaseBlock.
void* allocateBlock(std::size_t bytes);
void releaseBlock(void* block) noexcept;

} // namespace platform

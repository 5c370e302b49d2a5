#pragma once
// Memory for the record set's large chunks. A record set of a hundred thousand rows fills
// some sixty megabytes at once; taken in 4 KB pages, the page faults alone cost more than
// reading the rows from the database. Blocks of a megabyte or more therefore come from
// platform::allocateBlock (2 MB aligned, huge pages where the system offers them); smaller
// blocks, such as those of a one-row look-up, from the ordinary heap.
#include "platform/large_block.h"

#include <cstddef>

namespace db {

inline constexpr std::size_t kHugePageBytes = platform::kHugePageBytes;

template <typename T> struct BulkAllocator {
    using value_type = T;
    BulkAllocator() = default;
    template <typename U> BulkAllocator(const BulkAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) { return static_cast<T*>(platform::allocateBlock(n * sizeof(T))); }
    void deallocate(T* p, std::size_t) noexcept { platform::releaseBlock(p); }
    template <typename U> bool operator==(const BulkAllocator<U>&) const noexcept { return true; }
};

} // namespace db

#pragma once
// Memory for the record set's large chunks. A record set of a hundred thousand rows fills
// some sixty megabytes at once; taken in 4 KB pages, the page faults alone cost more than
// reading the rows from the database. Blocks of a megabyte or more are therefore aligned to
// 2 MB and, on Linux, offered to the kernel as transparent huge pages (one fault per 2 MB).
// Smaller blocks, such as those of a one-row look-up, come from the ordinary heap.
#include <cstddef>
#include <cstdlib>

namespace db {

inline constexpr std::size_t kHugePageBytes = std::size_t(2) << 20;

// Throws std::bad_alloc; the block is released with std::free.
void* allocateBulk(std::size_t bytes);

template <typename T>
struct BulkAllocator {
    using value_type = T;
    BulkAllocator() = default;
    template <typename U>
    BulkAllocator(const BulkAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) { return static_cast<T*>(allocateBulk(n * sizeof(T))); }
    void deallocate(T* p, std::size_t) noexcept { std::free(p); }
    template <typename U>
    bool operator==(const BulkAllocator<U>&) const noexcept { return true; }
};

} // namespace db

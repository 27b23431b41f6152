#pragma once
#include <cstddef>
#include <new>

#include "huge_pages.h"

namespace voxquad {

// Allocator of a mesh's large arrays (vertices, polygons, indexes): an array of a huge page or more
// lives in huge pages of its own (see huge_pages.h), a smaller one comes from operator new.
template <typename T>
class LargeArrayAllocator {
public:
    using value_type = T;

    LargeArrayAllocator() = default;
    template <typename U>
    LargeArrayAllocator(const LargeArrayAllocator<U>&) noexcept
    {
    }

    T* allocate(std::size_t n)
    {
        const std::size_t bytes = n * sizeof(T);
        if (bytes < hugePageSize) return static_cast<T*>(::operator new(bytes, std::align_val_t{alignof(T)}));
        return static_cast<T*>(mapHugePages(bytes));
    }

    void deallocate(T* p, std::size_t n) noexcept
    {
        const std::size_t bytes = n * sizeof(T);
        if (bytes < hugePageSize) {
            ::operator delete(p, std::align_val_t{alignof(T)});
            return;
        }
        unmapHugePages(p, bytes);
    }

    template <typename U>
    bool operator==(const LargeArrayAllocator<U>&) const noexcept
    {
        return true;
    }
};

}  // namespace voxquad

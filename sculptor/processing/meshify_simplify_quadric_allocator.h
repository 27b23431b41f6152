// Allocator of the reduction's large working arrays. Blocks of 2 MiB and more
// are aligned to 2 MiB and advised as transparent huge pages, so that touching
// them the first time costs one page fault per 2 MiB instead of one per 4 KiB:
// on a million triangles, faulting in the fresh working arrays is otherwise a
// good part of the whole reduction. Smaller blocks come from operator new.
#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdlib>
#include <new>

template <typename T>
class TLargeArrayAllocator {
 public:
  using value_type = T;

  TLargeArrayAllocator() = default;
  template <typename U>
  TLargeArrayAllocator(const TLargeArrayAllocator<U>&) {}

  T* allocate(size_t n) {
    const size_t bytes = n * sizeof(T);
    if (bytes < kHugePage) return static_cast<T*>(::operator new(bytes, kAlignment));
    const size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void* p = std::aligned_alloc(kHugePage, rounded);
    if (!p) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    madvise(p, rounded, MADV_HUGEPAGE);  // advice only: without huge pages the block still works
#endif
    return static_cast<T*>(p);
  }

  void deallocate(T* p, size_t n) {
    if (n * sizeof(T) < kHugePage) {
      ::operator delete(p, kAlignment);
    } else {
      std::free(p);
    }
  }

  template <typename U>
  bool operator==(const TLargeArrayAllocator<U>&) const {
    return true;
  }

 private:
  static constexpr size_t kHugePage = size_t{2} << 20;
  static constexpr std::align_val_t kAlignment{alignof(T)};
};

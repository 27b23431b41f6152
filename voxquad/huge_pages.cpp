#include "huge_pages.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

namespace voxquad {

namespace {

std::size_t roundUp(std::size_t n, std::size_t to) { return (n + to - 1) / to * to; }

}  // namespace

void* mapHugePages(std::size_t bytes)
{
    // Map one huge page more than needed and trim, so that the block starts on a huge-page boundary.
    const std::size_t length = roundUp(bytes, hugePageSize);
    const std::size_t padded = length + hugePageSize;
    void* raw = mmap(nullptr, padded, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = roundUp(start, hugePageSize);
    if (aligned > start) munmap(raw, aligned - start);
    const std::size_t tail = padded - (aligned - start) - length;
    if (tail > 0) munmap(reinterpret_cast<void*>(aligned + length), tail);
    void* data = reinterpret_cast<void*>(aligned);
    madvise(data, length, MADV_HUGEPAGE);  // advice only: without huge pages the block still works
    return data;
}

void unmapHugePages(void* data, std::size_t bytes)
{
    if (data) munmap(data, roundUp(bytes, hugePageSize));
}

}  // namespace voxquad

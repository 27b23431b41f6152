#pragma once
#include <cstddef>

namespace voxquad {

// Zero-filled memory straight from the system, aligned to 2 MiB and advised as transparent huge
// pages: the first touch of fresh memory then costs one fault per 2 MiB instead of one per 4 KiB,
// which on a large mesh or volume is otherwise a good part of a whole pass over it.

constexpr std::size_t hugePageSize = std::size_t{2} << 20;

// Maps bytes (> 0), rounded up to whole huge pages. Throws std::bad_alloc.
void* mapHugePages(std::size_t bytes);
// Unmaps what mapHugePages(bytes) gave; null does nothing.
void unmapHugePages(void* data, std::size_t bytes);

}  // namespace voxquad

#pragma once
#include <cstddef>

namespace voxquad {

// Zero-filled memory straight from the system, aligned to 2 MiB and advised as transparent huge
// pages: the first touch of fresh memory then costs one fault per 2 MiB instead of one per 4 KiB,
// which on a large mesh or volume is otherwise a good part of a whole pass over it.

constexpr std::size_t hugePageSize = std::size_t{2} << 20;

// Maps at least bytes (> 0); mapped receives the length to give to unmapHugePages. Throws
// std::bad_alloc.
void* mapHugePages(std::size_t bytes, std::size_t& mapped);
void unmapHugePages(void* data, std::size_t mapped);

}  // namespace voxquad

#include "volume_storage_memory.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>
#include <utility>

namespace voxquad {

namespace {

constexpr std::size_t hugePage = std::size_t{2} << 20;

std::size_t roundUp(std::size_t n, std::size_t to) { return (n + to - 1) / to * to; }

}  // namespace

ZeroedBlock::ZeroedBlock(std::size_t bytes) : size_(bytes)
{
    if (bytes == 0) return;
    // Map one huge page more than needed and trim, so that the block starts on a huge-page boundary.
    const std::size_t length = roundUp(bytes, hugePage);
    const std::size_t padded = length + hugePage;
    void* raw = mmap(nullptr, padded, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = roundUp(start, hugePage);
    if (aligned > start) munmap(raw, aligned - start);
    const std::size_t tail = padded - (aligned - start) - length;
    if (tail > 0) munmap(reinterpret_cast<void*>(aligned + length), tail);
    data_ = reinterpret_cast<void*>(aligned);
    mapped_ = length;
    madvise(data_, mapped_, MADV_HUGEPAGE);  // advice only: without huge pages the block still works
}

ZeroedBlock::ZeroedBlock(ZeroedBlock&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)),
      mapped_(std::exchange(other.mapped_, 0))
{
}

ZeroedBlock& ZeroedBlock::operator=(ZeroedBlock&& other) noexcept
{
    if (this != &other) {
        release();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        mapped_ = std::exchange(other.mapped_, 0);
    }
    return *this;
}

ZeroedBlock::~ZeroedBlock() { release(); }

void ZeroedBlock::release()
{
    if (data_) munmap(data_, mapped_);
    data_ = nullptr;
    size_ = mapped_ = 0;
}

}  // namespace voxquad

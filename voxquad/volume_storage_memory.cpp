#include "volume_storage_memory.h"

#include <utility>

#include "huge_pages.h"

namespace voxquad {

ZeroedBlock::ZeroedBlock(std::size_t bytes) : size_(bytes)
{
    if (bytes > 0) data_ = mapHugePages(bytes);
}

ZeroedBlock::ZeroedBlock(ZeroedBlock&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0))
{
}

ZeroedBlock& ZeroedBlock::operator=(ZeroedBlock&& other) noexcept
{
    if (this != &other) {
        release();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

ZeroedBlock::~ZeroedBlock() { release(); }

void ZeroedBlock::release()
{
    unmapHugePages(data_, size_);
    data_ = nullptr;
    size_ = 0;
}

}  // namespace voxquad

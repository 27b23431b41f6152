#pragma once
#include <cstddef>

namespace voxquad {

// A large zero-filled block of memory straight from the system, with transparent huge pages
// requested: the first touch of fresh memory then costs one fault per 2 MiB instead of one per
// 4 KiB, which dominates the time of a pass over a volume of a hundred megabytes.
class ZeroedBlock {
public:
    ZeroedBlock() = default;
    explicit ZeroedBlock(std::size_t bytes);  // throws std::bad_alloc
    ZeroedBlock(ZeroedBlock&& other) noexcept;
    ZeroedBlock& operator=(ZeroedBlock&& other) noexcept;
    ZeroedBlock(const ZeroedBlock&) = delete;
    ZeroedBlock& operator=(const ZeroedBlock&) = delete;
    ~ZeroedBlock();

    void* data() const { return data_; }
    std::size_t size() const { return size_; }

private:
    void release();

    void* data_ = nullptr;
    std::size_t size_ = 0;    // bytes asked for
    std::size_t mapped_ = 0;  // bytes mapped at data_
};

}  // namespace voxquad

#pragma once
#include <cstddef>

namespace voxquad {

// A large zero-filled block of memory in huge pages (see huge_pages.h), for a volume of a hundred
// megabytes that a pass would otherwise spend most of its time faulting in.
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
    std::size_t size_ = 0;  // bytes asked for
};

}  // namespace voxquad

#pragma once
#include <cstddef>
#include <string_view>

namespace voxquad {

// A whole file mapped read-only into memory, so large inputs are read without copying.
class MappedFile {
public:
    MappedFile() = default;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    ~MappedFile();

    // False when the file cannot be opened or mapped.
    bool open(const char* fileName);
    std::string_view text() const { return std::string_view(data_, size_); }

private:
    const char* data_ = nullptr;
    std::size_t size_ = 0;
};

}  // namespace voxquad

// Read-only view of a whole file, mapped into memory so readers can scan it
// without copying or per-line allocations.
#pragma once

#include <cstddef>
#include <string>

class MappedFile {
 public:
  MappedFile() = default;
  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  // False when the file cannot be opened or mapped. An empty file opens with size 0.
  bool Open(const std::string& fileName);

  const char* data() const { return data_; }
  size_t size() const { return size_; }

 private:
  const char* data_ = nullptr;
  size_t size_ = 0;
};

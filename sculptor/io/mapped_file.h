// A read-only view of a whole file, memory-mapped so that large models are
// parsed in place instead of being copied into fresh memory first.
#pragma once

#include <string>
#include <string_view>

class MappedFile {
 public:
  MappedFile() = default;
  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  // False when the file cannot be opened or read; `error` then says why.
  bool Open(const std::string& fileName);

  std::string_view text() const { return {data_, size_}; }
  const std::string& error() const { return error_; }

 private:
  void Close();

  const char* data_ = nullptr;
  size_t size_ = 0;
  bool mapped_ = false;
  std::string error_;
};

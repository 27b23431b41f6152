#include "io/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

MappedFile::~MappedFile() { Close(); }

void MappedFile::Close() {
  if (mapped_) munmap(const_cast<char*>(data_), size_);
  data_ = nullptr;
  size_ = 0;
  mapped_ = false;
}

bool MappedFile::Open(const std::string& fileName) {
  Close();
  const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error_ = std::strerror(errno);
    return false;
  }
  struct stat info {};
  bool ok = fstat(fd, &info) == 0;
  if (ok && !S_ISREG(info.st_mode)) {
    errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    ok = false;
  }
  if (ok && info.st_size > 0) {
    // Populate the mapping in one go: page faults one at a time cost far more.
    void* p = mmap(nullptr, static_cast<size_t>(info.st_size), PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    ok = p != MAP_FAILED;
    if (ok) {
      madvise(p, static_cast<size_t>(info.st_size), MADV_SEQUENTIAL);
      data_ = static_cast<const char*>(p);
      size_ = static_cast<size_t>(info.st_size);
      mapped_ = true;
    }
  }
  if (!ok) error_ = std::strerror(errno);
  ::close(fd);
  return ok;
}

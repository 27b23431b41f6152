#include "io/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

MappedFile::~MappedFile() {
  if (data_) munmap(const_cast<char*>(data_), size_);
}

bool MappedFile::Open(const std::string& fileName) {
  int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  if (ok && st.st_size > 0) {
    void* p = mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    ok = p != MAP_FAILED;
    if (ok) {
      data_ = static_cast<const char*>(p);
      size_ = static_cast<size_t>(st.st_size);
      madvise(p, size_, MADV_SEQUENTIAL);
    }
  }
  ::close(fd);
  return ok;
}

// For readers that take a file name: the input is put into an anonymous
// in-memory file (memfd) reached as /proc/self/fd/N, so nothing touches the disk
// and parallel fuzzer processes never share a file.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

// The file name of an in-memory file that now holds exactly the given bytes.
inline std::string InputFile(const uint8_t* data, size_t size) {
  static const int fd = memfd_create("fuzz-input", 0);
  if (fd < 0 || ftruncate(fd, 0) != 0) __builtin_trap();
  for (size_t done = 0; done < size;) {
    const ssize_t n = pwrite(fd, data + done, size - done, static_cast<off_t>(done));
    if (n <= 0) __builtin_trap();
    done += static_cast<size_t>(n);
  }
  return "/proc/self/fd/" + std::to_string(fd);
}

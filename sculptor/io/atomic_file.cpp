#include "io/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "model/messages.h"

AtomicFileWriter::AtomicFileWriter(std::string target, Errors errors)
    : target_(std::move(target)), errors_(errors), buffer_(size_t{1} << 20) {}

AtomicFileWriter::~AtomicFileWriter() { Discard(); }

bool AtomicFileWriter::Open() {
  static std::atomic<unsigned> counter{0};
  temporary_ = target_ + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(counter++);
  fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd_ < 0) {
    temporary_.clear();
    Fail(errno);
    Report();
    return false;
  }
  // A replaced file keeps its permissions.
  struct stat existing {};
  if (stat(target_.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) fchmod(fd_, existing.st_mode & 07777);
  return true;
}

void AtomicFileWriter::Fail(int error) {
  if (error_ == 0) error_ = error;
}

void AtomicFileWriter::Flush() {
  const char* p = buffer_.data();
  size_t left = used_;
  used_ = 0;
  while (left > 0 && error_ == 0 && fd_ >= 0) {
    const ssize_t n = ::write(fd_, p, left);
    if (n < 0) {
      if (errno != EINTR) Fail(errno);
      continue;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
}

char* AtomicFileWriter::Room(size_t bytes) {
  if (used_ + bytes > buffer_.size()) Flush();
  if (bytes > buffer_.size()) buffer_.resize(bytes);
  return buffer_.data() + used_;
}

void AtomicFileWriter::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    const size_t n = std::min(bytes.size(), buffer_.size() / 2);
    char* p = Room(n);
    std::memcpy(p, bytes.data(), n);
    Advance(p + n);
    bytes.remove_prefix(n);
  }
}

bool AtomicFileWriter::Commit() {
  Flush();
  if (fd_ < 0 && error_ == 0) Fail(EBADF);
  if (error_ == 0 && fsync(fd_) != 0) Fail(errno);
  if (fd_ >= 0 && ::close(fd_) != 0) Fail(errno);
  fd_ = -1;
  if (error_ == 0 && std::rename(temporary_.c_str(), target_.c_str()) != 0) Fail(errno);
  if (error_ != 0) {
    Discard();
    Report();
    return false;
  }
  temporary_.clear();
  return true;
}

void AtomicFileWriter::Report() {
  if (reported_ || errors_ == Errors::Kept) return;
  reported_ = true;
  ShowError("Cannot save " + target_ + ": " + std::strerror(error_));
}

void AtomicFileWriter::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
}

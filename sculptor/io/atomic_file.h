// Writes a file so that it is replaced only when complete: the bytes go into a
// temporary file beside the target, which Commit renames over the target once
// everything was written. On any failure the previous file stays as it was,
// the temporary file is removed and the error is reported through the sink
// (or, for writers of other threads than the window's, only kept: error()).
#pragma once

#include <string>
#include <string_view>
#include <vector>

class AtomicFileWriter {
 public:
  enum class Errors { Shown, Kept };
  explicit AtomicFileWriter(std::string target, Errors errors = Errors::Shown);
  ~AtomicFileWriter();  // discards the temporary file unless committed
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  // Creates the temporary file; false (after the message) when it cannot.
  bool Open();

  void Write(std::string_view bytes);
  // Room for at least `bytes` bytes of text; hand the end of what was written
  // to Advance. For formatting lines in place without copies.
  char* Room(size_t bytes);
  void Advance(char* end) { used_ = static_cast<size_t>(end - buffer_.data()); }

  // Flushes, syncs and renames over the target; false (after the message) on
  // any error of this or an earlier write.
  bool Commit();
  // The error number of the first failure, 0 when none.
  int error() const { return error_; }

 private:
  void Flush();
  void Fail(int error);
  void Discard();
  void Report();  // the error message, once

  std::string target_;
  Errors errors_;
  std::string temporary_;
  int fd_ = -1;
  int error_ = 0;
  bool reported_ = false;
  std::vector<char> buffer_;
  size_t used_ = 0;
};

// Files for the io tests: a fresh folder removed afterwards, whole-file reads and
// writes, binary bodies.
#pragma once

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "plasmora-test-XXXXXX").string();
    const char* made = mkdtemp(pattern.data());
    if (!made) throw std::runtime_error("cannot create a temporary folder");
    path_ = made;
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  std::string File(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline std::string ReadWholeFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteWholeFile(const std::string& name, const std::string& text) {
  std::ofstream(name, std::ios::binary) << text;
}

// Little-endian bytes of a binary file body, value by value.
class LittleEndianBytes {
 public:
  template <typename T>
  LittleEndianBytes& Put(T value) {
    char b[sizeof value];
    std::memcpy(b, &value, sizeof value);
    data.append(b, sizeof value);
    return *this;
  }
  std::string data;
};

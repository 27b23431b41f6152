#include "io/recovery_record.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "io/atomic_file.h"

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kMagic = "PLASMORA RECOVERY 1\n";

// Appends plain values and arrays in the file's byte order (the machine's,
// which the build requires to be little-endian).
class RecordWriter {
 public:
  explicit RecordWriter(std::string& out) : out_(out) {}

  template <typename T>
  void Value(const T& value) {
    out_.append(reinterpret_cast<const char*>(&value), sizeof value);
  }
  // The first `count` items; an array that holds fewer (an element not yet
  // given all its side arrays) is completed with zero items.
  template <typename T>
  void Array(const std::vector<T>& values, size_t count) {
    const size_t held = std::min(count, values.size());
    out_.append(reinterpret_cast<const char*>(values.data()), held * sizeof(T));
    out_.append((count - held) * sizeof(T), '\0');
  }
  void Text(const std::string& text) {
    Value(static_cast<uint32_t>(text.size()));
    out_.append(text);
  }

 private:
  std::string& out_;
};

// Takes values and arrays back, checking every length against what is left.
class RecordReader {
 public:
  explicit RecordReader(std::string_view bytes) : rest_(bytes) {}

  template <typename T>
  bool Value(T& value) {
    if (rest_.size() < sizeof value) return false;
    std::memcpy(&value, rest_.data(), sizeof value);
    rest_.remove_prefix(sizeof value);
    return true;
  }
  // `count` items; refused before allocating when the bytes cannot hold them.
  template <typename T>
  bool Array(std::vector<T>& values, int64_t count) {
    if (count < 0 || static_cast<uint64_t>(count) > rest_.size() / sizeof(T)) return false;
    values.resize(static_cast<size_t>(count));
    const size_t bytes = static_cast<size_t>(count) * sizeof(T);
    if (bytes > 0) std::memcpy(values.data(), rest_.data(), bytes);
    rest_.remove_prefix(bytes);
    return true;
  }
  bool Text(std::string& text) {
    uint32_t size = 0;
    if (!Value(size) || size > rest_.size()) return false;
    text.assign(rest_.substr(0, size));
    rest_.remove_prefix(size);
    return true;
  }
  bool AtEnd() const { return rest_.empty(); }

 private:
  std::string_view rest_;
};

void EncodeElement(RecordWriter& out, const TGeosphera& e) {
  out.Text(e.name);
  out.Text(e.fileName);
  out.Value(e.sourceKind);
  out.Value(e.subdivLevel);
  for (const TGLCoord& c : {e.center, e.rotation, e.position, e.scale}) out.Value(c);
  for (uint8_t b : {e.colorB, e.colorG, e.colorR, e.colorA, e.visible}) out.Value(b);
  const auto vertices = static_cast<size_t>(std::max(e.vertexCount, 0));
  const auto indices = static_cast<size_t>(std::max(e.indexCount, 0));
  const auto uvs = static_cast<size_t>(std::max(e.uvCount, 0));
  for (const size_t count : {vertices, indices, uvs, e.uvFaces.size()}) out.Value(static_cast<int32_t>(count));
  out.Array(e.vertices, vertices);
  out.Array(e.normals, vertices);
  out.Array(e.colors, vertices);
  out.Array(e.vertexState, vertices);
  out.Array(e.faces, indices);
  out.Array(e.uvs, uvs);
  out.Array(e.uvFaces, e.uvFaces.size());
  out.Value(static_cast<int32_t>(e.levelVertexCounts.size()));
  out.Array(e.levelVertexCounts, e.levelVertexCounts.size());
  out.Value(static_cast<int32_t>(e.levelChecks.size()));
  for (const TLevelCheck& check : e.levelChecks) {
    out.Value(check.triangleCount);
    out.Value(check.parentChecksum);
  }
}

bool AllBelow(const Tfaces& indices, int64_t limit) {
  return std::all_of(indices.begin(), indices.end(), [limit](uint32_t i) { return int64_t{i} < limit; });
}

bool Finite(const Tvertices& points) {
  return std::all_of(points.begin(), points.end(),
                     [](const TGLCoord& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); });
}

bool DecodeElement(RecordReader& in, TGeosphera& e) {
  if (!in.Text(e.name) || !in.Text(e.fileName) || !in.Value(e.sourceKind) || !in.Value(e.subdivLevel)) return false;
  for (TGLCoord* c : {&e.center, &e.rotation, &e.position, &e.scale})
    if (!in.Value(*c)) return false;
  for (uint8_t* b : {&e.colorB, &e.colorG, &e.colorR, &e.colorA, &e.visible})
    if (!in.Value(*b)) return false;
  int32_t uvFaces = 0, levels = 0, checks = 0;
  if (!in.Value(e.vertexCount) || !in.Value(e.indexCount) || !in.Value(e.uvCount) || !in.Value(uvFaces)) return false;
  if (e.indexCount % 3 != 0 || e.subdivLevel < 0 || uvFaces % 3 != 0) return false;
  if (!in.Array(e.vertices, e.vertexCount) || !in.Array(e.normals, e.vertexCount) ||
      !in.Array(e.colors, e.vertexCount) || !in.Array(e.vertexState, e.vertexCount) ||
      !in.Array(e.faces, e.indexCount) || !in.Array(e.uvs, e.uvCount) || !in.Array(e.uvFaces, uvFaces) ||
      !in.Value(levels) || !in.Array(e.levelVertexCounts, levels) || !in.Value(checks) || checks < 0)
    return false;
  e.levelChecks.clear();
  for (int32_t k = 0; k < checks; ++k) {
    TLevelCheck& check = e.levelChecks.emplace_back();
    if (!in.Value(check.triangleCount) || !in.Value(check.parentChecksum)) return false;
  }
  return AllBelow(e.faces, e.vertexCount) && AllBelow(e.uvFaces, e.uvCount) && Finite(e.vertices) &&
         Finite({e.center, e.rotation, e.position, e.scale});
}

// A process of this id runs (or ran under another user and cannot be asked).
bool ProcessRuns(pid_t pid) { return ::kill(pid, 0) == 0 || errno == EPERM; }

// The process id of a folder named "plasmora-<pid>", or 0.
pid_t FolderProcess(const std::string& name) {
  constexpr std::string_view kPrefix = "plasmora-";
  if (!name.starts_with(kPrefix) || name.size() == kPrefix.size() || name.size() > kPrefix.size() + 9) return 0;
  pid_t pid = 0;
  for (char c : std::string_view(name).substr(kPrefix.size())) {
    if (c < '0' || c > '9') return 0;
    pid = pid * 10 + (c - '0');
  }
  return pid;
}

}  // namespace

std::string EncodeRecoveryRecord(const TScene& scene) {
  std::string bytes(kMagic);
  RecordWriter out(bytes);
  out.Value(static_cast<int32_t>(scene.elements.size()));
  out.Value(static_cast<int32_t>(scene.currentElement));
  for (const TGeosphera& e : scene.elements) EncodeElement(out, e);
  return bytes;
}

std::optional<RecoveredScene> DecodeRecoveryRecord(std::string_view bytes) {
  if (!bytes.starts_with(kMagic)) return std::nullopt;
  RecordReader in(bytes.substr(kMagic.size()));
  int32_t count = 0;
  RecoveredScene scene;
  if (!in.Value(count) || !in.Value(scene.currentElement) || count < 1 || scene.currentElement < 0 ||
      scene.currentElement >= count)
    return std::nullopt;
  for (int32_t k = 0; k < count; ++k)
    if (!DecodeElement(in, scene.elements.emplace_back())) return std::nullopt;
  if (!in.AtEnd()) return std::nullopt;
  return scene;
}

std::string WriteRecoveryRecord(const std::string& path, std::string_view record) {
  AtomicFileWriter out(path, AtomicFileWriter::Errors::Kept);
  if (out.Open()) {
    out.Write(record);
    if (out.Commit()) return "";
  }
  return std::strerror(out.error());
}

std::vector<std::string> FindAbandonedRecords(const std::string& tempFolder) {
  std::vector<std::pair<fs::file_time_type, std::string>> found;
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(tempFolder, ec)) {
    const pid_t pid = FolderProcess(entry.path().filename().string());
    struct stat info{};
    // Only real folders of this user (not links planted in a shared /tmp).
    if (pid <= 0 || pid == ::getpid() || ::lstat(entry.path().c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != ::geteuid() || ProcessRuns(pid))
      continue;
    const fs::path record = entry.path() / kRecoveryRecordName;
    const fs::file_time_type written = fs::last_write_time(record, ec);
    if (!ec) found.emplace_back(written, entry.path().string() + "/");
  }
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  std::vector<std::string> folders;
  for (auto& [time, folder] : found) folders.push_back(std::move(folder));
  return folders;
}

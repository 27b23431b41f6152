#include "io/undo_snapshot_file.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <optional>

#include "io/synlz.h"

static_assert(std::endian::native == std::endian::little, "snapshot files are little-endian");
static_assert(sizeof(TGLCoord) == 12 && sizeof(TRGBA) == 4 && sizeof(TGLUV) == 8, "arrays are stored as they lie");

uint8_t* ScratchBuffer::Reserve(size_t bytes) {
  if (bytes > capacity_) {
    Release();  // first: large meshes should not hold both
    data_.reset(new uint8_t[bytes]);
    capacity_ = bytes;
  }
  return data_.get();
}

namespace {

constexpr size_t kMainHeaderBytes = 20;

// The counts at the head of the main file.
struct MainHeader {
  int32_t kind, indexCount, vertexCount, subdivLevel, uvCount;

  size_t vertices() const { return static_cast<size_t>(vertexCount); }
  size_t mainBytes() const { return kMainHeaderBytes + 24 * vertices(); }
  size_t uvs() const { return uvCount > 0 ? static_cast<size_t>(uvCount) : 0; }
  size_t topologyBytes() const { return 4 * static_cast<size_t>(indexCount) + 5 * vertices() + 8 * uvs(); }
  // Counts an element can have: whole triangles, a level of 0 or more.
  bool Plausible() const {
    return (kind == kSnapshotPositions || kind == kSnapshotFull) && indexCount >= 0 && indexCount % 3 == 0 &&
           vertexCount >= 0 && uvCount >= 0 && subdivLevel >= 0;
  }
};
static_assert(sizeof(MainHeader) == kMainHeaderBytes);

struct Piece {
  const void* data;
  size_t bytes;
};

size_t TotalBytes(std::initializer_list<Piece> pieces) {
  size_t total = 0;
  for (const Piece& p : pieces) total += p.bytes;
  return total;
}

std::string WriteError(const std::string& path) {
  return "Error writing undo file " + path + ": " + std::strerror(errno);
}

std::string WritePieces(const std::string& path, std::initializer_list<Piece> pieces) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return WriteError(path);
  bool ok = true;
  for (const Piece& p : pieces) ok = ok && (p.bytes == 0 || std::fwrite(p.data, 1, p.bytes, f) == p.bytes);
  ok = (std::fclose(f) == 0) && ok;
  return ok ? "" : WriteError(path);
}

// Stores the pieces as one plain file, or gathers and compresses them into a container.
std::string WriteSnapshotPart(const std::string& path, std::initializer_list<Piece> pieces, bool compress,
                              SnapshotScratch& scratch) {
  if (!compress) return WritePieces(path, pieces);
  const size_t plainBytes = TotalBytes(pieces);
  uint8_t* plain = scratch.main.Reserve(plainBytes);
  for (const Piece& p : pieces) {
    if (p.bytes) std::memcpy(plain, p.data, p.bytes);
    plain += p.bytes;
  }
  uint8_t* container = scratch.file.Reserve(4 + SynLZCompressBound(plainBytes));
  const int32_t blockBytes = static_cast<int32_t>(SynLZCompress(scratch.main.data(), plainBytes, container + 4));
  std::memcpy(container, &blockBytes, 4);
  return WritePieces(path, {{container, 4 + static_cast<size_t>(blockBytes)}});
}

bool ArraysCover(const TGeosphera& e, int32_t kind) {
  const size_t v = static_cast<size_t>(e.vertexCount);
  if (e.vertexCount < 0 || e.indexCount < 0 || e.uvCount < 0) return false;
  if (e.vertices.size() < v || e.normals.size() < v) return false;
  if (kind != kSnapshotFull) return true;
  return e.faces.size() >= static_cast<size_t>(e.indexCount) && e.vertexState.size() >= v && e.colors.size() >= v &&
         e.uvs.size() >= static_cast<size_t>(e.uvCount);
}

}  // namespace

std::string WriteSnapshotFiles(const TGeosphera& e, int32_t kind, bool compress, const SnapshotPaths& paths,
                               SnapshotScratch& scratch) {
  if (!ArraysCover(e, kind)) return "Undo snapshot not written: the mesh arrays are shorter than its counts.";
  const MainHeader header{kind, e.indexCount, e.vertexCount, e.subdivLevel, e.uvCount};
  const size_t v = header.vertices();
  // Both files share one mode; a file too large for a block header keeps both plain.
  compress = compress && header.mainBytes() <= kSynLZMaxInput &&
             (kind != kSnapshotFull || header.topologyBytes() <= kSynLZMaxInput);

  std::string error = WriteSnapshotPart(
      paths.main, {{&header, sizeof header}, {e.vertices.data(), 12 * v}, {e.normals.data(), 12 * v}}, compress,
      scratch);
  if (error.empty() && kind == kSnapshotFull) {
    error = WriteSnapshotPart(paths.topology,
                              {{e.faces.data(), 4 * static_cast<size_t>(e.indexCount)},
                               {e.vertexState.data(), v},
                               {e.colors.data(), 4 * v},
                               {e.uvs.data(), 8 * header.uvs()}},
                              compress, scratch);
  }
  if (!error.empty()) {
    std::remove(paths.main.c_str());
    std::remove(paths.topology.c_str());
  }
  return error;
}

namespace {

enum class Load { Ok, Missing, Failed };

// Reads a whole file into `buffer`.
Load LoadFile(const std::string& path, ScratchBuffer& buffer, size_t& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return errno == ENOENT ? Load::Missing : Load::Failed;
  bool ok = std::fseek(f, 0, SEEK_END) == 0;
  const long end = ok ? std::ftell(f) : -1;
  ok = end >= 0 && std::fseek(f, 0, SEEK_SET) == 0;
  if (ok) {
    bytes = static_cast<size_t>(end);
    ok = bytes == 0 || std::fread(buffer.Reserve(bytes), 1, bytes, f) == bytes;
  }
  std::fclose(f);
  return ok ? Load::Ok : Load::Failed;
}

using Image = std::span<const uint8_t>;

// Decodes a container into `plain`; nullopt when it does not hold a whole block.
std::optional<Image> Unpack(Image file, ScratchBuffer& plain) {
  int32_t blockBytes = 0;
  if (file.size() < 4) return std::nullopt;
  std::memcpy(&blockBytes, file.data(), 4);
  if (blockBytes < 2 || static_cast<size_t>(blockBytes) > file.size() - 4) return std::nullopt;
  const std::optional<size_t> size = SynLZDecompressedSize(file.data() + 4, static_cast<size_t>(blockBytes));
  if (!size) return std::nullopt;
  uint8_t* out = plain.Reserve(*size);
  if (!SynLZDecompress(file.data() + 4, static_cast<size_t>(blockBytes), out, *size)) return std::nullopt;
  return Image{out, *size};
}

bool FacesInRange(const uint8_t* faces, size_t count, uint32_t vertexCount) {
  uint32_t largest = 0;
  for (size_t i = 0; i < count; ++i) {
    uint32_t f;
    std::memcpy(&f, faces + 4 * i, 4);
    largest = std::max(largest, f);
  }
  return count == 0 || largest < vertexCount;
}

template <class T>
void Install(std::vector<T>& target, const uint8_t* source, size_t count) {
  target.resize(count);  // capacity was reserved: cannot throw
  if (count) std::memcpy(target.data(), source, count * sizeof(T));
}

}  // namespace

SnapshotRead InstallSnapshotFiles(TGeosphera& e, std::span<const uint8_t> mainFile, const TopologyLoader& topologyFile,
                                  SnapshotScratch& scratch) {
  int32_t first = 0;
  if (mainFile.size() >= 4) std::memcpy(&first, mainFile.data(), 4);
  const bool packed = first != kSnapshotPositions && first != kSnapshotFull;
  std::optional<Image> main = mainFile;
  if (packed) main = Unpack(mainFile, scratch.main);
  MainHeader header{};
  if (!main || main->size() < kMainHeaderBytes) return SnapshotRead::Damaged;
  std::memcpy(&header, main->data(), kMainHeaderBytes);
  if (!header.Plausible() || main->size() < header.mainBytes()) return SnapshotRead::Damaged;
  const bool full = header.kind == kSnapshotFull;
  if (!full && (header.vertexCount != e.vertexCount || header.indexCount != e.indexCount))
    return SnapshotRead::TopologyChanged;

  std::optional<Image> topology;
  if (full) {
    // A plain main file may lie in scratch.file; a packed one is done with it.
    topology = topologyFile(packed ? scratch.file : scratch.topology);
    if (topology && packed) topology = Unpack(*topology, scratch.topology);
    if (!topology || topology->size() < header.topologyBytes()) return SnapshotRead::Damaged;
    if (!FacesInRange(topology->data(), static_cast<size_t>(header.indexCount),
                      static_cast<uint32_t>(header.vertexCount)))
      return SnapshotRead::Damaged;
  }

  const size_t v = header.vertices(), indices = static_cast<size_t>(header.indexCount), uvs = header.uvs();
  e.vertices.reserve(v);
  e.normals.reserve(v);
  if (full) {
    e.faces.reserve(indices);
    e.vertexState.reserve(v);
    e.colors.reserve(v);
    e.uvs.reserve(uvs);
  }
  const uint8_t* at = main->data() + kMainHeaderBytes;
  Install(e.vertices, at, v);
  Install(e.normals, at + 12 * v, v);
  e.subdivLevel = header.subdivLevel;
  if (full) {
    at = topology->data();
    Install(e.faces, at, indices);
    Install(e.vertexState, at + 4 * indices, v);
    Install(e.colors, at + 4 * indices + v, v);
    if (uvs) Install(e.uvs, at + 4 * indices + 5 * v, uvs);
    e.indexCount = header.indexCount;
    e.vertexCount = header.vertexCount;
    e.uvCount = header.uvCount;
  } else if (static_cast<size_t>(header.uvCount) <= e.uvs.size()) {
    e.uvCount = header.uvCount;  // a count the uvs in hand do not hold would point past them
  }
  return SnapshotRead::Restored;
}

SnapshotRead ReadSnapshotFiles(TGeosphera& e, const SnapshotPaths& paths, SnapshotScratch& scratch) {
  size_t fileBytes = 0;
  switch (LoadFile(paths.main, scratch.file, fileBytes)) {
    case Load::Missing: return SnapshotRead::Missing;
    case Load::Failed: return SnapshotRead::Damaged;
    case Load::Ok: break;
  }
  const TopologyLoader topology = [&](ScratchBuffer& buffer) -> std::optional<std::span<const uint8_t>> {
    size_t bytes = 0;
    if (LoadFile(paths.topology, buffer, bytes) != Load::Ok) return std::nullopt;
    return std::span<const uint8_t>(buffer.data(), bytes);
  };
  return InstallSnapshotFiles(e, {scratch.file.data(), fileBytes}, topology, scratch);
}

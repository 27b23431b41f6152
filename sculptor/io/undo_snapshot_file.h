// One undo snapshot of an element on disk: the main file (kind, counts,
// positions, normals) and, for full snapshots, the topology file (faces, mask,
// colours, texture coordinates). Each file is stored plain or as a container
// (int32 block length, then the SynLZ block of the plain file).
//
// A plain main file starts with its kind (1 or 2); a container starts with a
// block length, which is never 1 or 2 (even an empty header needs 26 bytes).
// So every main file states its own mode, and its topology file is always
// written in the same mode: a snapshot reads back correctly whatever the
// compression switch says by then.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "model/geosphera.h"

inline constexpr int32_t kSnapshotPositions = 1;  // positions and normals only
inline constexpr int32_t kSnapshotFull = 2;       // and faces, mask, colours, uvs

// A byte buffer that grows without zero-filling and keeps its memory, so the
// snapshots of a large mesh do not touch fresh pages on every stroke.
class ScratchBuffer {
 public:
  uint8_t* Reserve(size_t bytes);
  uint8_t* data() { return data_.get(); }
  size_t capacity() const { return capacity_; }
  void Release() {
    data_.reset();
    capacity_ = 0;
  }

 private:
  std::unique_ptr<uint8_t[]> data_;
  size_t capacity_ = 0;
};

// The working memory of snapshot reads and writes, reused between them.
struct SnapshotScratch {
  // Buffers up to this size are kept (a stroke snapshot of 2.8M vertices);
  // the memory of larger meshes is given back after each snapshot.
  static constexpr size_t kKeptBytes = size_t(64) << 20;

  ScratchBuffer file;      // a compressed file as stored
  ScratchBuffer main;      // the plain main file
  ScratchBuffer topology;  // the plain topology file

  void Trim() {
    for (ScratchBuffer* b : {&file, &main, &topology})
      if (b->capacity() > kKeptBytes) b->Release();
  }
};

struct SnapshotPaths {
  std::string main;
  std::string topology;
};

// Writes a snapshot of `kind` of `e`. Returns "" on success, else the message
// to show; on failure neither file of the snapshot is left behind.
std::string WriteSnapshotFiles(const TGeosphera& e, int32_t kind, bool compress, const SnapshotPaths& paths,
                               SnapshotScratch& scratch);

enum class SnapshotRead {
  Restored,
  Missing,          // no main file: nothing to restore
  Damaged,          // short, inconsistent or undecodable files
  TopologyChanged,  // a positions-only snapshot of a mesh with other counts
};

// Reads the snapshot and installs it into `e`: positions, normals and the
// level always; faces, mask, colours and uvs for full snapshots. Anything but
// Restored leaves `e` unchanged. May throw std::bad_alloc before changing `e`.
// A header that contradicts itself (a kind other than 1 or 2, negative
// counts or level, an index count that is not a multiple of 3) is Damaged.
SnapshotRead ReadSnapshotFiles(TGeosphera& e, const SnapshotPaths& paths, SnapshotScratch& scratch);

// Supplies the topology file of a full snapshot as stored, read into `buffer`
// (or kept elsewhere by the caller); nullopt when it cannot be read.
using TopologyLoader = std::function<std::optional<std::span<const uint8_t>>(ScratchBuffer& buffer)>;

// ReadSnapshotFiles on a main file already in memory, as stored.
SnapshotRead InstallSnapshotFiles(TGeosphera& e, std::span<const uint8_t> mainFile, const TopologyLoader& topologyFile,
                                  SnapshotScratch& scratch);

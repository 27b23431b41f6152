// The crash-recovery record: while the sculptor runs, its private folder (the
// one of the undo snapshots, "<temp>/plasmora-<pid>/") holds the scene as of
// the last change, so that a run that dies without saving loses nothing. The
// next start finds the folders of runs whose process is gone and offers to
// load their scene.
//
// One binary file, little-endian, replaced whole (side file and rename):
//   "PLASMORA RECOVERY 1\n", element count (int32), current element (int32),
//   per element: name and file name (uint32 length, UTF-8), source kind,
//   subdivision level (int32), centre, rotation, position, scale (float32 x 12),
//   display colour B G R A and visibility (5 bytes), then the vertex, index,
//   uv and uv-face counts (int32) and the arrays: positions, normals (float32
//   x 3), colours (RGBA), mask (1 byte), faces (uint32), uvs (float32 x 2),
//   uv faces (uint32), the level vertex counts (int32 count, uint32 each) and
//   the level checks (int32 count, uint32 triangle count and uint64 checksum).
// Derived data (adjacency, valence, edges, GPU slots) is rebuilt on loading.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/scene.h"

inline constexpr const char* kRecoveryRecordName = "scene.recovery";

// The elements a record gives back, their derived data still to be built.
struct RecoveredScene {
  std::vector<TGeosphera> elements;
  int currentElement = 0;
};

// The record of the scene's elements, as bytes (made on the window thread: a
// copy of the arrays, cheap next to writing them out).
std::string EncodeRecoveryRecord(const TScene& scene);

// The scene of a record; nullopt when the bytes are no complete, consistent
// record (wrong counts, a face naming a missing vertex, positions that are
// not finite numbers, bytes missing or left over).
std::optional<RecoveredScene> DecodeRecoveryRecord(std::string_view bytes);

// Replaces `path` with the record through a side file; "" on success, else
// the reason. Shows no message, so it may run on a worker thread.
std::string WriteRecoveryRecord(const std::string& path, std::string_view record);

// The folders "<tempFolder>/plasmora-<pid>/" of this user whose process no
// longer runs and that hold a record, newest record first.
std::vector<std::string> FindAbandonedRecords(const std::string& tempFolder);

// Undo snapshot files as found in the snapshot folder, restored into an element
// as Undo does. The input is the main file's length (uint32, little-endian),
// the main file, then the topology file; both as stored, plain or packed.
#include <cstring>

#include "fuzz_model.h"
#include "io/undo_snapshot_file.h"
#include "model/topology.h"

namespace {

// A tetrahedron: what the element holds before Undo (positions-only snapshots
// must match its counts).
TGeosphera Tetrahedron() {
  TGeosphera e;
  e.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  e.normals.assign(4, {0, 0, 1});
  e.colors.assign(4, kDefaultVertexColor);
  e.vertexState.assign(4, kVertexFree);
  e.faces = {0, 2, 1, 0, 1, 3, 0, 3, 2, 1, 2, 3};
  e.vertexCount = 4;
  e.indexCount = 12;
  return e;
}

}  // namespace

FUZZ_TARGET(undo_snapshot)(const uint8_t* data, size_t size) {
  SilenceMessages();
  uint32_t mainBytes = 0;
  if (size < 4) return 0;
  std::memcpy(&mainBytes, data, 4);
  const std::span<const uint8_t> rest(data + 4, size - 4);
  const std::span<const uint8_t> mainFile = rest.first(std::min<size_t>(mainBytes, rest.size()));
  const std::span<const uint8_t> topologyFile = rest.subspan(mainFile.size());
  TGeosphera e = Tetrahedron();
  SnapshotScratch scratch;
  const SnapshotRead result = InstallSnapshotFiles(
      e, mainFile, [&](ScratchBuffer&) { return std::optional<std::span<const uint8_t>>(topologyFile); }, scratch);
  if (result != SnapshotRead::Restored) return 0;
  FUZZ_CHECK(e.vertices.size() == static_cast<size_t>(e.vertexCount) && e.normals.size() == e.vertices.size());
  FUZZ_CHECK(e.faces.size() == static_cast<size_t>(e.indexCount) && e.indexCount % 3 == 0);
  for (uint32_t v : e.faces) FUZZ_CHECK(v < static_cast<uint32_t>(e.vertexCount));
  FUZZ_CHECK(e.subdivLevel >= 0 && e.uvs.size() >= static_cast<size_t>(e.uvCount));
  // What Undo does next.
  const int width = ComputeValence(e);
  if (width > 0) BuildAdjacency(e, width);
  return 0;
}

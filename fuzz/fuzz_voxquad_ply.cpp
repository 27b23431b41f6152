// voxquad's PLY import: an accepted mesh has polygons over its own vertices,
// and the indexes built on it hold one entry per vertex and polygon.
#include "fuzz_target.h"
#include "polygon_storage.h"
#include "polygon_storage_import_ply.h"

FUZZ_TARGET(voxquad_ply)(const uint8_t* data, size_t size) {
  voxquad::PolygonStorage storage;
  voxquad::PolygonStorageImportPLY reader;
  if (!reader.importText("fuzz.ply", AsText(data, size), storage)) return 0;
  for (const voxquad::VertexIDList& polygon : storage.Polygons)
    for (int32_t v : polygon) FUZZ_CHECK(v >= 0 && static_cast<size_t>(v) < storage.Vertices.size());
  FUZZ_CHECK(storage.VIndex.size() == storage.Vertices.size());
  FUZZ_CHECK(storage.Midpoints.size() == storage.Polygons.size());
  return 0;
}

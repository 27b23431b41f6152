#include "sculpt/brush_operators.h"

#include <algorithm>

#include "model/messages.h"
#include "sculpt/brush_pass.h"

using namespace brush_math;

namespace {

struct SmoothFault {};

// A(v): the mean of all corners of the triangles at v (v counts once per
// triangle, each neighbour once per shared triangle); v itself when it has none.
TGLCoord NeighbourMean(const TGeosphera& e, uint32_t v, uint32_t corners) {
  const size_t width = static_cast<size_t>(e.adjacency.width);
  const uint32_t* row = e.adjacency.row(v);
  const uint32_t* faces = e.faces.data();
  const TGLCoord* positions = e.vertices.data();
  const uint32_t count = static_cast<uint32_t>(e.vertexCount);
  float x = 0, y = 0, z = 0;
  int triangles = 0;
  for (size_t i = 0; i < width && row[i] != kNoCorner; ++i) {
    const uint32_t first = row[i] / 3 * 3;
    if (first >= corners) throw SmoothFault{};
    const uint32_t a = faces[first], b = faces[first + 1], c = faces[first + 2];
    if (a >= count || b >= count || c >= count) throw SmoothFault{};
    x += positions[a].x + positions[b].x + positions[c].x;
    y += positions[a].y + positions[b].y + positions[c].y;
    z += positions[a].z + positions[b].z + positions[c].z;
    ++triangles;
  }
  if (triangles == 0) return positions[v];
  const float k = 1 / (3.0f * static_cast<float>(triangles));
  return {x * k, y * k, z * k};
}

}  // namespace

void ApplySmooth(TGeosphera& e, const TBrushFrame& frame) {
  const uint32_t corners =
      static_cast<uint32_t>(std::min(static_cast<size_t>(std::max(e.indexCount, 0)), e.faces.size()) / 3 * 3);
  const float s = frame.strength;
  try {
    if (e.vertexCount > 0 && (e.adjacency.width <= 0 || e.adjacency.rows() < static_cast<size_t>(e.vertexCount))) {
      throw SmoothFault{};
    }
    ForEachBrushSide(e, frame, [&](const TBrushSide& side) {
      ForEachMovableEntry(e, side.footprint.entries, frame.radius, BrushRim::Included,
                          [&](TGLCoord& p, float, const TContsel& entry) {
                            const TGLCoord mean = NeighbourMean(e, static_cast<uint32_t>(entry.vertex), corners);
                            p = p * (1 - s) + mean * s;
                          });
    });
  } catch (const SmoothFault&) {
    ShowError("Error smooth");
  }
}

#include <algorithm>

#include "brush_pass.h"
#include "model/messages.h"
#include "sculpt/brush_operators.h"

using namespace brush_math;

namespace {

struct SmoothFault {};

// A(v): the mean of all corners of the triangles at v (v counts once per
// triangle, each neighbour once per shared triangle); v itself when it has none.
TGLCoord NeighbourMean(const TGeosphera& e, uint32_t v, size_t corners) {
  const size_t width = static_cast<size_t>(e.adjacency.width);
  const uint32_t* row = e.adjacency.row(v);
  const uint32_t count = static_cast<uint32_t>(e.vertexCount);
  TGLCoord sum;
  int triangles = 0;
  for (size_t i = 0; i < width && row[i] != kNoCorner; ++i) {
    const size_t first = row[i] - row[i] % 3;
    if (first + 3 > corners) throw SmoothFault{};
    for (size_t k = first; k < first + 3; ++k) {
      if (e.faces[k] >= count) throw SmoothFault{};
      sum = sum + e.vertices[e.faces[k]];
    }
    ++triangles;
  }
  if (triangles == 0) return e.vertices[v];
  return sum * (1 / (3.0f * static_cast<float>(triangles)));
}

}  // namespace

void ApplySmooth(TGeosphera& e, const TBrushFrame& frame) {
  const size_t corners = std::min(static_cast<size_t>(std::max(e.indexCount, 0)), e.faces.size()) / 3 * 3;
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

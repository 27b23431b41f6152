#include "sculpt/brush_operators.h"

#include <algorithm>

#include "sculpt/brush_pass.h"

using namespace brush_math;

namespace {

// v + n(v) g(t) 0.5 s r direction, along each vertex's own normal.
void MoveAlongVertexNormals(TGeosphera& e, const TBrushFrame& frame, float direction) {
  if (e.normals.size() < static_cast<size_t>(std::max(e.vertexCount, 0))) return;
  const float k = 0.5f * frame.strength * frame.radius * direction;
  ForEachBrushSide(e, frame, [&](const TBrushSide& side) {
    ForEachMovableEntry(e, side.footprint.entries, frame.radius, BrushRim::Included,
                        [&](TGLCoord& p, float t, const TContsel& entry) {
                          p = p + e.normals[static_cast<size_t>(entry.vertex)] * (Falloff(t) * k);
                        });
  });
}

}  // namespace

void ApplyInflate(TGeosphera& e, const TBrushFrame& frame) { MoveAlongVertexNormals(e, frame, +1); }

void ApplyDeflate(TGeosphera& e, const TBrushFrame& frame) { MoveAlongVertexNormals(e, frame, -1); }

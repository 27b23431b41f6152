#include "sculpt/brush_operators.h"

#include <algorithm>
#include <cmath>

#include "sculpt/brush_pass.h"

using namespace brush_math;

namespace {

bool SamplerCovers(const TStampSampler& stamp, const TGeosphera& e) {
  if (stamp.width <= 0 || stamp.height <= 0) return false;
  const size_t cells = (static_cast<size_t>(stamp.width) + 1) * (static_cast<size_t>(stamp.height) + 1);
  return stamp.heights.size() >= cells &&
         e.normals.size() >= static_cast<size_t>(e.vertexCount) &&
         stamp.coords.size() >= static_cast<size_t>(e.vertexCount);
}

// Height under stamp coordinates (u, v): column round(W u), row H - round(H v) - 1,
// both kept inside the grid (v close to 1 would otherwise name row -1).
int32_t StampHeight(const TStampSampler& stamp, const TGLUV& uv) {
  const float w = static_cast<float>(stamp.width), h = static_cast<float>(stamp.height);
  const long column = std::clamp(std::lrint(w * uv.u), 0L, static_cast<long>(stamp.width));
  const long row = std::clamp(stamp.height - std::lrint(h * uv.v) - 1, 0L, static_cast<long>(stamp.height));
  return stamp.heights[static_cast<size_t>(column) * static_cast<size_t>(stamp.height + 1) + static_cast<size_t>(row)];
}

}  // namespace

void ApplyStamp(TGeosphera& e, const TBrushFrame& frame, const TStampSampler* stamp) {
  if (!stamp || !BrushCanApply(e, frame) || !SamplerCovers(*stamp, e)) return;
  const float k = 4 * frame.strength;
  ForEachBrushSide(e, frame, [&](const TBrushSide& side) {
    ForEachMovableEntry(e, side.footprint.entries, frame.radius, BrushRim::Included,
                        [&](TGLCoord& p, float, const TContsel& entry) {
                          const size_t v = static_cast<size_t>(entry.vertex);
                          const float pixel = static_cast<float>(StampHeight(*stamp, stamp->coords[v]));
                          p = p + e.normals[v] * (pixel * k);
                        });
  });
}

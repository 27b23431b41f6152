#include "sculpt/brush_operators.h"

#include <cmath>

#include "sculpt/brush_pass.h"

using namespace brush_math;

void ApplyScar(TGeosphera& e, const TBrushFrame& frame) {
  const float s = frame.strength, r = frame.radius;
  const float sign = frame.sign < 0 ? -1.0f : 1.0f;
  ForEachBrushSide(e, frame, [&](const TBrushSide& side) {
    if (!IsVertexOf(e, side.footprint.pickedVertex)) return;
    const size_t c = static_cast<size_t>(side.footprint.pickedVertex);
    ForEachMovableEntry(e, side.footprint.entries, r, BrushRim::Included, [&](TGLCoord& p, float, const TContsel& entry) {
      const float d = entry.distance;
      if (d >= 0.2f * r) {
        const TGLCoord centre = e.vertices[c];
        p = p - (p - centre) * (s * (r - d) * 15);
      } else {
        // The core is scaled about the model origin.
        p = p * std::fabs(s * (r - d) - sign);
      }
    });
  });
}

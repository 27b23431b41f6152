#include "sculpt/brush_operators.h"

#include "sculpt/brush_pass.h"

using namespace brush_math;

void ApplyFlatten(TGeosphera& e, const TBrushFrame& frame) {
  const float k = frame.strength * frame.radius;
  ForEachBrushSide(e, frame, [&](const TBrushSide& side) {
    const TGLCoord n = side.footprint.normal;
    const TGLCoord plane = side.footprint.centre;
    ForEachMovableEntry(e, side.footprint.entries, frame.radius, BrushRim::Included,
                        [&](TGLCoord& p, float t, const TContsel&) {
                          const float h = Dot(p - plane, n);
                          if (h >= 0 && t < 1) p = p - n * (h * Falloff(t) * k);
                        });
  });
}

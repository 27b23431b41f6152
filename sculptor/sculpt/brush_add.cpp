#include "sculpt/brush_operators.h"

#include "sculpt/brush_pass.h"

using namespace brush_math;

void ApplyAdd(TGeosphera& e, const TBrushFrame& frame) {
  const float k = frame.strength * frame.radius * (frame.sign < 0 ? -1.0f : 1.0f);
  ForEachBrushSide(e, frame, [&](const TBrushSide& side) {
    const TGLCoord n = side.footprint.normal;
    ForEachMovableEntry(e, side.footprint.entries, frame.radius, BrushRim::Included,
                        [&](TGLCoord& p, float t, const TContsel&) { p = p + n * (Falloff(t) * k); });
  });
}

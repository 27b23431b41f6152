#include "sculpt/brush_operators.h"

#include "sculpt/brush_pass.h"

using namespace brush_math;

void ApplyGrab(TGeosphera& e, const TBrushFrame& frame) {
  ForEachBrushSide(e, frame, [&](const TBrushSide& side) {
    const TGLCoord delta = side.grabDelta;
    // The grabbed vertex itself (d = 0) counts as lying at 0.000001.
    const float nearest = 0.000001f / frame.radius;
    ForEachMovableEntry(e, side.footprint.entries, frame.radius, BrushRim::Excluded,
                        [&](TGLCoord& p, float t, const TContsel&) {
                          p = p + delta * (Falloff(t == 0 ? nearest : t) * 0.05f);
                        });
  });
}

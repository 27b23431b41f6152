#include "sculpt/brush_operators.h"

#include "sculpt/brush_pass.h"

using namespace brush_math;

namespace {

// v - (v - c) w + N h depthDirection, with w = f(t) scale s and
// h = f(t)^5 scale s r; f is Crease's own curve on the direct side when asked.
void CutAtCentre(TGeosphera& e, const TBrushFrame& frame, float scale, float depthDirection, bool creaseCurve) {
  const float k = scale * frame.strength;
  ForEachBrushSide(e, frame, [&](const TBrushSide& side) {
    if (!IsVertexOf(e, side.footprint.pickedVertex)) return;
    const size_t c = static_cast<size_t>(side.footprint.pickedVertex);
    const TGLCoord n = side.footprint.normal;
    const bool ownCurve = creaseCurve && !side.mirrored;
    ForEachMovableEntry(e, side.footprint.entries, frame.radius, BrushRim::Included,
                        [&](TGLCoord& p, float t, const TContsel&) {
                          const float f = ownCurve ? CreaseFalloff(t) : Falloff(t);
                          const float f2 = f * f;
                          const float w = f * k;
                          const float h = f2 * f2 * f * k * frame.radius;
                          const TGLCoord centre = e.vertices[c];
                          p = p - (p - centre) * w + n * (h * depthDirection);
                        });
  });
}

}  // namespace

void ApplyCrease(TGeosphera& e, const TBrushFrame& frame) { CutAtCentre(e, frame, 5, -1, true); }

void ApplyGroove(TGeosphera& e, const TBrushFrame& frame) { CutAtCentre(e, frame, 3, +1, false); }

#include "sculpt/brush_operators.h"

#include "sculpt/brush_pass.h"

using namespace brush_math;

namespace {

// v - (v - c) g(t) 10s direction: towards the centre vertex c for +1.
void PullTowardsCentre(TGeosphera& e, const TBrushFrame& frame, float direction) {
  const float k = 10 * frame.strength * direction;
  ForEachBrushSide(e, frame, [&](const TBrushSide& side) {
    if (!IsVertexOf(e, side.footprint.pickedVertex)) return;
    const size_t c = static_cast<size_t>(side.footprint.pickedVertex);
    ForEachMovableEntry(e, side.footprint.entries, frame.radius, BrushRim::Included,
                        [&](TGLCoord& p, float t, const TContsel&) {
                          const TGLCoord centre = e.vertices[c];
                          p = p - (p - centre) * (Falloff(t) * k);
                        });
  });
}

}  // namespace

void ApplyPinch(TGeosphera& e, const TBrushFrame& frame) { PullTowardsCentre(e, frame, +1); }

void ApplyUnpinch(TGeosphera& e, const TBrushFrame& frame) { PullTowardsCentre(e, frame, -1); }

#include "sculpt/brush_operators.h"

#include <algorithm>
#include <cmath>

#include "sculpt/brush_pass.h"

namespace {

// Weight of the paint at list position `index`, distance d.
double PaintWeight(int32_t mode, size_t index, float d, float radius) {
  switch (mode) {
    case kPaintSoft:
      return 1.0 - static_cast<double>(d) / radius;
    case kPaintDithered:
      return index % 2 == 1 ? 0.0 : 1.0 - static_cast<double>(d) / radius;
    default:
      return 1.0;
  }
}

uint8_t Blend(uint8_t old, double weightAlpha, uint8_t target) {
  const double mixed = old / 255.0 * (1 - weightAlpha) + weightAlpha * (target / 255.0);
  return static_cast<uint8_t>(std::clamp(std::nearbyint(mixed * 255), 0.0, 255.0));
}

void PaintEntries(TGeosphera& e, const ATContsel& entries, float radius, const TPaintState& paint) {
  const double alpha = paint.color.a / 255.0;
  for (size_t i = 0; i < entries.size(); ++i) {
    const TContsel& entry = entries[i];
    if (!(entry.distance <= radius) || !IsVertexOf(e, entry.vertex)) continue;
    const size_t v = static_cast<size_t>(entry.vertex);
    if (e.vertexState[v] == kVertexFrozen) continue;
    const double weightAlpha = PaintWeight(paint.mode, i, entry.distance, radius) * alpha;
    TRGBA& c = e.colors[v];
    c.r = Blend(c.r, weightAlpha, paint.color.r);
    c.g = Blend(c.g, weightAlpha, paint.color.g);
    c.b = Blend(c.b, weightAlpha, paint.color.b);
  }
}

}  // namespace

void ApplyVertexPainting(TGeosphera& e, const TBrushFrame& frame, const TPaintState& paint) {
  if (!BrushCanApply(e, frame) || e.colors.size() < static_cast<size_t>(e.vertexCount)) return;
  PaintEntries(e, frame.direct.entries, frame.radius, paint);
  if (frame.symmetry) PaintEntries(e, frame.mirror.entries, frame.radius, paint);
}

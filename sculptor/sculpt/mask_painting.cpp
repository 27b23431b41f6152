#include "sculpt/brush_operators.h"

#include "sculpt/brush_pass.h"

namespace {

void FreezeEntries(TGeosphera& e, const ATContsel& entries, float radius) {
  for (const TContsel& entry : entries) {
    if (entry.distance <= radius && IsVertexOf(e, entry.vertex)) {
      e.vertexState[static_cast<size_t>(entry.vertex)] = kVertexFrozen;
    }
  }
}

}  // namespace

void ApplyMaskPainting(TGeosphera& e, const TBrushFrame& frame) {
  if (!BrushCanApply(e, frame)) return;
  FreezeEntries(e, frame.direct.entries, frame.radius);
  if (frame.symmetry) FreezeEntries(e, frame.mirror.entries, frame.radius);
}

#include "sculpt/stencil_painting.h"

#include <algorithm>
#include <cmath>

namespace {

std::optional<int> ToPixel(double value) {
  if (!(std::fabs(value) < 1e6)) return std::nullopt;
  return static_cast<int>(std::nearbyint(value));
}

void PaintSide(TGeosphera& e, const ATContsel& entries, float radius, const StrokeProjection& view,
               StencilPicture& picture) {
  const size_t count = static_cast<size_t>(std::max(e.vertexCount, 0));
  if (e.colors.size() < count || e.vertexState.size() < count || e.vertices.size() < count) return;
  const int height = picture.StencilHeight();
  for (const TContsel& entry : entries) {
    const size_t v = static_cast<size_t>(entry.vertex);
    if (!(entry.distance <= radius) || entry.vertex < 0 || v >= count || e.vertexState[v] == kVertexFrozen) continue;
    const TScreenPoint at = view.Project(e.vertices[v]);
    const std::optional<int> x = ToPixel(at.x), y = ToPixel(at.y);
    if (!x || !y) continue;
    if (const std::optional<TRGBA> pixel = picture.StencilPixel(*x, height - *y - 1)) e.colors[v] = *pixel;
  }
}

}  // namespace

void ApplyStencilPainting(TGeosphera& e, const TBrushFrame& frame, const StrokeProjection& view,
                          StencilPicture& picture) {
  PaintSide(e, frame.direct.entries, frame.radius, view, picture);
  if (frame.symmetry) PaintSide(e, frame.mirror.entries, frame.radius, view, picture);
}

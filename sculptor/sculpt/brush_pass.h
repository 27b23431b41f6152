// The passes the brush operators share: which sides run, and the walk over one
// side's entries with the radius and mask tests. Used by the operator sources.
#pragma once

#include <cstddef>
#include <cstdint>

#include "sculpt/brush_frame.h"

// What one side of an application works with.
struct TBrushSide {
  const TFootprint& footprint;
  TGLCoord grabDelta;
  bool mirrored;
};

// Vector arithmetic of the operators, kept out of the global namespace.
namespace brush_math {
inline TGLCoord operator+(const TGLCoord& a, const TGLCoord& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline TGLCoord operator-(const TGLCoord& a, const TGLCoord& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline TGLCoord operator*(const TGLCoord& a, float k) { return {a.x * k, a.y * k, a.z * k}; }
inline float Dot(const TGLCoord& a, const TGLCoord& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
}  // namespace brush_math

// True when the element's per-vertex arrays cover `vertexCount` and the radius
// is positive (operators touch nothing otherwise: t = d / r needs r > 0).
inline bool BrushCanApply(const TGeosphera& e, const TBrushFrame& frame) {
  const size_t n = static_cast<size_t>(e.vertexCount < 0 ? 0 : e.vertexCount);
  return e.vertices.size() >= n && e.vertexState.size() >= n && frame.radius > 0;
}

inline bool IsVertexOf(const TGeosphera& e, int32_t v) { return v >= 0 && v < e.vertexCount; }

// Runs `pass` on the direct side, then on the mirrored side when symmetry is on
// and the mirror has a centre vertex inside the element and entries.
template <typename Pass>
void ForEachBrushSide(const TGeosphera& e, const TBrushFrame& frame, Pass&& pass) {
  if (!BrushCanApply(e, frame)) return;
  pass(TBrushSide{frame.direct, frame.grabDelta, false});
  const TFootprint& mirror = frame.mirror;
  if (frame.symmetry && IsVertexOf(e, mirror.pickedVertex) && !mirror.entries.empty()) {
    pass(TBrushSide{mirror, MirrorAcrossZ(frame.grabDelta), true});
  }
}

// Whether an entry at distance exactly r belongs to the pass (Grab leaves it out).
enum class BrushRim { Included, Excluded };

// Walks the entries in list order: skips those beyond the radius, frozen ones and
// indices outside the element; marks the others touched and calls
// move(position, t, entry) with t = d / r, on the current position.
template <typename Move>
void ForEachMovableEntry(TGeosphera& e, const ATContsel& entries, float radius, BrushRim rim, Move&& move) {
  uint8_t* state = e.vertexState.data();
  TGLCoord* positions = e.vertices.data();
  const uint32_t count = static_cast<uint32_t>(e.vertexCount);
  for (const TContsel& entry : entries) {
    const float d = entry.distance;
    if (rim == BrushRim::Included ? !(d <= radius) : !(d < radius)) continue;
    const uint32_t v = static_cast<uint32_t>(entry.vertex);
    if (v >= count || state[v] == kVertexFrozen) continue;
    state[v] = kVertexTouched;
    move(positions[v], d / radius, entry);
  }
}

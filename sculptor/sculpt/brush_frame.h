// The frame every brush operator shares: the two footprints gathered around the
// cursor (direct side and its mirror image across z = 0), their centre vertices,
// mean normals and mean positions, and the stroke settings of one application.
#pragma once

#include <cstdint>

#include "model/geosphera.h"

// One side of the brush: the vertices inside the radius and what they share.
struct TFootprint {
  ATContsel entries;          // {vertex, distance to the brush centre}, sorted by SortUnique
  int32_t pickedVertex = -1;  // nearest entry closer than the radius, -1 = none
  TGLCoord normal;            // mean of the entries' normals, not renormalised
  TGLCoord centre;            // mean of the entries' positions
};

struct TBrushFrame {
  TFootprint direct;
  TFootprint mirror;       // used only with symmetry
  bool symmetry = true;
  float strength = 0;      // s: intensity / the brush's divisor
  float radius = 0.4f;     // r, model units
  int sign = +1;           // sigma: -1 for Subtract and the inverse brushes
  TGLCoord grabDelta;      // D; the mirror side uses MirrorAcrossZ(D)
};

// The image of a point or a direction in the symmetry plane z = 0.
inline TGLCoord MirrorAcrossZ(const TGLCoord& p) { return {p.x, p.y, -p.z}; }

// g(t) = 3t^4 - 4t^3 + 1: 1 at the centre, 0 at the rim, flat at both ends.
inline float Falloff(float t) {
  const float t3 = t * t * t;
  return 3 * t3 * t - 4 * t3 + 1;
}

// Crease's own curve on the direct side, g2(t) = 2t^4 - 3t^3 + 1.
inline float CreaseFalloff(float t) {
  const float t3 = t * t * t;
  return 2 * t3 * t - 3 * t3 + 1;
}

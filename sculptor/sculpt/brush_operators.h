// The brush operators: each moves (or masks, or recolours) the vertices of the
// frame's footprints in place, direct side first, then the mirrored side.
// Shape operators skip frozen vertices (state 2) and mark the others they reach
// touched (state 1); entries are processed in list order, so an operator that
// reads neighbours sees those already moved, and a vertex in both footprints is
// moved twice. Operators that pull towards the centre vertex skip a side whose
// centre vertex is -1.
#pragma once

#include <cstdint>
#include <vector>

#include "sculpt/brush_frame.h"

// Add (sign +1) and Subtract (sign -1): along the side's mean normal,
// g(t) * s * r * sign.
void ApplyAdd(TGeosphera& e, const TBrushFrame& frame);

// Grab: by the drag delta D, g(t) * 0.05, entries strictly inside the radius.
// Called at every move of a Grab drag with the footprints kept from the press.
void ApplyGrab(TGeosphera& e, const TBrushFrame& frame);

// Pinch / Unpinch: towards / away from the centre vertex, g(t) * 10s.
void ApplyPinch(TGeosphera& e, const TBrushFrame& frame);
void ApplyUnpinch(TGeosphera& e, const TBrushFrame& frame);

// Crease: towards the centre vertex and into the surface (its own curve on the
// direct side); Groove: towards the centre vertex and out along the normal.
void ApplyCrease(TGeosphera& e, const TBrushFrame& frame);
void ApplyGroove(TGeosphera& e, const TBrushFrame& frame);

// Scar: a linear pull towards the centre vertex outside the core (d >= 0.2r),
// the core scaled about the origin by |s(r - d) - sign|.
void ApplyScar(TGeosphera& e, const TBrushFrame& frame);

// Smooth: (1 - s) v + s A(v), A the mean of the corners of v's triangles.
// Reports "Error smooth" when the adjacency does not fit the element.
void ApplySmooth(TGeosphera& e, const TBrushFrame& frame);

// Wax: raises what lies below the plane through P + N 0.1 sqrt(r), normal N.
void ApplyWax(TGeosphera& e, const TBrushFrame& frame);

// Flatten: lowers what lies above the plane through P, normal N.
void ApplyFlatten(TGeosphera& e, const TBrushFrame& frame);

// Inflate / Deflate: along each vertex's own normal, g(t) * 0.5 * s * r.
void ApplyInflate(TGeosphera& e, const TBrushFrame& frame);
void ApplyDeflate(TGeosphera& e, const TBrushFrame& frame);

// Heights of the stamp image wrapped around the element.
struct TStampSampler {
  int32_t width = 0, height = 0;  // W x H of the sampling grid
  std::vector<int32_t> heights;   // (W + 1) x (H + 1) heights, [column][row] = column * (H + 1) + row
  Tuv coords;                     // per-vertex stamp coordinates (u, v) in [0, 1)
};

// Stamp: along each vertex's own normal by 4 * height * s, no falloff. Moves
// nothing without a sampler whose grid and coordinates cover the element.
void ApplyStamp(TGeosphera& e, const TBrushFrame& frame, const TStampSampler* stamp);

// Freeze and selection painting: state 2 on every entry within the radius
// (both sides with symmetry, whatever the centre vertices).
void ApplyMaskPainting(TGeosphera& e, const TBrushFrame& frame);

enum TPaintMode : int32_t { kPaintHard = 0, kPaintSoft = 1, kPaintDithered = 3 };

struct TPaintState {
  TRGBA color{255, 255, 255, 255};  // the alpha byte is the paint's opacity
  int32_t mode = kPaintHard;
};

// Vertex painting: blends the paint colour into the R, G, B bytes of the
// entries that are not frozen; the mask is left alone. Hard weight 1, soft
// 1 - d/r, dithered 1 - d/r at even list positions and 0 at odd ones. The
// mirrored side is painted whenever symmetry is on.
void ApplyVertexPainting(TGeosphera& e, const TBrushFrame& frame, const TPaintState& paint);

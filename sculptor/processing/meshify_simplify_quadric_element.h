// "Process" of "Mesh Reduction" on one element: its triangles and positions go
// through ReduceMesh and the result is written back with everything that
// belongs to a vertex or a triangle following it.
#pragma once

#include "model/geosphera.h"

// The command's fixed settings.
inline constexpr double kReductionAggressiveness = 5.0;
inline constexpr bool kReductionNormalisesScale = true;

// The triangle count `percent` % of `triangles` asks for, rounded to nearest
// with halves to even.
int ReductionTarget(int64_t triangles, int percent);

// Reduces the element to `percent` % of its triangles (nothing is reduced
// below 4, above 100 % or on fewer than 5 triangles or vertices, and the
// element is then rewritten with its own data) and rebuilds valence, adjacency
// and normals. Every remaining vertex keeps its own colour, mask and
// per-vertex texture coordinate; texture triangles (OBJ) follow their
// triangles. The element has no subdivision levels afterwards, and the quad,
// half-edge and occlusion lists of the old mesh are dropped.
// Returns the adjacency width (largest valence + 1) for the scene; 0 when the
// refresh failed (BuildAdjacency has reported why). Throws std::bad_alloc,
// leaving the element as it was, when the reduction runs out of memory.
int ReduceElement(TGeosphera& e, int percent);

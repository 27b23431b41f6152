// Topology derived from an element's triangle list: valence, vertex-to-triangle
// adjacency, vertex normals, centre, quads, half-edges and unused-vertex removal.
// Usual refresh order after a change: ComputeValence, BuildAdjacency,
// RecomputeAllNormals.
#pragma once

#include <functional>

#include "model/geosphera.h"

// Fills `valence` (saturating at 255); returns the largest valence + 1
// (0 for a mesh without triangles). Callers store it as the adjacency width.
int ComputeValence(TGeosphera& e);

// Fills `adjacency` with rows of `width` corners. A full row drops further
// corners. Reports "Not enough memory to complete this operation." when the
// table cannot be allocated; returns false on any failure.
bool BuildAdjacency(TGeosphera& e, int width);

// Unit normal of the triangle (a, b, c), from (a - b) x (b - c), normalised
// with an approximate reciprocal square root. NaN components when degenerate.
TGLCoord FaceNormal(const TGLCoord& a, const TGLCoord& b, const TGLCoord& c);

// Mean of the vertex positions, summed in single precision in vertex order.
TGLCoord ElementCenter(const TGeosphera& e);

// Normals of every vertex from the adjacency (degenerate triangles count as
// zero). Also trims `vertices` to `vertexCount`. Returns false on failure.
bool RecomputeAllNormals(TGeosphera& e);

// Normals of the vertices whose flag is non-zero only. Reports
// "Error in vertex normal creating! Error 94" and returns false on failure.
bool RecomputeFlaggedNormals(TGeosphera& e, const TSelect& flags);

// Normals under the brush during a stroke: each footprint vertex averages the
// triangles that have a touched or frozen vertex. `upload` receives every
// recomputed normal (the renderer sends it into the normal buffer).
// `mirror` is the mirrored footprint, or nullptr without symmetry.
// Returns the number of triangles used.
using NormalUpload = std::function<void(int32_t vertex, const TGLCoord& normal)>;
int UpdateFootprintNormals(TGeosphera& e, const ATContsel& footprint, const ATContsel* mirror,
                           const NormalUpload& upload);

// quads = (a, b, c, d) of each full triangle pair (a, b, c), (a, c, d).
void BuildQuadList(TGeosphera& e);

// One half-edge per corner with its neighbour triangle (needs the adjacency).
// Reports "Error creating Edge List 1! Error 04" and returns false on failure.
bool BuildEdgeList(TGeosphera& e);

// Removes vertices used by no triangle (valence must be current), renumbering
// faces and compacting positions, normals, colours, valence and adjacency rows.
// Returns the number removed.
int RemoveVertexUnused(TGeosphera& e, int width);

// Multiresolution: "Subdivide" splits every triangle of the current element
// into four and smooths with Loop's vertex rule; "UnSubdivide" merges each
// group of four back into the triangle it came from. The element counts its
// levels (`subdivLevel`), keeps its vertex count per level
// (`levelVertexCounts`) and what UnSubdivide checks (`levelChecks`).
#pragma once

#include <cstdint>
#include <functional>

#include "model/geosphera.h"
#include "model/scene.h"

inline constexpr const char* kLevelBelowLoadMesh = "Level can not be less than the load mesh!!";
inline constexpr const char* kResolutionFailed = "Level can not be less than the load mesh!!235";
inline constexpr const char* kNotEnoughMemory = "Not enough memory to complete this operation.";

// The undo steps of the commands; an empty function is skipped (headless use).
struct TResolutionUndo {
  std::function<void(TScene&)> takeSnapshot;     // full snapshot of the current element
  std::function<void(TScene&)> restoreSnapshot;  // back to the newest snapshot
};

// 1-to-4 split of every triangle: new vertices at the edge midpoints, numbered
// from `vertexCount` on in first-seen edge order, with the mean colour and,
// where the element has texture coordinates, the mean coordinate. Leaves
// valence, adjacency and normals stale; clears the mask. Throws on a corner
// outside the vertices (the element is then unchanged).
void SplitTriangles(TGeosphera& e);

// Loop's weight for a vertex of k incident triangles:
// 1.67 - 2.67 x (0.375 + 0.25 cos(2 pi / k))^2.
float LoopWeight(int k);

// Loop smoothing of every vertex with an incident triangle (with
// `touchedOnly`, only of those whose mask is 1). Each triangle (p0, p1, p2)
// adds 0.25 p0 + 0.375 (p1 + p2) to its three corners' sums; a vertex with
// k incident triangles and mean A moves to A when k = 6, else to
// v + (A - v) w(k).
void LoopSmooth(TGeosphera& e, bool touchedOnly);

// True when the triangles still have the group-of-four order that the
// subdivision to the current level produced: the element has a level, each
// group of four consecutive triangles has the split's shape, and when this
// session recorded that subdivision, its triangle count and the checksum of
// the triangles it split match.
bool HasSubdivisionOrder(const TGeosphera& e);

// 4-to-1 merge: each group of four becomes the triangle of the first corners of
// its first three triangles (texture triangles alike); clears the mask. The
// midpoints stay as unused vertices. Call only after HasSubdivisionOrder.
void MergeTriangles(TGeosphera& e);

// The whole change of one step on the bare element: split or merge, valence,
// Loop smoothing (subdivide only), removal of unused vertices, adjacency and
// normals, and the level bookkeeping. Returns the adjacency width (the largest
// valence + 1). Throws std::bad_alloc when memory ran out, other exceptions on
// a damaged element.
int SubdivideElement(TGeosphera& e);
int UnsubdivideElement(TGeosphera& e);

// The step both commands share, on the current element: the undo snapshot,
// SubdivideElement or UnsubdivideElement, its failure messages and the
// refresh of buffers, screen grids and view. True when the element changed.
bool ChangeResolution(TScene& scene, bool unsubdivide, const TResolutionUndo& undo);

// The commands on the current element: the undo snapshot, the change, the
// messages, and the refresh through the scene's host (level label, footprints,
// buffers, screen grids, redraw) by ChangeResolution. UnSubdivide at level 0, or after the triangle
// order was broken, warns kLevelBelowLoadMesh and changes nothing. Both return
// true when the element changed.
bool Subdivide(TScene& scene, const TResolutionUndo& undo);
bool Unsubdivide(TScene& scene, const TResolutionUndo& undo);

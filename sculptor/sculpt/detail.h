// "Detail": local refinement of the selected region (mask 2). Triangles whose
// three vertices are selected split into four; their neighbours split into
// two or three along the new midpoints, so no T-junction remains. The level
// of the element does not change, but the group-of-four order is gone.
#pragma once

#include <cstdint>

#include "model/geosphera.h"
#include "model/scene.h"
#include "sculpt/subdivision.h"

inline constexpr const char* kDetailFailed = "Error Details Subdivision";
inline constexpr const char* kDetailRefinementFailed = "Error GrabSubdivideLoop";
inline constexpr const char* kDetailMidpointFailed = "Error GrabComputeMidPoint1";

// Refines the selection of `e`: midpoints (mean position, colour and texture
// coordinate) for the edges of fully selected triangles, then every triangle
// split by the number of its edges that have one. The vertices of every split
// triangle get mask 1 and are listed in `affected` (ascending, each once, with
// its distance to `pickedVertex`, 0 when that is no vertex). When anything was
// split, the affected vertices are Loop-smoothed and the normals around them
// recomputed; the adjacency is rebuilt. Returns the number of triangles split.
// Throws on failure, the message to show as its what(); the element is then
// unchanged up to the smoothing.
int RefineSelection(TGeosphera& e, int32_t pickedVertex, ATContsel& affected);

// The command on the current element: two full undo snapshots (two undo steps
// lead back), the refinement, the refresh, and a clear mask. A failure shows
// its message and kDetailFailed and restores the snapshot. True when
// something was split.
bool Detail(TScene& scene, int32_t pickedVertex, ATContsel& affected, const TResolutionUndo& undo);

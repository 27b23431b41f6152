// Footprint gathering without the screen: the stroke (stroke.h) looks the candidate
// vertices up in its screen grids; these functions keep the ones inside the
// brush, in the order given (grid columns outer, rows inner, cell lists in
// order), and derive what the operators share.
#pragma once

#include <cstdint>
#include <span>

#include "sculpt/brush_frame.h"

// Keeps the candidates within `radius` (d <= r) of `brushCentre`, with their
// mean normal and mean position, picks the nearest one strictly closer than the
// radius, and orders the entries with SortUnique. Candidates that are -1 (empty
// grid cells) or no vertex of the element are skipped. With no entry the
// footprint is empty, its means zero and its picked vertex -1.
void GatherFootprint(const TGeosphera& e, std::span<const int32_t> candidates, const TGLCoord& brushCentre,
                     float radius, TFootprint& footprint);

// The nearest candidate strictly closer than `radius` to `brushCentre`, or -1:
// the pick of a hovering move, which needs no footprint.
int32_t PickFootprintVertex(const TGeosphera& e, std::span<const int32_t> candidates, const TGLCoord& brushCentre,
                            float radius);

// Both footprints of one application, at frame.radius: the direct side around
// `cursorPoint` from the main grid's candidates, and with frame.symmetry the
// mirrored side around MirrorAcrossZ(cursorPoint) from the mirror grid's
// candidates (emptied without symmetry).
void GatherBrushFrame(const TGeosphera& e, std::span<const int32_t> directCandidates,
                      std::span<const int32_t> mirrorCandidates, const TGLCoord& cursorPoint, TBrushFrame& frame);

// Sorts by the bytes of each 8-byte record in memory order (so by the
// little-endian bytes of `vertex` first, not numerically) and drops entries
// equal in both fields to the one before; the same vertex at two distances stays.
void SortUnique(ATContsel& list);

// Ascending, without duplicate values.
void SortUnique(TAinteger& list);

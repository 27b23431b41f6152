// The one entry of a brush application: the stroke pipeline gathers the frame
// (footprint.h) and calls ApplyBrush, which runs the selected operator over the
// direct footprint and, with symmetry, over the mirrored one. One mouse move:
//   GatherBrushFrame(e, directCandidates, mirrorCandidates, cursorPoint, frame);
//   ApplyBrush(e, frame, tool);
//   (write the entries' positions, or colours when painting, into the buffers)
//   UpdateFootprintNormals(e, frame.direct.entries,
//                          frame.symmetry ? &frame.mirror.entries : nullptr, upload);
// A Grab drag gathers once at the press and then only sets frame.grabDelta and
// calls ApplyGrab (or ApplyBrush) with the footprints kept from the press.
#pragma once

#include "sculpt/brush_frame.h"
#include "sculpt/brush_operators.h"
#include "sculpt/brush_table.h"

// What a left drag does: shape the mesh with the operator of `sculptMode`, or
// paint the mask (freeze and selection modes) or the vertex colours.
enum class TBrushTarget { Shape, Freeze, Selection, Paint };

struct TBrushTool {
  TBrushTarget target = TBrushTarget::Shape;
  int32_t sculptMode = kSculptAdd;
  TPaintState paint;                     // paint mode
  const TStampSampler* stamp = nullptr;  // Stamp; none until a stamp image is chosen
};

// Applies `tool` once to the frame's footprints. Nothing happens when the
// direct footprint is empty or `sculptMode` names no operator (2, 12).
void ApplyBrush(TGeosphera& e, const TBrushFrame& frame, const TBrushTool& tool);

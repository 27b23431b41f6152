// The state of the stroke pipeline: what the viewport's mouse handlers keep
// between events (the drag, the cursor point, the footprints, the Grab drag,
// the temporary brushes) and the two screen grids of the picking.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "render/view_math.h"
#include "sculpt/brush_dispatch.h"
#include "sculpt/screen_grid.h"

enum TButtonState { kNoButton = 0, kLeftButton = 1, kMiddleButton = 2, kRightButton = 3 };

struct TStrokeState {
  TBrushFrame frame;  // both footprints and the settings of the last application
  int32_t sculptMode = kSculptAdd;
  int32_t brushSign = +1;
  int buttonState = kNoButton;
  int lastX = 0, lastY = 0;  // framebuffer pixels from the top
  int32_t pickedVertex = -1, mirrorPickedVertex = -1;
  TGLCoord cursorPoint, mirrorCursorPoint;
  TWindowPoint cursorScreen, mirrorCursorScreen;
  int32_t grabVertex = -1, grabMirrorVertex = -1;
  TGLCoord grabStart, grabCurrent;
  int moveCounter = 0;
  bool strokeOnSurface = false;
  int normalTriangles = 0;  // of the last footprint normal update
  // The RadioModel item a temporary brush (Shift second brush, Alt inverse
  // brush) replaced for the stroke.
  std::optional<int> secondBrushItem, inverseBrushItem;

  // Paint mode and its colour capture (the paint panel).
  bool paintMode = false;
  bool captureArmed = false;
  TPaintState paint;

  TScreenGrid grid, mirrorGrid;
  bool gridsStale = true;  // rebuilt before the next lookup
  std::vector<int32_t> directCandidates, mirrorCandidates;
};

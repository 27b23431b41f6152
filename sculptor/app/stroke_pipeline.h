// What the viewport's mouse handlers keep between events besides the stroke
// itself (sculpt/stroke.h): the button of the drag, the last position, and
// the brush items the temporary brushes of a stroke replaced.
#pragma once

#include <optional>

enum TButtonState { kNoButton = 0, kLeftButton = 1, kMiddleButton = 2, kRightButton = 3 };

struct TViewportDrag {
  int buttonState = kNoButton;
  int lastX = 0, lastY = 0;  // framebuffer pixels from the top
  // The RadioModel item a temporary brush (Shift second brush, Alt inverse
  // brush) replaced for the stroke.
  std::optional<int> secondBrushItem, inverseBrushItem;
};

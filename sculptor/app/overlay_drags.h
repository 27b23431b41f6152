// Moving, turning and scaling the picture over the viewport (the projection
// stencil in its mode, the reference image in its): while the "Move Stencil",
// "Rotate Stencil" or "Scale Stencil" keys are held, middle, right and left
// drags act on the picture instead of the view or the mesh. The drags give
// positions in framebuffer pixels from the top; the picture's offset counts
// from the bottom.
#pragma once

#include <functional>

class TDocument;
struct TImageOverlay;

class TOverlayDrags {
 public:
  // `keysDown(command)`: whether the shortcut command's keys (TShortcutCommand) are held now.
  TOverlayDrags(TDocument& doc, std::function<bool(int command)> keysDown);

  // The picture the drags act on now, or nullptr outside both modes.
  TImageOverlay* ActiveOverlay();

  // A middle drag from (lastX, lastY) to (x, y): with the move keys held the
  // offset follows the pointer; true when the picture took the drag.
  bool Move(int lastX, int lastY, int x, int y);
  // A right drag: with the rotate keys held the angle grows by 0.8 per event
  // while the pointer is above the press point, and shrinks by 0.8 otherwise.
  bool Rotate(int pressY, int y);
  // A left drag: with the scale keys held both scale factors grow by 0.1 per
  // event when the pointer moved up, and shrink by 0.1 otherwise; strokes do
  // nothing meanwhile.
  bool Scale(int lastY, int y);
  // The button went up: the picture's drags end.
  void EndDrags();

 private:
  bool Held(int command);

  TDocument& doc_;
  std::function<bool(int)> keysDown_;
};

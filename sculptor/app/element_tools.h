// The element transforms of the element panel: Position (the element follows
// the pointer; two presses put it down), Rotate (drags on the rotation handle
// turn it) and Dimension (vertical drags and the wheel scale it), and their
// share of the viewport's input: while one is on, the viewport's mouse
// handlers offer each event here first.
#pragma once

#include <QObject>

class TDocument;

class TElementTools : public QObject {
  Q_OBJECT

 public:
  explicit TElementTools(TDocument& doc) : doc_(doc) {}

  // Rotate and Dimension on or off (at most one is on).
  void SetRotateMode(bool on);
  void SetDimensionMode(bool on);
  // Rotate and Dimension off, and a pending placement put down.
  void EndElementTransforms();
  // "Position": the current element follows the pointer, held about its
  // centre, until two presses put it down.
  void StartPlacement();
  // Puts down the current element where it is.
  void PutDownPlacedElement();
  // Forgets the drag (the current element changed).
  void ClearDrag() { drag_ = {}; }

  // The viewport's events; each returns true when it took the event. (x, y)
  // are framebuffer pixels from the top.
  bool ElementToolPress(int x, int y);
  bool ElementToolMove(int x, int y, bool leftDown);
  bool ElementToolRelease();
  bool ElementToolWheel(int notches);

 signals:
  void rotateModeChanged(bool on);
  void dimensionModeChanged(bool on);

 private:
  // The two presses of a placement; the second puts the element down.
  bool PlacementPress();
  // The rotation handle's vertex nearest to (x, y) on screen, -1 when none is close.
  int PickHandleVertex(int x, int y) const;
  void UploadCurrentElement();

  // The drag: the picked handle vertex (-1 none), the last pointer position,
  // whether the press was taken.
  struct TElementDrag {
    int handleVertex = -1;
    int lastX = 0, lastY = 0;
    bool pressTaken = false;
  };

  TDocument& doc_;
  TElementDrag drag_;
};

// The element transforms of the element panel: Position (two presses),
// Rotate (drags on the rotation handle) and Dimension (drags and the wheel
// scale the element), and their share of the viewport input.
#include <QCursor>
#include <QToolButton>

#include "app/floating_panel.h"
#include "app/form_main.h"
#include "model/topology.h"
#include "render/panel_centro.h"
#include "sculpt/element_transform.h"

namespace {

// A handle vertex is picked when its projection lies this close to the pointer.
constexpr double kHandlePickPixels = 6;

void SetCamera(TCamera& camera, double pitch, double yaw) {
  camera.pitch = pitch;
  camera.yaw = yaw;
}

}  // namespace

void TFormMain::SetRotateMode(bool on) {
  if (on) {
    SetDimensionMode(false);
    elementDrag_ = {};
    PlaceHandleAt(scene_.rotateGizmo, scene_.current().center);
  } else if (Modes().rotate) {
    centro_->unsetCursor();
  }
  Modes().rotate = on;
  SpeedRotate->setChecked(on);
  scene_.host->RebuildScreenGrids(scene_);
  Redraw();
}

void TFormMain::SetDimensionMode(bool on) {
  if (on) {
    SetRotateMode(false);
    PlaceHandleAt(scene_.rotateGizmo, scene_.current().center);
    centro_->setCursor(Qt::SizeVerCursor);
  } else if (Modes().dimension) {
    centro_->unsetCursor();
  }
  Modes().dimension = on;
  SpeedDimension->setChecked(on);
  scene_.host->RebuildScreenGrids(scene_);
  Redraw();
}

void TFormMain::EndElementTransforms() {
  if (Modes().rotate) SetRotateMode(false);
  if (Modes().dimension) SetDimensionMode(false);
  if (!scene_.elements.empty() && scene_.current().placeState != kPlaced) PutDownPlacedElement();
}

void TFormMain::SpeedRotateClick() {
  if (RefusedInTextureMode()) {
    SpeedRotate->setChecked(Modes().rotate);
    return;
  }
  SetRotateMode(!Modes().rotate);
}

void TFormMain::SpeedDimensionClick() {
  if (RefusedInTextureMode()) {
    SpeedDimension->setChecked(Modes().dimension);
    return;
  }
  if (Modes().dimension) {
    EndElementTransforms();
  } else {
    SetDimensionMode(true);
  }
}

void TFormMain::SpeedPositionClick() {
  if (RefusedInTextureMode() || scene_.current().placeState != kPlaced) return;
  EndElementTransforms();
  TGeosphera& e = scene_.current();
  // The vertices are held about the element's centre while it moves, so the
  // centre, not the model origin, follows the pointer; the second press
  // bakes the position back into them.
  for (TGLCoord& v : e.vertices) v = {v.x - e.center.x, v.y - e.center.y, v.z - e.center.z};
  e.position = {e.position.x + e.center.x, e.position.y + e.center.y, e.position.z + e.center.z};
  UploadCurrentElement();
  if (const QCursor* move = customCursor("MOVE")) centro_->setCursor(*move);
  const TWindowPoint centre = centro_->ProjectPoint(e.center);
  centro_->inputs().mouseX = static_cast<int>(centre.x);
  centro_->inputs().mouseY = static_cast<int>(centre.y);
  const QPointF widgetPos = QPointF(centre.x, centre.y) / centro_->devicePixelRatioF();
  QCursor::setPos(centro_->mapToGlobal(widgetPos.toPoint()));
  toolPanels.at("PanelEditSphere")->hide();
  e.placeState = kPlaceFollowPick;
  Modes().position = true;
  Redraw();
}

// The presses that place an element following the pointer (after "Position"
// or when a mesh was added to the scene): the first fixes the depth, the
// second puts it down.
bool TFormMain::PlacementPress() {
  TGeosphera& e = scene_.current();
  TRenderState& view = centro_->state();
  if (e.placeState == kPlaceFollowPick) {
    e.placeState = kPlaceFollowXY;
    SetCamera(view.mainCamera, 0, 180);
    SetCamera(view.mirrorCamera, 0, 360);
    scene_.gpu->BindElementArrays(scene_, scene_.currentElement, ArrayMode::Buffers);
    UploadCurrentElement();
    scene_.host->RebuildScreenGrids(scene_);
    Redraw();
  } else {
    PutDownPlacedElement();
  }
  return true;
}

void TFormMain::PutDownPlacedElement() {
  TGeosphera& e = scene_.current();
  TRenderState& view = centro_->state();
  centro_->unsetCursor();
  Modes().position = false;
  SetCamera(view.mainCamera, 0, 270);
  SetCamera(view.mirrorCamera, 0, 270);
  BakePosition(e);
  e.placeState = kPlaced;
  scene_.addPending = false;
  centro_->inputs().addPlacementActive = false;
  RebuildCurrentAdjacency();
  UploadCurrentElement();
  scene_.host->RebuildScreenGrids(scene_);
  Redraw();
}

int TFormMain::PickHandleVertex(int x, int y) const {
  const TGeosphera& handle = scene_.rotateGizmo;
  const size_t count = std::min(static_cast<size_t>(std::max(handle.vertexCount, 0)), handle.vertices.size());
  double best = kHandlePickPixels * kHandlePickPixels;
  int picked = -1;
  for (size_t i = 0; i < count; ++i) {
    const TWindowPoint p = centro_->ProjectPoint(handle.vertices[i]);
    const double d2 = (p.x - x) * (p.x - x) + (p.y - y) * (p.y - y);
    if (d2 < best) {
      best = d2;
      picked = static_cast<int>(i);
    }
  }
  return picked;
}

bool TFormMain::ElementToolPress(int x, int y) {
  elementDrag_.lastX = x;
  elementDrag_.lastY = y;
  elementDrag_.pressTaken = false;
  if (scene_.elements.empty()) return false;
  if (scene_.current().placeState != kPlaced) {
    elementDrag_.pressTaken = PlacementPress();
  } else if (Modes().rotate) {
    elementDrag_.handleVertex = PickHandleVertex(x, y);
    elementDrag_.pressTaken = true;
  } else {
    elementDrag_.pressTaken = Modes().dimension;
  }
  return elementDrag_.pressTaken;
}

bool TFormMain::ElementToolMove(int x, int y, bool leftDown) {
  if (scene_.elements.empty()) return false;
  TGeosphera& e = scene_.current();
  const int dx = elementDrag_.lastX - x, dy = elementDrag_.lastY - y;
  elementDrag_.lastX = x;
  elementDrag_.lastY = y;
  if (e.placeState != kPlaced) {
    centro_->inputs().mouseX = x;
    centro_->inputs().mouseY = y;
  } else if (Modes().rotate && !leftDown) {
    elementDrag_.handleVertex = PickHandleVertex(x, y);
    const QCursor* rotate = customCursor("ROTATE");
    if (elementDrag_.handleVertex >= 0 && rotate) {
      centro_->setCursor(*rotate);
    } else {
      centro_->unsetCursor();
    }
    return true;
  } else if (Modes().rotate && elementDrag_.pressTaken) {
    e.rotation = HandleRotationStep(elementDrag_.handleVertex, dx, dy);
    if (e.rotation == TGLCoord{}) return true;
    ApplyRotationStep(e);
    UploadCurrentElement();
  } else if (Modes().dimension && leftDown && elementDrag_.pressTaken) {
    if (dy != 0) ApplyScaleStep(e, dy > 0);  // moving up shrinks
    UploadCurrentElement();
  } else {
    return Modes().rotate || Modes().dimension;
  }
  Redraw();
  return true;
}

bool TFormMain::ElementToolRelease() {
  const bool taken = elementDrag_.pressTaken;
  elementDrag_.pressTaken = false;
  if (!taken || scene_.elements.empty()) return taken;
  if (Modes().rotate || Modes().dimension) {
    RebuildCurrentAdjacency();
    if (Modes().rotate) RecomputeAllNormals(scene_.current());  // exact again after the turned ones
    UploadCurrentElement();
    scene_.host->RebuildScreenGrids(scene_);
    Redraw();
  }
  return true;
}

bool TFormMain::ElementToolWheel(int notches) {
  if (!Modes().dimension || scene_.elements.empty()) return false;
  for (int i = 0; i < std::abs(notches); ++i) ApplyScaleStep(scene_.current(), notches > 0);
  UploadCurrentElement();
  scene_.host->RebuildScreenGrids(scene_);
  Redraw();
  return true;
}

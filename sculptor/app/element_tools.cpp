#include "app/element_tools.h"

#include <QCursor>
#include <algorithm>
#include <cstdlib>

#include "app/document.h"
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

void TElementTools::UploadCurrentElement() { UploadElementBuffers(doc_.scene(), doc_.scene().currentElement); }

void TElementTools::SetRotateMode(bool on) {
  TScene& scene = doc_.scene();
  if (on) {
    SetDimensionMode(false);
    drag_ = {};
    PlaceHandleAt(scene.rotateGizmo, scene.current().center);
  } else if (doc_.modes().rotate) {
    doc_.viewport().unsetCursor();
  }
  doc_.modes().rotate = on;
  emit rotateModeChanged(on);
  scene.host->RebuildScreenGrids(scene);
  doc_.Redraw();
}

void TElementTools::SetDimensionMode(bool on) {
  TScene& scene = doc_.scene();
  if (on) {
    SetRotateMode(false);
    PlaceHandleAt(scene.rotateGizmo, scene.current().center);
    doc_.viewport().setCursor(Qt::SizeVerCursor);
  } else if (doc_.modes().dimension) {
    doc_.viewport().unsetCursor();
  }
  doc_.modes().dimension = on;
  emit dimensionModeChanged(on);
  scene.host->RebuildScreenGrids(scene);
  doc_.Redraw();
}

void TElementTools::EndElementTransforms() {
  if (doc_.modes().rotate) SetRotateMode(false);
  if (doc_.modes().dimension) SetDimensionMode(false);
  const TScene& scene = doc_.scene();
  if (!scene.elements.empty() && scene.current().placeState != kPlaced) PutDownPlacedElement();
}

void TElementTools::StartPlacement() {
  EndElementTransforms();
  PanelCentro& view = doc_.viewport();
  TGeosphera& e = doc_.scene().current();
  // The vertices are held about the element's centre while it moves, so the
  // centre, not the model origin, follows the pointer; the second press
  // bakes the position back into them.
  for (TGLCoord& v : e.vertices) v = {v.x - e.center.x, v.y - e.center.y, v.z - e.center.z};
  e.position = {e.position.x + e.center.x, e.position.y + e.center.y, e.position.z + e.center.z};
  UploadCurrentElement();
  if (const QCursor* move = doc_.customCursor("MOVE")) view.setCursor(*move);
  const TWindowPoint centre = view.ProjectPoint(e.center);
  view.inputs().mouseX = static_cast<int>(centre.x);
  view.inputs().mouseY = static_cast<int>(centre.y);
  const QPointF widgetPos = QPointF(centre.x, centre.y) / view.devicePixelRatioF();
  QCursor::setPos(view.mapToGlobal(widgetPos.toPoint()));
  e.placeState = kPlaceFollowPick;
  doc_.modes().position = true;
  doc_.Redraw();
}

// The presses that place an element following the pointer (after "Position"
// or when a mesh was added to the scene): the first fixes the depth, the
// second puts it down.
bool TElementTools::PlacementPress() {
  TScene& scene = doc_.scene();
  TGeosphera& e = scene.current();
  TRenderState& view = doc_.viewport().state();
  if (e.placeState == kPlaceFollowPick) {
    e.placeState = kPlaceFollowXY;
    SetCamera(view.mainCamera, 0, 180);
    SetCamera(view.mirrorCamera, 0, 360);
    scene.gpuOrDefault().BindElementArrays(scene, scene.currentElement, ArrayMode::Buffers);
    UploadCurrentElement();
    scene.host->RebuildScreenGrids(scene);
    doc_.Redraw();
  } else {
    PutDownPlacedElement();
  }
  return true;
}

void TElementTools::PutDownPlacedElement() {
  TScene& scene = doc_.scene();
  TGeosphera& e = scene.current();
  PanelCentro& view = doc_.viewport();
  view.unsetCursor();
  doc_.modes().position = false;
  SetCamera(view.state().mainCamera, 0, 270);
  SetCamera(view.state().mirrorCamera, 0, 270);
  BakePosition(e);
  e.placeState = kPlaced;
  doc_.SceneChanged();
  scene.addPending = false;
  view.inputs().addPlacementActive = false;
  doc_.RebuildCurrentAdjacency();
  UploadCurrentElement();
  scene.host->RebuildScreenGrids(scene);
  doc_.Redraw();
}

int TElementTools::PickHandleVertex(int x, int y) const {
  const TGeosphera& handle = doc_.scene().rotateGizmo;
  const size_t count = std::min(static_cast<size_t>(std::max(handle.vertexCount, 0)), handle.vertices.size());
  double best = kHandlePickPixels * kHandlePickPixels;
  int picked = -1;
  for (size_t i = 0; i < count; ++i) {
    const TWindowPoint p = doc_.viewport().ProjectPoint(handle.vertices[i]);
    const double d2 = (p.x - x) * (p.x - x) + (p.y - y) * (p.y - y);
    if (d2 < best) {
      best = d2;
      picked = static_cast<int>(i);
    }
  }
  return picked;
}

bool TElementTools::ElementToolPress(int x, int y) {
  drag_.lastX = x;
  drag_.lastY = y;
  drag_.pressTaken = false;
  if (doc_.scene().elements.empty()) return false;
  if (doc_.scene().current().placeState != kPlaced) {
    drag_.pressTaken = PlacementPress();
  } else if (doc_.modes().rotate) {
    drag_.handleVertex = PickHandleVertex(x, y);
    drag_.pressTaken = true;
  } else {
    drag_.pressTaken = doc_.modes().dimension;
  }
  return drag_.pressTaken;
}

bool TElementTools::ElementToolMove(int x, int y, bool leftDown) {
  if (doc_.scene().elements.empty()) return false;
  TGeosphera& e = doc_.scene().current();
  const TToolModes& modes = doc_.modes();
  PanelCentro& view = doc_.viewport();
  const int dx = drag_.lastX - x, dy = drag_.lastY - y;
  drag_.lastX = x;
  drag_.lastY = y;
  if (e.placeState != kPlaced) {
    view.inputs().mouseX = x;
    view.inputs().mouseY = y;
  } else if (modes.rotate && !leftDown) {
    drag_.handleVertex = PickHandleVertex(x, y);
    const QCursor* rotate = doc_.customCursor("ROTATE");
    if (drag_.handleVertex >= 0 && rotate) {
      view.setCursor(*rotate);
    } else {
      view.unsetCursor();
    }
    return true;
  } else if (modes.rotate && drag_.pressTaken) {
    e.rotation = HandleRotationStep(drag_.handleVertex, dx, dy);
    if (e.rotation == TGLCoord{}) return true;
    ApplyRotationStep(e);
    UploadCurrentElement();
  } else if (modes.dimension && leftDown && drag_.pressTaken) {
    if (dy != 0) ApplyScaleStep(e, dy > 0);  // moving up shrinks
    UploadCurrentElement();
  } else {
    return modes.rotate || modes.dimension;
  }
  doc_.Redraw();
  return true;
}

bool TElementTools::ElementToolRelease() {
  const bool taken = drag_.pressTaken;
  drag_.pressTaken = false;
  TScene& scene = doc_.scene();
  if (!taken || scene.elements.empty()) return taken;
  if (doc_.modes().rotate || doc_.modes().dimension) {
    doc_.SceneChanged();
    doc_.RebuildCurrentAdjacency();
    if (doc_.modes().rotate) RecomputeAllNormals(scene.current());  // exact again after the turned ones
    UploadCurrentElement();
    scene.host->RebuildScreenGrids(scene);
    doc_.Redraw();
  }
  return true;
}

bool TElementTools::ElementToolWheel(int notches) {
  TScene& scene = doc_.scene();
  if (!doc_.modes().dimension || scene.elements.empty()) return false;
  for (int i = 0; i < std::abs(notches); ++i) ApplyScaleStep(scene.current(), notches > 0);
  UploadCurrentElement();
  scene.host->RebuildScreenGrids(scene);
  doc_.Redraw();
  return true;
}

#include "sculpt/stroke.h"

#include <algorithm>
#include <cmath>
#include <exception>

#include "model/messages.h"
#include "model/topology.h"
#include "sculpt/footprint.h"

namespace {

constexpr const char* kGatherError = "Error in create screen points.";

}  // namespace

TStroke::TStroke(TScene& scene, const TBrushSettings& brush, const TToolModes& modes, StrokeProjection& view,
                 StrokeSink& sink)
    : scene_(scene), brush_(brush), modes_(modes), view_(view), sink_(sink) {}

bool TStroke::InCurrentElement(int32_t vertex) const {
  return vertex >= 0 && !scene_.elements.empty() && vertex < scene_.current().vertexCount;
}

// --- hover, press, drag, release ----------------------------------------------

int32_t TStroke::Hover(int x, int y, bool markPicked) {
  TStrokeState& s = state_;
  if (!ReadCursorPoint(x, y)) {
    s.pickedVertex = s.mirrorPickedVertex = -1;
  } else {
    ApplyBrushAt(true);
  }
  if (markPicked && InCurrentElement(s.pickedVertex)) {
    uint8_t& mask = scene_.current().vertexState[static_cast<size_t>(s.pickedVertex)];
    if (!modes_.freeze && !modes_.selection && mask != kVertexFrozen) mask = kVertexTouched;
  }
  return s.pickedVertex;
}

void TStroke::Press(int x, int y) {
  TStrokeState& s = state_;
  s.strokeOnSurface = s.pickedVertex >= 0;
  s.grabVertex = -1;  // a Grab drag needs a vertex grabbed at this press
  // The snapshot comes before anything the press itself changes, so undo
  // gives back the mesh as it was before the stroke.
  if (!modes_.dimension && s.pickedVertex != -1) sink_.SnapshotAtPress(s.pickedVertex);
  if (modes_.sketch) return StartSketchStroke();
  const TBrushInfo* brush = FindBrushByMode(s.sculptMode);
  const bool actsAtPress = (brush != nullptr && brush->press != TBrushPress::None) || modes_.colorCapture;
  if (actsAtPress && s.pickedVertex > 0) ActAtPress(x, y);
}

// Grab and Pinch start at the press; Grab keeps these footprints for the drag.
void TStroke::ActAtPress(int x, int y) {
  TStrokeState& s = state_;
  if (!ReadCursorPoint(x, y)) return;
  // The drag starts from here: no displacement of an earlier drag is applied.
  s.frame.grabDelta = {};
  // A colour capture only picks; painting at the press would change the
  // colour it is about to read.
  s.grabVertex = ApplyBrushAt(modes_.colorCapture);
  const int32_t mirror = s.mirrorPickedVertex;
  s.grabMirrorVertex = mirror < scene_.current().vertexCount ? mirror : 0;
  if (const std::optional<TGLCoord> start = view_.PointAtDepthZero(x, y)) s.grabStart = s.grabCurrent = *start;
}

void TStroke::Drag(int x, int y) {
  TStrokeState& s = state_;
  const bool onSurface = ReadCursorPoint(x, y) || ReadCursorPoint(x, y);
  const bool grab = !s.sketchStroke && GrabDragActive();
  if (s.sketchStroke) {
    if (onSurface) {
      ApplyBrushAt(true);
      DropSketchSpheres();
    }
  } else {
    if (onSurface && !GrabBrushActive()) ApplyBrushAt(false);
    if (grab) DragGrab(x, y);
    if (s.pickedVertex >= 0 && !modes_.paint && !modes_.stencil) UpdateStrokeNormals();
  }
  if (s.moveCounter > 2) {
    sink_.Redraw();
    s.moveCounter = 0;
  }
  if (grab) TrackGrab();
}

void TStroke::Release(bool afterDrag) {
  TStrokeState& s = state_;
  const bool beganOverModel = s.strokeOnSurface;
  if (afterDrag && !scene_.elements.empty()) {
    TGeosphera& e = scene_.current();
    scene_.adjacencyWidth = ComputeValence(e);
    BuildAdjacency(e, scene_.adjacencyWidth);
    RebuildScreenGrids();
    s.strokeOnSurface = false;
    sink_.Redraw();
  }
  // The spheres of a sketch stroke are undone as a group, not by a snapshot.
  if (!modes_.paint && !s.sketchAdded) sink_.SnapshotAtRelease();
  s.sketchAdded = false;
  if (s.sketchStroke) {
    s.sketchStroke = false;
    sink_.SketchStrokeEnded(beganOverModel);
  }
}

// --- sketch spheres ---------------------------------------------------------------

// The spheres of the stroke keep the picked vertex's coordinate along the
// line of sight, so they lie on the plane through it that faces the view.
void TStroke::StartSketchStroke() {
  TStrokeState& s = state_;
  s.sketchStroke = true;
  s.sketchAdded = s.sketchFailed = false;
  s.sketchAxis = TSketchAxis::None;
  if (!InCurrentElement(s.pickedVertex)) return;
  const TViewAngles view = view_.MainCameraAngles();
  s.sketchAxis = SketchLockAxis(view.pitch, view.yaw, true);
  s.sketchDepth = SketchAxisValue(scene_.current().vertices[static_cast<size_t>(s.pickedVertex)], s.sketchAxis);
}

// A pair of spheres of the brush's diameter at the cursor point and at its
// mirror image; the first pair of the stroke opens its undo group.
void TStroke::DropSketchSpheres() {
  TStrokeState& s = state_;
  if (s.sketchFailed || !SketchPointInRange(s.cursorPoint)) return;
  const TViewAngles view = view_.MainCameraAngles();
  const TSketchAxis axis = SketchLockAxis(view.pitch, view.yaw, false);
  const TGLCoord at = axis == s.sketchAxis ? WithSketchAxisValue(s.cursorPoint, axis, s.sketchDepth) : s.cursorPoint;
  const int countBefore = scene_.elementCount();
  const float size = 2 * brush_.radius;
  // A sphere that cannot be loaded would fail again on every move.
  s.sketchFailed = !sink_.AddSketchSphere(at, size) || !sink_.AddSketchSphere(MirrorAcrossZ(at), size);
  if (scene_.elementCount() > countBefore && !s.sketchAdded) {
    sketchGroups_.Push(countBefore);
    s.sketchAdded = true;
  }
  scene_.currentElement = 0;
}

// --- Grab ------------------------------------------------------------------------

// Grab shapes only through its drag: it moves the footprints kept from the
// press by the drag since GrabStart, and nothing when the press grabbed none.
bool TStroke::GrabBrushActive() const {
  const TBrushInfo* brush = FindBrushByMode(state_.sculptMode);
  return brush != nullptr && brush->press == TBrushPress::Grab && CurrentTool().target == TBrushTarget::Shape;
}

bool TStroke::GrabDragActive() const { return GrabBrushActive() && InCurrentElement(state_.grabVertex); }

void TStroke::DragGrab(int x, int y) {
  TStrokeState& s = state_;
  const std::optional<TGLCoord> at = view_.PointAtDepthZero(x, y);
  if (!at) return;
  s.grabCurrent = *at;
  s.frame.grabDelta = {s.grabCurrent.x - s.grabStart.x, s.grabCurrent.y - s.grabStart.y,
                       s.grabCurrent.z - s.grabStart.z};
  ApplyGrab(scene_.current(), s.frame);
  sink_.GeometryChanged();
}

// When the grabbed vertex lags more than the sensibility behind the cursor,
// the drag measures from the cursor's point again.
void TStroke::TrackGrab() {
  TStrokeState& s = state_;
  if (!InCurrentElement(s.pickedVertex)) return;
  const TScreenPoint cursor = view_.Project(s.grabCurrent);
  const TScreenPoint grabbed = view_.Project(scene_.current().vertices[static_cast<size_t>(s.pickedVertex)]);
  if (std::hypot(cursor.x - grabbed.x, cursor.y - grabbed.y) > brush_.grabSensitivity) s.grabStart = s.grabCurrent;
}

void TStroke::UpdateStrokeNormals() {
  const TBrushFrame& f = state_.frame;
  state_.normalTriangles =
      UpdateFootprintNormals(scene_.current(), f.direct.entries, f.symmetry ? &f.mirror.entries : nullptr,
                             [this](int32_t v, const TGLCoord& n) { sink_.NormalChanged(v, n); });
}

// --- cursor point, grids, footprints ----------------------------------------------

bool TStroke::ReadCursorPoint(int x, int y) {
  TStrokeState& s = state_;
  const std::optional<TGLCoord> hit = view_.PointUnderCursor(x, y);
  if (!hit) return false;
  s.cursorPoint = *hit;
  s.mirrorCursorPoint = MirrorAcrossZ(*hit);
  s.cursorScreen = view_.Project(s.cursorPoint);
  s.mirrorCursorScreen = view_.Project(s.mirrorCursorPoint);
  return true;
}

void TStroke::RebuildScreenGrids() {
  TStrokeState& s = state_;
  TProjectionSetup main, mirror;
  if (scene_.elements.empty() || !view_.CameraSetups(main, mirror)) {
    s.gridsStale = true;
    return;
  }
  const int w = main.viewport[2], h = main.viewport[3];
  if (modes_.rotate) {
    const TGeosphera& handle = scene_.rotateGizmo;
    s.grid.Build(handle.vertices, handle.vertexCount, main, w, h);
  } else {
    BuildScreenGrid(scene_.current(), main, mirror, w, h, s.grid, s.mirrorGrid);
  }
  UpdateBrushWindow();
  s.gridsStale = false;
}

void TStroke::UpdateBrushWindow() { state_.brushWindow = view_.BrushWindow(brush_.radius); }

void TStroke::GatherCandidates() {
  TStrokeState& s = state_;
  const int w = s.grid.width(), h = s.grid.height();
  const int x = ToPixel(s.cursorScreen.x), y = ToPixel(s.cursorScreen.y);
  const int r = std::min(ToPixel(s.brushWindow), w + h);
  s.directCandidates.clear();
  s.mirrorCandidates.clear();
  s.grid.AppendWindow(x, y, r, s.directCandidates);
  if (brush_.symmetry) s.mirrorGrid.AppendWindow(w - x, y, r, s.mirrorCandidates);
}

TBrushTool TStroke::CurrentTool() const {
  TBrushTool tool;
  tool.sculptMode = state_.sculptMode;
  tool.paint = state_.paint;
  if (modes_.freeze) {
    tool.target = TBrushTarget::Freeze;
  } else if (modes_.selection) {
    tool.target = TBrushTarget::Selection;
  } else if (modes_.paint) {
    tool.target = TBrushTarget::Paint;
  }
  return tool;
}

int32_t TStroke::ApplyBrushAt(bool hoverOnly) {
  TStrokeState& s = state_;
  TGeosphera& e = scene_.current();
  if (s.gridsStale) RebuildScreenGrids();
  try {
    GatherCandidates();
    TBrushFrame& f = s.frame;
    f.symmetry = brush_.symmetry;
    f.radius = brush_.radius;
    if (hoverOnly) {
      s.pickedVertex = PickFootprintVertex(e, s.directCandidates, s.cursorPoint, f.radius);
      s.mirrorPickedVertex =
          f.symmetry ? PickFootprintVertex(e, s.mirrorCandidates, s.mirrorCursorPoint, f.radius) : -1;
      return s.pickedVertex;
    }
    f.strength = brush_.strength;
    f.sign = s.brushSign;
    GatherBrushFrame(e, s.directCandidates, s.mirrorCandidates, s.cursorPoint, f);
    s.pickedVertex = f.direct.pickedVertex;
    s.mirrorPickedVertex = f.mirror.pickedVertex;
    if (f.direct.entries.empty() || modes_.rotate || modes_.overlayScaling) return s.pickedVertex;
    if (modes_.stencil) {
      if (stencilPicture_ != nullptr) ApplyStencilPainting(e, f, view_, *stencilPicture_);
      sink_.FootprintsChanged(f, true);
    } else {
      TBrushTool tool = CurrentTool();
      if (tool.target == TBrushTarget::Shape && tool.sculptMode == kSculptStamp && stampSource_ != nullptr) {
        tool.stamp = stampSource_->SamplerForApplication(e);
      }
      ApplyBrush(e, f, tool);
      sink_.FootprintsChanged(f, modes_.paint);
    }
    return s.pickedVertex;
  } catch (const std::exception&) {
    RebuildScreenGrids();
    ShowError(kGatherError);
    return -1;
  }
}

// The stroke pipeline: the viewport's mouse handlers (left sculpts, middle
// pans, right turns the camera), hover picking, the Grab drag, the screen
// grids and the footprint gathering around the cursor point.
#include <malloc.h>

#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QSlider>
#include <algorithm>
#include <cmath>
#include <exception>

#include "app/form_main.h"
#include "model/messages.h"
#include "model/topology.h"
#include "render/element_buffers.h"
#include "render/panel_centro.h"
#include "sculpt/footprint.h"

namespace {

constexpr const char* kGatherError = "Error in create screen points.";
constexpr const char* kCaptureRefused = "Disable Stencil and Image Reference to capture.";

// A window coordinate as a pixel, rounded to nearest with halves to even;
// far-off values are clamped so the conversion stays defined.
int ToPixel(double value) {
  if (!(std::fabs(value) < 1e6)) return value > 0 ? 1000000 : -1000000;
  return static_cast<int>(std::nearbyint(value));
}

TProjectionSetup ToProjection(const PanelCentro::CameraSetup& setup) {
  return {setup.modelview, setup.projection, setup.viewport};
}

bool InElement(const TGeosphera& e, int32_t vertex) { return vertex >= 0 && vertex < e.vertexCount; }

}  // namespace

void TFormMain::RouteViewportMouse(QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick && type != QEvent::MouseMove &&
      type != QEvent::MouseButtonRelease) {
    return;
  }
  if (scene_.elements.empty()) return;
  const auto* mouse = static_cast<QMouseEvent*>(event);
  const QPointF at = centro_->ToFramebuffer(mouse->position());
  const int x = ToPixel(at.x()), y = ToPixel(at.y());
  if (type == QEvent::MouseMove) {
    PanelCentroMouseMove(mouse->modifiers(), x, y);
  } else if (type == QEvent::MouseButtonRelease) {
    PanelCentroMouseUp(x, y);
  } else {
    PanelCentroMouseDown(mouse->button(), x, y);
  }
}

// --- press -----------------------------------------------------------------

void TFormMain::PanelCentroMouseDown(Qt::MouseButton button, int x, int y) {
  TStrokeState& s = stroke_;
  if (button == Qt::LeftButton) return LeftPress(x, y);
  if (button != Qt::MiddleButton && button != Qt::RightButton) return;
  s.buttonState = button == Qt::MiddleButton ? kMiddleButton : kRightButton;
  s.lastX = x;
  s.lastY = y;
  centro_->inputs().viewDragActive = true;
  Redraw();
}

void TFormMain::LeftPress(int x, int y) {
  TStrokeState& s = stroke_;
  malloc_trim(0);
  // Pending events run, user input does not: the release of this very press
  // must not be handled inside it.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  s.buttonState = kLeftButton;
  s.lastX = x;
  s.lastY = y;
  if (ElementToolPress(x, y)) return;
  s.strokeOnSurface = s.pickedVertex >= 0;
  s.grabVertex = -1;  // a Grab drag needs a vertex grabbed at this press
  centro_->inputs().strokeActive = true;
  // The snapshot comes before anything the press itself changes, so undo
  // gives back the mesh as it was before the stroke.
  if (!editing_.dimension && s.pickedVertex != -1) {
    undo_.MarkPendingChange(s.pickedVertex);
    undo_.TakeSnapshot(scene_.current(), UndoChannel::Geometry, 1);
  }
  const TBrushInfo* brush = FindBrushByMode(s.sculptMode);
  const bool actsAtPress = (brush && brush->press != TBrushPress::None) || s.captureArmed;
  if (actsAtPress && s.pickedVertex > 0) ActAtPress(x, y);
  if (s.captureArmed) CaptureColor();
}

// Grab and Pinch start at the press; Grab keeps these footprints for the drag.
void TFormMain::ActAtPress(int x, int y) {
  TStrokeState& s = stroke_;
  if (!ReadCursorPoint(x, y)) return;
  // The drag starts from here: no displacement of an earlier drag is applied.
  s.frame.grabDelta = {};
  // A colour capture only picks; painting at the press would change the
  // colour it is about to read.
  s.grabVertex = ApplyBrushAt(s.captureArmed);
  const int32_t mirror = s.mirrorPickedVertex;
  s.grabMirrorVertex = mirror < scene_.current().vertexCount ? mirror : 0;
  const TUnprojected start = centro_->UnprojectAtDepth(x, y, 0);
  if (start.ok) s.grabStart = s.grabCurrent = start.point;
}

void TFormMain::CaptureColor() {
  TStrokeState& s = stroke_;
  const TViewportInputs& in = centro_->inputs();
  const TGeosphera& e = scene_.current();
  if (in.stencil.shown || in.referenceImage.shown) {
    ShowWarning(kCaptureRefused);
  } else if (InElement(e, s.pickedVertex) && static_cast<size_t>(s.pickedVertex) < e.colors.size()) {
    const TRGBA& c = e.colors[static_cast<size_t>(s.pickedVertex)];
    SetPaintColor(QColor(c.r, c.g, c.b, sldAlpha->value()));
  }
  s.captureArmed = false;
  centro_->inputs().colorCaptureMode = false;
  centro_->unsetCursor();
}

// --- move ------------------------------------------------------------------

void TFormMain::PanelCentroMouseMove(Qt::KeyboardModifiers shift, int x, int y) {
  if (centro_->context() != nullptr) centro_->makeCurrent();
  ++stroke_.moveCounter;
  switch (stroke_.buttonState) {
    case kRightButton: RightDrag(x, y); break;
    case kMiddleButton: MiddleDrag(x, y); break;
    case kLeftButton: LeftDrag(shift, x, y); break;
    default: Hover(x, y); break;
  }
  RefreshStrokeStatus();
}

void TFormMain::RightDrag(int x, int y) {
  TStrokeState& s = stroke_;
  // An element being placed, turned or scaled keeps the camera still: the
  // element tools take the move.
  if (ElementToolMove(x, y, false)) return;
  // Positions are framebuffer pixels; the camera turns by the pointer's
  // travel in screen points, so a high-density screen turns it no faster.
  const double step = 3.0 * centro_->devicePixelRatioF();
  const double dx = (s.lastX - x) / step, dy = (s.lastY - y) / step;
  TRenderState& view = centro_->state();
  view.mainCamera.pitch -= dy;
  view.mainCamera.yaw += dx;
  view.mirrorCamera.pitch -= dy;
  view.mirrorCamera.yaw -= dx;
  s.lastX = x;
  s.lastY = y;
  s.pickedVertex = -1;
  centro_->inputs().hoveredVertex = -1;
  Redraw();
}

void TFormMain::MiddleDrag(int x, int y) {
  TStrokeState& s = stroke_;
  const float step = 40 * static_cast<float>(centro_->devicePixelRatioF());  // as for rotation
  const float dx = static_cast<float>(s.lastX - x) / step, dy = static_cast<float>(s.lastY - y) / step;
  TRenderState& view = centro_->state();
  view.mainCamera.panX += dx;
  view.mainCamera.panY -= dy;
  view.mirrorCamera.panX -= dx;
  view.mirrorCamera.panY -= dy;
  s.lastX = x;
  s.lastY = y;
  Redraw();
}

void TFormMain::Hover(int x, int y) {
  TStrokeState& s = stroke_;
  s.lastX = x;
  s.lastY = y;
  if (ElementToolMove(x, y, false) || editing_.dimension) return;
  TViewportInputs& in = centro_->inputs();
  if (!ReadCursorPoint(x, y)) {
    s.pickedVertex = s.mirrorPickedVertex = -1;
  } else {
    ApplyBrushAt(true);
  }
  TGeosphera& e = scene_.current();
  if (InElement(e, s.pickedVertex) && !in.stencil.shown) {
    uint8_t& mask = e.vertexState[static_cast<size_t>(s.pickedVertex)];
    if (!editing_.freeze && !editing_.selection && mask != kVertexFrozen) mask = kVertexTouched;
    ShowCursorCircles();
  }
  in.hoveredVertex = s.pickedVertex;
  in.mirrorVertex = s.mirrorPickedVertex;
  Redraw();
}

void TFormMain::LeftDrag(Qt::KeyboardModifiers shift, int x, int y) {
  TStrokeState& s = stroke_;
  ArmTemporaryBrushes(shift);
  if (ElementToolMove(x, y, true)) return;
  s.lastX = x;
  s.lastY = y;
  const bool onSurface = ReadCursorPoint(x, y) || ReadCursorPoint(x, y);
  if (onSurface && !GrabBrushActive()) ApplyBrushAt(false);
  if (GrabDragActive()) DragGrab(x, y);
  if (s.pickedVertex >= 0) ShowCursorCircles();
  if (s.pickedVertex >= 0 && !s.paintMode) UpdateStrokeNormals();
  if (s.moveCounter > 2) {
    Redraw();
    s.moveCounter = 0;
  }
  if (GrabDragActive()) TrackGrab();
}

// Grab shapes only through its drag: it moves the footprints kept from the
// press by the drag since GrabStart, and nothing when the press grabbed none.
bool TFormMain::GrabBrushActive() const {
  const TBrushInfo* brush = FindBrushByMode(stroke_.sculptMode);
  return brush && brush->press == TBrushPress::Grab && CurrentTool().target == TBrushTarget::Shape;
}

bool TFormMain::GrabDragActive() const {
  return GrabBrushActive() && InElement(scene_.current(), stroke_.grabVertex);
}

void TFormMain::DragGrab(int x, int y) {
  TStrokeState& s = stroke_;
  const TUnprojected at = centro_->UnprojectAtDepth(x, y, 0);
  if (!at.ok) return;
  s.grabCurrent = at.point;
  s.frame.grabDelta = {s.grabCurrent.x - s.grabStart.x, s.grabCurrent.y - s.grabStart.y,
                       s.grabCurrent.z - s.grabStart.z};
  ApplyGrab(scene_.current(), s.frame);
  UpdateSlotGeometry(scene_, scene_.currentElement);
}

// When the grabbed vertex lags more than the sensibility behind the cursor,
// the drag measures from the cursor's point again.
void TFormMain::TrackGrab() {
  TStrokeState& s = stroke_;
  const TGeosphera& e = scene_.current();
  if (!InElement(e, s.pickedVertex)) return;
  const TWindowPoint cursor = centro_->ProjectPoint(s.grabCurrent);
  const TWindowPoint grabbed = centro_->ProjectPoint(e.vertices[static_cast<size_t>(s.pickedVertex)]);
  if (std::hypot(cursor.x - grabbed.x, cursor.y - grabbed.y) > grabSensitivity_) s.grabStart = s.grabCurrent;
}

void TFormMain::UpdateStrokeNormals() {
  const TBrushFrame& f = stroke_.frame;
  const int index = scene_.currentElement;
  stroke_.normalTriangles =
      UpdateFootprintNormals(scene_.current(), f.direct.entries, f.symmetry ? &f.mirror.entries : nullptr,
                             [&](int32_t v, const TGLCoord& n) { WriteSlotNormal(scene_, index, v, n); });
}

void TFormMain::ShowCursorCircles() {
  TViewportInputs& in = centro_->inputs();
  in.cursorScreen = stroke_.cursorScreen;
  in.mirrorCursorScreen = stroke_.mirrorCursorScreen;
}

// --- release ---------------------------------------------------------------

void TFormMain::PanelCentroMouseUp(int, int) {
  TStrokeState& s = stroke_;
  const int button = s.buttonState;
  TViewportInputs& in = centro_->inputs();
  in.strokeActive = in.viewDragActive = false;
  if (ElementToolRelease()) {
    s.buttonState = kNoButton;
    return;
  }
  if (button == kLeftButton || button == kRightButton) {
    RebuildCurrentAdjacency();
    RebuildScreenGrids();
    s.strokeOnSurface = false;
    Redraw();
  }
  if (!s.paintMode) {
    RestoreTemporaryBrushes();
    undo_.TakeSnapshot(scene_.current(), UndoChannel::Geometry, 1);
    statusPanels[2]->setText(QStringLiteral("Triangles Draw: %1").arg(s.normalTriangles));
  }
  s.buttonState = kNoButton;
}

// --- cursor point, grids, footprints ----------------------------------------

bool TFormMain::ReadCursorPoint(int x, int y) {
  TStrokeState& s = stroke_;
  const TUnprojected hit = centro_->UnprojectCursor(x, y, centro_->framebufferHeight());
  if (!hit.ok) return false;
  s.cursorPoint = hit.point;
  s.mirrorCursorPoint = MirrorAcrossZ(hit.point);
  s.cursorScreen = centro_->ProjectPoint(s.cursorPoint);
  s.mirrorCursorScreen = centro_->ProjectPoint(s.mirrorCursorPoint);
  return true;
}

void TFormMain::RebuildScreenGrids() {
  TStrokeState& s = stroke_;
  if (!centro_->isValid() || scene_.elements.empty()) {
    s.gridsStale = true;
    return;
  }
  const int w = centro_->framebufferWidth(), h = centro_->framebufferHeight();
  // A fresh frame gives the main camera's matrices (and the depth the cursor
  // reads); the mirror camera's set-up follows and is put back afterwards.
  centro_->RenderScene(w, h);
  const PanelCentro::CameraSetup main = centro_->cameraSetup();
  centro_->state().projectionOnly = true;
  centro_->RenderScene(w, h);
  centro_->state().projectionOnly = false;
  const PanelCentro::CameraSetup mirror = centro_->cameraSetup();
  centro_->RestoreCameraSetup(main);
  if (editing_.rotate) {
    const TGeosphera& gizmo = scene_.rotateGizmo;
    s.grid.Build(gizmo.vertices, gizmo.vertexCount, ToProjection(main), w, h);
  } else {
    BuildScreenGrid(scene_.current(), ToProjection(main), ToProjection(mirror), w, h, s.grid, s.mirrorGrid);
  }
  UpdateBrushWindow();
  s.gridsStale = false;
}

void TFormMain::GatherCandidates() {
  TStrokeState& s = stroke_;
  const int w = s.grid.width(), h = s.grid.height();
  const int x = ToPixel(s.cursorScreen.x), y = ToPixel(s.cursorScreen.y);
  const int r = std::min(ToPixel(brushWindow_), w + h);
  s.directCandidates.clear();
  s.mirrorCandidates.clear();
  s.grid.AppendWindow(x, y, r, s.directCandidates);
  if (centro_->inputs().symmetryOn) s.mirrorGrid.AppendWindow(w - x, y, r, s.mirrorCandidates);
}

TBrushTool TFormMain::CurrentTool() const {
  TBrushTool tool;
  tool.sculptMode = stroke_.sculptMode;
  tool.paint = stroke_.paint;
  if (editing_.freeze) {
    tool.target = TBrushTarget::Freeze;
  } else if (editing_.selection) {
    tool.target = TBrushTarget::Selection;
  } else if (stroke_.paintMode) {
    tool.target = TBrushTarget::Paint;
  }
  return tool;
}

int32_t TFormMain::ApplyBrushAt(bool hoverOnly) {
  TStrokeState& s = stroke_;
  TGeosphera& e = scene_.current();
  if (s.gridsStale) RebuildScreenGrids();
  try {
    GatherCandidates();
    TBrushFrame& f = s.frame;
    f.symmetry = centro_->inputs().symmetryOn;
    f.radius = centro_->inputs().brushRadius;
    if (hoverOnly) {
      s.pickedVertex = PickFootprintVertex(e, s.directCandidates, s.cursorPoint, f.radius);
      s.mirrorPickedVertex =
          f.symmetry ? PickFootprintVertex(e, s.mirrorCandidates, s.mirrorCursorPoint, f.radius) : -1;
      return s.pickedVertex;
    }
    f.strength = brushStrength_;
    f.sign = s.brushSign;
    GatherBrushFrame(e, s.directCandidates, s.mirrorCandidates, s.cursorPoint, f);
    s.pickedVertex = f.direct.pickedVertex;
    s.mirrorPickedVertex = f.mirror.pickedVertex;
    if (!f.direct.entries.empty() && !editing_.rotate) {
      ApplyBrush(e, f, CurrentTool());
      WriteFootprintBuffers();
    }
    return s.pickedVertex;
  } catch (const std::exception&) {
    RebuildScreenGrids();
    ShowError(kGatherError);
    return -1;
  }
}

void TFormMain::WriteFootprintBuffers() {
  if (centro_->context() == nullptr) return;
  centro_->makeCurrent();
  const TBrushFrame& f = stroke_.frame;
  const int index = scene_.currentElement;
  const auto write = stroke_.paintMode ? WriteSlotColors : WriteSlotPositions;
  write(scene_, index, f.direct.entries);
  if (f.symmetry) write(scene_, index, f.mirror.entries);
}

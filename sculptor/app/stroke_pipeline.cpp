// The viewport's mouse handlers: left strokes through the stroke of the
// sculpting core, middle pans, right turns the camera; and what the stroke
// asks of the window (buffer writes, snapshots, redraws).
#include <malloc.h>

#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QSlider>
#include <cmath>

#include "app/form_main.h"
#include "model/messages.h"
#include "render/panel_centro.h"

namespace {

constexpr const char* kCaptureRefused = "Disable Stencil and Image Reference to capture.";

// A window coordinate as a pixel, rounded to nearest with halves to even;
// far-off values are clamped so the conversion stays defined.
int ToPixel(double value) {
  if (!(std::fabs(value) < 1e6)) return value > 0 ? 1000000 : -1000000;
  return static_cast<int>(std::nearbyint(value));
}

bool InElement(const TGeosphera& e, int32_t vertex) { return vertex >= 0 && vertex < e.vertexCount; }

TWindowPoint ToWindowPoint(const TScreenPoint& p) { return {p.x, p.y, p.depth}; }

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
  if (button == Qt::LeftButton) return LeftPress(x, y);
  if (button != Qt::MiddleButton && button != Qt::RightButton) return;
  drag_.buttonState = button == Qt::MiddleButton ? kMiddleButton : kRightButton;
  drag_.lastX = x;
  drag_.lastY = y;
  centro_->inputs().viewDragActive = true;
  Redraw();
}

void TFormMain::LeftPress(int x, int y) {
  malloc_trim(0);
  // Pending events run, user input does not: the release of this very press
  // must not be handled inside it.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  drag_.buttonState = kLeftButton;
  drag_.lastX = x;
  drag_.lastY = y;
  if (ElementToolPress(x, y)) return;
  centro_->inputs().strokeActive = true;
  stroke_->Press(x, y);
  if (Modes().colorCapture) CaptureColor();
}

void TFormMain::CaptureColor() {
  const TViewportInputs& in = centro_->inputs();
  const TGeosphera& e = scene_.current();
  const int32_t picked = stroke_->state().pickedVertex;
  if (in.stencil.shown || in.referenceImage.shown) {
    ShowWarning(kCaptureRefused);
  } else if (InElement(e, picked) && static_cast<size_t>(picked) < e.colors.size()) {
    const TRGBA& c = e.colors[static_cast<size_t>(picked)];
    SetPaintColor(QColor(c.r, c.g, c.b, sldAlpha->value()));
  }
  Modes().colorCapture = false;
  centro_->unsetCursor();
}

// --- move ------------------------------------------------------------------

void TFormMain::PanelCentroMouseMove(Qt::KeyboardModifiers shift, int x, int y) {
  if (centro_->context() != nullptr) centro_->makeCurrent();
  stroke_->CountMove();
  switch (drag_.buttonState) {
    case kRightButton: RightDrag(x, y); break;
    case kMiddleButton: MiddleDrag(x, y); break;
    case kLeftButton: LeftDrag(shift, x, y); break;
    default: Hover(x, y); break;
  }
  RefreshStrokeStatus();
}

void TFormMain::RightDrag(int x, int y) {
  // An element being placed, turned or scaled keeps the camera still: the
  // element tools take the move.
  if (ElementToolMove(x, y, false)) return;
  // Positions are framebuffer pixels; the camera turns by the pointer's
  // travel in screen points, so a high-density screen turns it no faster.
  const double step = 3.0 * centro_->devicePixelRatioF();
  const double dx = (drag_.lastX - x) / step, dy = (drag_.lastY - y) / step;
  TRenderState& view = centro_->state();
  view.mainCamera.pitch -= dy;
  view.mainCamera.yaw += dx;
  view.mirrorCamera.pitch -= dy;
  view.mirrorCamera.yaw -= dx;
  drag_.lastX = x;
  drag_.lastY = y;
  stroke_->state().pickedVertex = -1;
  centro_->inputs().hoveredVertex = -1;
  Redraw();
}

void TFormMain::MiddleDrag(int x, int y) {
  const float step = 40 * static_cast<float>(centro_->devicePixelRatioF());  // as for rotation
  const float dx = static_cast<float>(drag_.lastX - x) / step, dy = static_cast<float>(drag_.lastY - y) / step;
  TRenderState& view = centro_->state();
  view.mainCamera.panX += dx;
  view.mainCamera.panY -= dy;
  view.mirrorCamera.panX -= dx;
  view.mirrorCamera.panY -= dy;
  drag_.lastX = x;
  drag_.lastY = y;
  Redraw();
}

void TFormMain::Hover(int x, int y) {
  drag_.lastX = x;
  drag_.lastY = y;
  if (ElementToolMove(x, y, false) || Modes().dimension) return;
  TViewportInputs& in = centro_->inputs();
  const int32_t picked = stroke_->Hover(x, y, !in.stencil.shown);
  if (InElement(scene_.current(), picked) && !in.stencil.shown) ShowCursorCircles();
  in.hoveredVertex = picked;
  in.mirrorVertex = stroke_->state().mirrorPickedVertex;
  Redraw();
}

void TFormMain::LeftDrag(Qt::KeyboardModifiers shift, int x, int y) {
  ArmTemporaryBrushes(shift);
  if (ElementToolMove(x, y, true)) return;
  drag_.lastX = x;
  drag_.lastY = y;
  stroke_->Drag(x, y);
  if (stroke_->state().pickedVertex >= 0) ShowCursorCircles();
}

void TFormMain::ShowCursorCircles() {
  TViewportInputs& in = centro_->inputs();
  in.cursorScreen = ToWindowPoint(stroke_->state().cursorScreen);
  in.mirrorCursorScreen = ToWindowPoint(stroke_->state().mirrorCursorScreen);
}

// --- release ---------------------------------------------------------------

void TFormMain::PanelCentroMouseUp(int, int) {
  const int button = drag_.buttonState;
  TViewportInputs& in = centro_->inputs();
  in.strokeActive = in.viewDragActive = false;
  if (ElementToolRelease()) {
    drag_.buttonState = kNoButton;
    return;
  }
  if (!Modes().paint) RestoreTemporaryBrushes();
  stroke_->Release(button == kLeftButton || button == kRightButton);
  if (!Modes().paint) {
    statusPanels[2]->setText(QStringLiteral("Triangles Draw: %1").arg(stroke_->state().normalTriangles));
  }
  drag_.buttonState = kNoButton;
}

void TFormMain::RebuildScreenGrids() { stroke_->RebuildScreenGrids(); }

void TFormMain::UpdateBrushWindow() { stroke_->UpdateBrushWindow(); }

// --- what the stroke asks of the window ---------------------------------------

// The snapshot comes before anything the press itself changes, so undo
// gives back the mesh as it was before the stroke.
void TFormMain::WindowStrokeSink::SnapshotAtPress(int32_t pickedVertex) {
  form_.undo_.MarkPendingChange(pickedVertex);
  form_.undo_.TakeSnapshot(form_.scene_.current(), UndoChannel::Geometry, 1);
}

void TFormMain::WindowStrokeSink::SnapshotAtRelease() {
  form_.undo_.TakeSnapshot(form_.scene_.current(), UndoChannel::Geometry, 1);
}

void TFormMain::WindowStrokeSink::FootprintsChanged(const TBrushFrame& frame, bool colors) {
  PanelCentro& view = *form_.centro_;
  if (view.context() == nullptr) return;
  view.makeCurrent();
  ElementBuffers& buffers = view.buffers();
  const TScene& scene = form_.scene_;
  const int index = scene.currentElement;
  const auto write = [&](const ATContsel& entries) {
    if (colors) {
      buffers.WriteColors(scene, index, entries);
    } else {
      buffers.WritePositions(scene, index, entries);
    }
  };
  write(frame.direct.entries);
  if (frame.symmetry) write(frame.mirror.entries);
}

void TFormMain::WindowStrokeSink::NormalChanged(int32_t vertex, const TGLCoord& normal) {
  form_.centro_->buffers().WriteNormal(form_.scene_, form_.scene_.currentElement, vertex, normal);
}

void TFormMain::WindowStrokeSink::GeometryChanged() {
  form_.centro_->buffers().UpdateGeometry(form_.scene_, form_.scene_.currentElement);
}

void TFormMain::WindowStrokeSink::Redraw() { form_.Redraw(); }

#include "app/viewport_input.h"

#include <malloc.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QPointingDevice>
#include <cmath>
#include <fstream>

#include "app/document.h"
#include "app/overlay_drags.h"
#include "render/panel_centro.h"
#include "sculpt/sketch_strokes.h"
#include "sculpt/stroke_projection.h"

namespace {

bool InElement(const TGeosphera& e, int32_t vertex) { return vertex >= 0 && vertex < e.vertexCount; }

TWindowPoint ToWindowPoint(const TScreenPoint& p) { return {p.x, p.y, p.depth}; }

// The resident set size in KiB with thousands separators ("Memory used: ,.# K";
// whole pages leave no decimal).
QString MemoryUsedText() {
  std::ifstream statm("/proc/self/statm");
  long long sizePages = 0, residentPages = 0;
  statm >> sizePages >> residentPages;
  const long long kib = residentPages * sysconf(_SC_PAGESIZE) / 1024;
  const QLocale grouped(QLocale::English, QLocale::UnitedStates);
  return QStringLiteral("Memory used: %1 K").arg(grouped.toString(kib));
}

}  // namespace

TViewportInput::TViewportInput(TDocument& doc, const std::array<QLabel*, 6>& statusPanels)
    : QObject(&doc.viewport()), doc_(doc), statusPanels_(statusPanels) {
  doc.viewport().setMouseTracking(true);  // hovering picks
  doc.viewport().installEventFilter(this);
}

bool TViewportInput::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick && type != QEvent::MouseMove &&
      type != QEvent::MouseButtonRelease) {
    return QObject::eventFilter(watched, event);
  }
  if (doc_.scene().elements.empty()) return QObject::eventFilter(watched, event);
  const auto* mouse = static_cast<QMouseEvent*>(event);
  // The pen's input comes as tablet events (tablet_input.h); a mouse event
  // made from it would be a second stroke.
  const QPointingDevice* device = mouse->pointingDevice();
  if (device != nullptr && device->type() == QInputDevice::DeviceType::Stylus) {
    return QObject::eventFilter(watched, event);
  }
  const QPointF at = doc_.viewport().ToFramebuffer(mouse->position());
  const int x = ToPixel(at.x()), y = ToPixel(at.y());
  if (type == QEvent::MouseMove) {
    PanelCentroMouseMove(mouse->modifiers(), x, y);
  } else if (type == QEvent::MouseButtonRelease) {
    PanelCentroMouseUp(x, y);
  } else {
    PanelCentroMouseDown(mouse->button(), x, y);
  }
  return QObject::eventFilter(watched, event);
}

// --- press -----------------------------------------------------------------

void TViewportInput::PanelCentroMouseDown(Qt::MouseButton button, int x, int y) {
  if (button == Qt::LeftButton) return LeftPress(x, y);
  if (button != Qt::MiddleButton && button != Qt::RightButton) return;
  buttonState_ = button == Qt::MiddleButton ? kMiddleButton : kRightButton;
  lastX_ = x;
  lastY_ = y;
  doc_.viewport().inputs().viewDragActive = true;
  doc_.Redraw();
}

void TViewportInput::LeftPress(int x, int y) {
  malloc_trim(0);
  // Pending events run, user input does not: the release of this very press
  // must not be handled inside it.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  buttonState_ = kLeftButton;
  lastX_ = x;
  lastY_ = y;
  if (doc_.elementTools().ElementToolPress(x, y)) return;
  doc_.viewport().inputs().strokeActive = true;
  doc_.stroke().Press(x, y);
  if (doc_.modes().colorCapture) emit colorCapturePressed();
}

// --- move ------------------------------------------------------------------

void TViewportInput::PanelCentroMouseMove(Qt::KeyboardModifiers shift, int x, int y) {
  PanelCentro& view = doc_.viewport();
  if (view.context() != nullptr) view.makeCurrent();
  doc_.stroke().CountMove();
  switch (buttonState_) {
    case kRightButton: RightDrag(x, y); break;
    case kMiddleButton: MiddleDrag(x, y); break;
    case kLeftButton: LeftDrag(shift, x, y); break;
    default: Hover(x, y); break;
  }
  RefreshStrokeStatus();
}

void TViewportInput::RightDrag(int x, int y) {
  // An element being placed, turned or scaled keeps the camera still: the
  // element tools take the move.
  if (doc_.elementTools().ElementToolMove(x, y, false)) return;
  if (tabletActive_) {
    penSecondBrushArmed_ = true;
    return;
  }
  // A picture turning keeps the press point as its reference.
  if (overlayDrags_ != nullptr && overlayDrags_->Rotate(lastY_, y)) return;
  TurnCamera(x, y);
}

void TViewportInput::TurnCamera(int x, int y) {
  PanelCentro& view = doc_.viewport();
  // Positions are framebuffer pixels; the camera turns by the pointer's
  // travel in screen points, so a high-density screen turns it no faster.
  const double step = 3.0 * view.devicePixelRatioF();
  const double dx = (lastX_ - x) / step, dy = (lastY_ - y) / step;
  TRenderState& state = view.state();
  state.mainCamera.pitch -= dy;
  state.mainCamera.yaw += dx;
  state.mirrorCamera.pitch -= dy;
  state.mirrorCamera.yaw -= dx;
  if (doc_.modes().sketch) {
    for (double* angle :
         {&state.mainCamera.pitch, &state.mainCamera.yaw, &state.mirrorCamera.pitch, &state.mirrorCamera.yaw}) {
      *angle = WrapSketchAngle(*angle);
    }
  }
  lastX_ = x;
  lastY_ = y;
  doc_.stroke().state().pickedVertex = -1;
  view.inputs().hoveredVertex = -1;
  doc_.Redraw();
}

void TViewportInput::MiddleDrag(int x, int y) {
  if (overlayDrags_ != nullptr && overlayDrags_->Move(lastX_, lastY_, x, y)) {
    lastX_ = x;
    lastY_ = y;
    return;
  }
  PanelCentro& view = doc_.viewport();
  const float step = 40 * static_cast<float>(view.devicePixelRatioF());  // as for rotation
  const float dx = static_cast<float>(lastX_ - x) / step, dy = static_cast<float>(lastY_ - y) / step;
  TRenderState& state = view.state();
  state.mainCamera.panX += dx;
  state.mainCamera.panY -= dy;
  state.mirrorCamera.panX -= dx;
  state.mirrorCamera.panY -= dy;
  lastX_ = x;
  lastY_ = y;
  doc_.Redraw();
}

void TViewportInput::Hover(int x, int y) {
  lastX_ = x;
  lastY_ = y;
  if (doc_.elementTools().ElementToolMove(x, y, false) || doc_.modes().dimension) return;
  TViewportInputs& in = doc_.viewport().inputs();
  const int32_t picked = doc_.stroke().Hover(x, y, !in.stencil.shown);
  if (InElement(doc_.scene().current(), picked) && !in.stencil.shown) ShowCursorCircles();
  in.hoveredVertex = picked;
  in.mirrorVertex = doc_.stroke().state().mirrorPickedVertex;
  doc_.Redraw();
}

void TViewportInput::LeftDrag(Qt::KeyboardModifiers shift, int x, int y) {
  const TToolModes& modes = doc_.modes();
  if (tabletActive_ && !penSecondBrushArmed_ && !doc_.stroke().state().strokeOnSurface && !modes.position &&
      !modes.rotate && !modes.dimension) {
    dragTurnsView_ = true;
  }
  if (dragTurnsView_) {
    if (overlayDrags_ == nullptr || !overlayDrags_->Rotate(lastY_, y)) TurnCamera(x, y);
    return;
  }
  if (penSecondBrushArmed_) emit penSecondBrushArming();
  emit leftDragging(shift);
  if (doc_.elementTools().ElementToolMove(x, y, true)) return;
  if (overlayDrags_ != nullptr) overlayDrags_->Scale(lastY_, y);
  lastX_ = x;
  lastY_ = y;
  doc_.stroke().Drag(x, y);
  if (doc_.stroke().state().pickedVertex >= 0) ShowCursorCircles();
}

void TViewportInput::ShowCursorCircles() {
  TViewportInputs& in = doc_.viewport().inputs();
  in.cursorScreen = ToWindowPoint(doc_.stroke().state().cursorScreen);
  in.mirrorCursorScreen = ToWindowPoint(doc_.stroke().state().mirrorCursorScreen);
}

// --- release ---------------------------------------------------------------

void TViewportInput::PanelCentroMouseUp(int, int) {
  const int button = buttonState_;
  TViewportInputs& in = doc_.viewport().inputs();
  in.strokeActive = in.viewDragActive = false;
  if (overlayDrags_ != nullptr) overlayDrags_->EndDrags();
  if (doc_.elementTools().ElementToolRelease()) {
    buttonState_ = kNoButton;
    return;
  }
  const bool painting = doc_.modes().paint;
  if (button == kLeftButton) {
    dragTurnsView_ = false;
    if (!painting) penSecondBrushArmed_ = false;
  }
  if (!painting) emit strokeEnding();
  doc_.stroke().Release(button == kLeftButton || button == kRightButton);
  if (!painting) {
    statusPanels_[2]->setText(QStringLiteral("Triangles Draw: %1").arg(doc_.stroke().state().normalTriangles));
  }
  buttonState_ = kNoButton;
}

void TViewportInput::RefreshMeshCounts() {
  if (doc_.scene().elements.empty()) return;
  const TGeosphera& e = doc_.scene().current();
  const auto triangles = static_cast<qlonglong>(std::nearbyint(e.indexCount / 3.0));
  statusPanels_[0]->setText(QStringLiteral("Triangles: %1").arg(triangles));
  statusPanels_[1]->setText(QStringLiteral("Vertex: %1").arg(e.vertexCount));
}

void TViewportInput::RefreshStrokeStatus() {
  RefreshMeshCounts();
  const TBrushFrame& f = doc_.stroke().state().frame;
  const size_t footprint = f.direct.entries.size() + (f.symmetry ? f.mirror.entries.size() : 0);
  statusPanels_[2]->setText(QStringLiteral("Selected Triangles: %1").arg(footprint));
  statusPanels_[3]->setText(MemoryUsedText());
}

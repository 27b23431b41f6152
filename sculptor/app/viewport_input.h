// The viewport's mouse handlers: they turn the mouse events over PanelCentro
// into calls of the stroke (left), camera drags (middle pans, right turns),
// and the element tools while one of them is on; and the stroke's figures in
// the status bar.
#pragma once

#include <QObject>
#include <array>

class QLabel;
class TDocument;

enum TButtonState { kNoButton = 0, kLeftButton = 1, kMiddleButton = 2, kRightButton = 3 };

class TViewportInput : public QObject {
  Q_OBJECT

 public:
  // Follows the mouse over `doc`'s viewport; writes status panels 0 .. 3.
  TViewportInput(TDocument& doc, const std::array<QLabel*, 6>& statusPanels);

  // Handlers; (x, y) are framebuffer pixels from the top.
  void PanelCentroMouseDown(Qt::MouseButton button, int x, int y);
  void PanelCentroMouseMove(Qt::KeyboardModifiers shift, int x, int y);
  void PanelCentroMouseUp(int x, int y);
  // The status bar's triangle and vertex counts of the current element.
  void RefreshMeshCounts();

  int buttonState() const { return buttonState_; }

 signals:
  // A left drag with these modifiers is about to apply the brush (Shift and
  // Alt arm the temporary brushes).
  void leftDragging(Qt::KeyboardModifiers modifiers);
  // A stroke outside paint mode ends: the brush of before comes back.
  void strokeEnding();
  // A left press with colour capture armed picked a vertex.
  void colorCapturePressed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void LeftPress(int x, int y);
  void RightDrag(int x, int y);
  void MiddleDrag(int x, int y);
  void Hover(int x, int y);
  void LeftDrag(Qt::KeyboardModifiers shift, int x, int y);
  void ShowCursorCircles();
  void RefreshStrokeStatus();

  TDocument& doc_;
  std::array<QLabel*, 6> statusPanels_;
  int buttonState_ = kNoButton;
  int lastX_ = 0, lastY_ = 0;  // framebuffer pixels from the top
};

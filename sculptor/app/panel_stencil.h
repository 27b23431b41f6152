// PanelStencil ("Projection Tools", opened by "Projection Edit"): the
// projection stencil, a picture over the viewport that strokes copy into the
// vertex colours. "Import Image" chooses the picture, TrackBarVisibility its
// opacity; the picture keys move, turn and scale it (overlay_drags.h).
#pragma once

#include <QString>

#include "app/floating_panel.h"

class QLabel;
class QSlider;
class QToolButton;
class TDocument;
struct TImageOverlay;

// The picture's quad before any picture: corner (420, 100), 500 x 500 pixels.
void ResetImageOverlay(TImageOverlay& overlay);
// Fits the quad to a picture of `width` x `height`: the largest of its aspect
// inside the quad as it is.
void FitImageOverlay(TImageOverlay& overlay, int width, int height);

class TPanelStencil : public FloatingPanel {
  Q_OBJECT

 public:
  TPanelStencil(TDocument& doc, QWidget* parent);

  QLabel* ImageStencil = nullptr;
  QToolButton* SpeedStencilLoad = nullptr;  // "Import Image"
  QSlider* TrackBarVisibility = nullptr;
  QToolButton* SpeedCloseStencil = nullptr;

  // Handlers; SpeedStencilClick is "Projection Edit" (tool panel and menu).
  void SpeedStencilClick();
  void SpeedStencilLoadClick();
  void TrackBarVisibilityChange(int position);
  void SpeedCloseStencilClick();

  // Loads a picture as the stencil; false when it does not decode.
  bool LoadStencil(const QString& fileName);

 signals:
  // Projection-stencil mode begins: the start and reference panels go, the
  // reference mode ends and the tablet is off.
  void opened();
  // It ended: the tablet follows "Active Tablet" again.
  void closed();

 private:
  TDocument& doc_;
};

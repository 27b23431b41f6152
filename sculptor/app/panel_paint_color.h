// PanelPaintColor ("Paint"): vertex painting's colour sliders and swatch, the
// three blend modes, colour capture from the mesh, and Close.
#pragma once

#include <QColor>
#include <optional>

#include "app/floating_panel.h"

class QSlider;
class QToolButton;
class TDocument;

class TPanelPaintColor : public FloatingPanel {
  Q_OBJECT

 public:
  TPanelPaintColor(TDocument& doc, QWidget* parent);

  QSlider* sldRed = nullptr;
  QSlider* sldGreen = nullptr;
  QSlider* sldBlue = nullptr;
  QSlider* sldAlpha = nullptr;
  QToolButton* shpColor = nullptr;      // the swatch
  QToolButton* Speeddefault = nullptr;  // "Hard"
  QToolButton* SpeedSoft = nullptr;
  QToolButton* SpeedDisform = nullptr;  // "Dithered"
  QToolButton* SpeedCapture = nullptr;
  QToolButton* SpeedPaintColorClose = nullptr;

  // Handlers ("Paint Tool" of the Render menu and the tool panel opens the panel).
  void PaintTool1Click();
  void ShpColorClick();
  void SpeedCaptureClick();
  void SpeedPaintColorCloseClick();

  // A left press with colour capture armed: the colour under the cursor
  // comes into the sliders (refused while a stencil or reference image shows).
  void CaptureColor();

 signals:
  // Paint mode ended: Add is to be selected again.
  void closed();

 private:
  std::optional<QColor> ChoosePaintColor();
  // The chosen colour (if any) into the sliders, paint mode on element 0.
  void OpenPaintTool(const std::optional<QColor>& chosen);
  void SetPaintColor(const QColor& color);
  void PaintSlidersChanged();

  TDocument& doc_;
};

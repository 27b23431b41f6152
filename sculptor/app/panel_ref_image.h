// PanelRefImage ("Reference Image Tools", opened by "Panel Base Image"): a
// picture over the viewport to sculpt by, from one of three slots, moved,
// turned and scaled by the picture keys like the stencil but never painted
// through. "Fixed Panel" shows it in a window of its own (TFormImageBase).
#pragma once

#include <QString>
#include <array>

#include "app/floating_panel.h"

class QSlider;
class QToolButton;
class TDocument;
class TFormImageBase;

class TPanelRefImage : public FloatingPanel {
  Q_OBJECT

 public:
  TPanelRefImage(TDocument& doc, QWidget* parent);

  // The three slots' pictures (ImageRef, ImageRefImage1, ImageRefImage2) and
  // their "Import Image" buttons (SpeedRefImage, SpeedRefImage1, SpeedRefImage2).
  std::array<QToolButton*, 3> ImageRef{};
  std::array<QToolButton*, 3> SpeedRefImage{};
  QSlider* TrackBarVisibilityRef = nullptr;
  QToolButton* SpeedAncor = nullptr;  // "Fixed Panel"
  QToolButton* SpeedCloseRefImage = nullptr;
  TFormImageBase* FormImageBase = nullptr;

  // Handlers; SpeedImageBaseClick is "Panel Base Image".
  void SpeedImageBaseClick();
  void SpeedRefImageClick(int slot);  // "Import Image" of slot 0 .. 2
  void ImageRefClick(int slot);       // the slot's picture becomes the shown one
  void TrackBarVisibilityRefChange(int position);
  void SpeedAncorClick();
  void SpeedCloseRefImageClick();
  // "Hide Image Reference": closes the panel when it is open, else opens it.
  void ToggleReferenceImage();

  // Loads a picture into `slot` and shows it; false when it does not decode.
  bool LoadReference(int slot, const QString& fileName);
  int currentSlot() const { return currentSlot_; }

 signals:
  // Reference-image mode begins: the start and stencil panels go, the
  // projection-stencil mode ends.
  void opened();
  // It ended by "Close": the tablet follows "Active Tablet" again.
  void closed();
  // "Fixed Panel": the picture went to its own window; the stencil panel goes too.
  void fixedPanelShown();

 private:
  void LeaveModes();
  bool MakeCurrent(int slot);

  TDocument& doc_;
  std::array<QString, 3> files_;
  int currentSlot_ = -1;
};

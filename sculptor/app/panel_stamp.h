// PanelStamp ("Stamp"): the Stamp brush's picture. The twelve stamp buttons
// of "Set Stamp" choose an installed picture and its size as the sampling
// grid; "Import Stamp" takes any picture, resampled to that grid; the size bar
// sets how often the picture repeats around the element. The panel is the
// stroke's stamp source: it reads the picture again at every application.
#pragma once

#include <QImage>
#include <QString>
#include <array>

#include "app/floating_panel.h"
#include "sculpt/stamp.h"

class QLabel;
class QSlider;
class QToolButton;
class TDocument;

class TPanelStamp : public FloatingPanel, public StampSource {
  Q_OBJECT

 public:
  TPanelStamp(TDocument& doc, QWidget* parent);

  std::array<QToolButton*, 12> BitStamp{};  // BitStamp1 .. BitStamp12
  QLabel* ImageStamp = nullptr;
  QToolButton* SpeedButton16 = nullptr;  // "Import Stamp"
  QSlider* TrackBarSize = nullptr;
  QLabel* LabelSizeNumber = nullptr;
  QToolButton* SpeedCloseStamp = nullptr;

  // Handlers.
  void BitStampClick(int index);  // 0 .. 11
  void SpeedButton16Click();
  void TrackBarSizeChange(int position);
  void SpeedCloseStampClick();

  // A brush was selected: the Stamp brush maps the element and shows the
  // panel with the default picture, any other hides it.
  void BrushSelected(int item);

  // StampSource.
  const TStampSampler* SamplerForApplication(const TGeosphera& e) override;

  const QString& stampImagePath() const { return stampImagePath_; }
  int stampWidth() const { return stampWidth_; }
  int stampHeight() const { return stampHeight_; }
  const TStampSampler& sampler() const { return sampler_; }

 private:
  void ShowStamp(const QString& path);
  void MapCurrentElement(const TStampProjection& projection);

  TDocument& doc_;
  QString stampImagePath_;
  int stampWidth_ = 0, stampHeight_ = 0;  // of the last stamp button's picture
  QSize shownSize_;                       // of the picture in ImageStamp
  TStampProjection projection_;
  TStampSampler sampler_;
};

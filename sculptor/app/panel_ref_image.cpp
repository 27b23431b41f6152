#include "app/panel_ref_image.h"

#include <QGridLayout>
#include <QLabel>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/document.h"
#include "app/form_image_base.h"
#include "app/panel_stencil.h"
#include "app/picture_files.h"
#include "app/widget_factory.h"
#include "render/panel_centro.h"

namespace {

constexpr const char* kSlotNames[3] = {"ImageRef", "ImageRefImage1", "ImageRefImage2"};
constexpr const char* kImportNames[3] = {"SpeedRefImage", "SpeedRefImage1", "SpeedRefImage2"};

}  // namespace

TPanelRefImage::TPanelRefImage(TDocument& doc, QWidget* parent)
    : FloatingPanel("PanelRefImage", "Reference Image Tools", parent), doc_(doc) {
  move(180, 40);
  hide();
  ResetImageOverlay(doc.viewport().inputs().referenceImage);
  auto* grid = new QGridLayout;
  for (int i = 0; i < 3; ++i) {
    ImageRef[i] = Named(new QToolButton(this), kSlotNames[i]);
    ImageRef[i]->setFixedSize(72, 72);
    ImageRef[i]->setIconSize(QSize(64, 64));
    SpeedRefImage[i] = PanelButton(kImportNames[i], "Import Image", this);
    grid->addWidget(ImageRef[i], 0, i);
    grid->addWidget(SpeedRefImage[i], 1, i);
    connect(ImageRef[i], &QToolButton::clicked, this, [this, i] { ImageRefClick(i); });
    connect(SpeedRefImage[i], &QToolButton::clicked, this, [this, i] { SpeedRefImageClick(i); });
  }
  body()->addLayout(grid);
  body()->addWidget(new QLabel("Visibility:", this));
  TrackBarVisibilityRef = TrackBar("TrackBarVisibilityRef", 0, 100, 50, this);
  body()->addWidget(TrackBarVisibilityRef);
  SpeedAncor = PanelButton("SpeedAncor", "Fixed Panel", this);
  SpeedCloseRefImage = PanelButton("SpeedCloseRefImage", "Close", this);
  body()->addWidget(SpeedAncor);
  body()->addWidget(SpeedCloseRefImage);
  adjustSize();
  FormImageBase = new TFormImageBase(parent->window());
  connect(TrackBarVisibilityRef, &QSlider::valueChanged, this, &TPanelRefImage::TrackBarVisibilityRefChange);
  connect(SpeedAncor, &QToolButton::clicked, this, &TPanelRefImage::SpeedAncorClick);
  connect(SpeedCloseRefImage, &QToolButton::clicked, this, &TPanelRefImage::SpeedCloseRefImageClick);
}

void TPanelRefImage::SpeedImageBaseClick() {
  if (doc_.RefusedInTextureMode()) return;
  TViewportInputs& in = doc_.viewport().inputs();
  in.stencil.shown = false;
  doc_.modes().stencil = false;
  in.referenceImage.shown = true;
  emit opened();
  show();
  raise();
  doc_.Redraw();
}

void TPanelRefImage::SpeedRefImageClick(int slot) {
  const TFileChoice choice = doc_.ChooseFile(PictureRequest("Import Image"));
  if (!choice.fileName.isEmpty()) LoadReference(slot, choice.fileName);
}

bool TPanelRefImage::LoadReference(int slot, const QString& fileName) {
  if (slot < 0 || slot >= 3) return false;
  const QString before = files_[static_cast<size_t>(slot)];
  files_[static_cast<size_t>(slot)] = fileName;
  if (!MakeCurrent(slot)) {
    files_[static_cast<size_t>(slot)] = before;
    return false;
  }
  const QImage picture = ReadPicture(fileName);
  ImageRef[static_cast<size_t>(slot)]->setIcon(QPixmap::fromImage(picture));
  FitImageOverlay(doc_.viewport().inputs().referenceImage, picture.width(), picture.height());
  doc_.Redraw();
  return true;
}

void TPanelRefImage::ImageRefClick(int slot) {
  if (slot >= 0 && slot < 3 && !files_[static_cast<size_t>(slot)].isEmpty()) MakeCurrent(slot);
}

bool TPanelRefImage::MakeCurrent(int slot) {
  TImageOverlay& reference = doc_.viewport().inputs().referenceImage;
  if (!doc_.viewport().LoadOverlayTexture(files_[static_cast<size_t>(slot)], reference.texture)) return false;
  currentSlot_ = slot;
  doc_.Redraw();
  return true;
}

void TPanelRefImage::TrackBarVisibilityRefChange(int position) {
  doc_.viewport().inputs().referenceImage.alpha = static_cast<float>(position) / 100;
  doc_.Redraw();
}

void TPanelRefImage::LeaveModes() {
  TViewportInputs& in = doc_.viewport().inputs();
  in.stencil.shown = in.referenceImage.shown = false;
  doc_.modes().stencil = false;
  doc_.modes().overlayScaling = false;
}

void TPanelRefImage::SpeedAncorClick() {
  LeaveModes();
  hide();
  emit fixedPanelShown();
  FormImageBase->ShowPicture(currentSlot_ >= 0 ? ReadPicture(files_[static_cast<size_t>(currentSlot_)]) : QImage());
  doc_.Redraw();
}

void TPanelRefImage::SpeedCloseRefImageClick() {
  LeaveModes();
  hide();
  emit closed();
  doc_.Redraw();
}

void TPanelRefImage::ToggleReferenceImage() {
  if (isVisible()) {
    SpeedCloseRefImageClick();
  } else {
    SpeedImageBaseClick();
  }
}

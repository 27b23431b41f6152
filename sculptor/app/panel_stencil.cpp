#include "app/panel_stencil.h"

#include <QLabel>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/document.h"
#include "app/picture_files.h"
#include "app/widget_factory.h"
#include "render/panel_centro.h"

void ResetImageOverlay(TImageOverlay& overlay) {
  overlay.x = 420;
  overlay.y = 100;
  overlay.width = overlay.height = 500;
  overlay.angle = 0;
  overlay.scaleX = overlay.scaleY = 1;
  overlay.alpha = 0.5f;
}

void FitImageOverlay(TImageOverlay& overlay, int width, int height) {
  if (width < 1 || height < 1) return;
  const float k = std::min(overlay.width / static_cast<float>(width), overlay.height / static_cast<float>(height));
  overlay.width = static_cast<float>(width) * k;
  overlay.height = static_cast<float>(height) * k;
}

TPanelStencil::TPanelStencil(TDocument& doc, QWidget* parent)
    : FloatingPanel("PanelStencil", "Projection Tools", parent), doc_(doc) {
  move(180, 40);
  hide();
  ResetImageOverlay(doc.viewport().inputs().stencil);
  ImageStencil = Named(new QLabel(this), "ImageStencil");
  ImageStencil->setFixedSize(128, 128);
  ImageStencil->setAlignment(Qt::AlignCenter);
  body()->addWidget(ImageStencil, 0, Qt::AlignHCenter);
  SpeedStencilLoad = PanelButton("SpeedStencilLoad", "Import Image", this);
  body()->addWidget(SpeedStencilLoad);
  body()->addWidget(new QLabel("Visibility:", this));
  TrackBarVisibility = TrackBar("TrackBarVisibility", 0, 100, 50, this);
  body()->addWidget(TrackBarVisibility);
  SpeedCloseStencil = PanelButton("SpeedCloseStencil", "Close", this);
  body()->addWidget(SpeedCloseStencil);
  adjustSize();
  connect(SpeedStencilLoad, &QToolButton::clicked, this, &TPanelStencil::SpeedStencilLoadClick);
  connect(TrackBarVisibility, &QSlider::valueChanged, this, &TPanelStencil::TrackBarVisibilityChange);
  connect(SpeedCloseStencil, &QToolButton::clicked, this, &TPanelStencil::SpeedCloseStencilClick);
}

void TPanelStencil::SpeedStencilClick() {
  if (doc_.RefusedInTextureMode()) return;
  TViewportInputs& in = doc_.viewport().inputs();
  in.referenceImage.shown = false;
  in.stencil.shown = true;
  doc_.modes().stencil = true;
  emit opened();
  show();
  raise();
  doc_.Redraw();
}

void TPanelStencil::SpeedStencilLoadClick() {
  const TFileChoice choice = doc_.ChooseFile(PictureRequest("Import Image"));
  if (!choice.fileName.isEmpty()) LoadStencil(choice.fileName);
}

bool TPanelStencil::LoadStencil(const QString& fileName) {
  TImageOverlay& stencil = doc_.viewport().inputs().stencil;
  if (!doc_.viewport().LoadOverlayTexture(fileName, stencil.texture)) return false;
  const QImage picture = ReadPicture(fileName);
  ShowPicture(ImageStencil, picture);
  FitImageOverlay(stencil, picture.width(), picture.height());
  doc_.Redraw();
  return true;
}

void TPanelStencil::TrackBarVisibilityChange(int position) {
  doc_.viewport().inputs().stencil.alpha = static_cast<float>(position) / 100;
  doc_.Redraw();
}

void TPanelStencil::SpeedCloseStencilClick() {
  TViewportInputs& in = doc_.viewport().inputs();
  in.stencil.shown = in.referenceImage.shown = false;
  doc_.modes().stencil = false;
  hide();
  emit closed();
  doc_.Redraw();
}

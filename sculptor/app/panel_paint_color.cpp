#include "app/panel_paint_color.h"

#include <QGridLayout>
#include <QLabel>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/document.h"
#include "app/widget_factory.h"
#include "model/messages.h"
#include "render/panel_centro.h"

namespace {

constexpr const char* kCaptureRefused = "Disable Stencil and Image Reference to capture.";

}  // namespace

TPanelPaintColor::TPanelPaintColor(TDocument& doc, QWidget* parent)
    : FloatingPanel("PanelPaintColor", "Paint", parent), doc_(doc) {
  move(180, 40);
  hide();
  auto* grid = new QGridLayout;
  const std::pair<QSlider**, const char*> sliders[] = {
      {&sldRed, "sldRed"}, {&sldGreen, "sldGreen"}, {&sldBlue, "sldBlue"}, {&sldAlpha, "sldAlpha"}};
  const char* captions[] = {"R", "G", "B", "A"};
  for (int i = 0; i < 4; ++i) {
    *sliders[i].first = TrackBar(sliders[i].second, 0, 255, 255, this);
    grid->addWidget(new QLabel(captions[i], this), i, 0);
    grid->addWidget(*sliders[i].first, i, 1, 1, 2);
    connect(*sliders[i].first, &QSlider::valueChanged, this, &TPanelPaintColor::PaintSlidersChanged);
  }
  shpColor = PanelButton("shpColor", "", this);
  shpColor->setFixedHeight(24);
  grid->addWidget(shpColor, 4, 0, 1, 3);
  Speeddefault = PanelButton("Speeddefault", "Hard", this);
  SpeedSoft = PanelButton("SpeedSoft", "Soft", this);
  SpeedDisform = PanelButton("SpeedDisform", "Dithered", this);
  grid->addWidget(Speeddefault, 5, 0);
  grid->addWidget(SpeedSoft, 5, 1);
  grid->addWidget(SpeedDisform, 5, 2);
  SpeedCapture = PanelButton("SpeedCapture", "Capture", this);
  SpeedPaintColorClose = PanelButton("SpeedPaintColorClose", "Close", this);
  grid->addWidget(SpeedCapture, 6, 0, 1, 2);
  grid->addWidget(SpeedPaintColorClose, 6, 2);
  body()->addLayout(grid);
  adjustSize();

  const std::pair<QToolButton*, int32_t> modes[] = {
      {Speeddefault, kPaintHard}, {SpeedSoft, kPaintSoft}, {SpeedDisform, kPaintDithered}};
  for (const auto& [button, mode] : modes) {
    connect(button, &QToolButton::clicked, this, [this, mode = mode] { doc_.stroke().state().paint.mode = mode; });
  }
  connect(shpColor, &QToolButton::clicked, this, &TPanelPaintColor::ShpColorClick);
  connect(SpeedCapture, &QToolButton::clicked, this, &TPanelPaintColor::SpeedCaptureClick);
  SetCloseButton(SpeedPaintColorClose);
  connect(SpeedPaintColorClose, &QToolButton::clicked, this, &TPanelPaintColor::SpeedPaintColorCloseClick);
  PaintSlidersChanged();
}

std::optional<QColor> TPanelPaintColor::ChoosePaintColor() {
  const QColor current = shpColor->palette().color(QPalette::Button);
  const QColor chosen = doc_.ChooseColor(current);
  if (!chosen.isValid()) return std::nullopt;
  return chosen;
}

void TPanelPaintColor::PaintTool1Click() { OpenPaintTool(ChoosePaintColor()); }

void TPanelPaintColor::ShpColorClick() {
  if (const std::optional<QColor> chosen = ChoosePaintColor()) OpenPaintTool(chosen);
}

void TPanelPaintColor::OpenPaintTool(const std::optional<QColor>& chosen) {
  if (chosen) SetPaintColor(*chosen);
  doc_.modes().paint = true;
  // Element 0 becomes current the whole way (name, level label, buffers,
  // grids); a transform or a placement of the element before ends first.
  doc_.elementTools().EndElementTransforms();
  if (doc_.scene().currentElement != 0) SelectElement(doc_.scene(), 0);
  show();
  raise();
  doc_.Redraw();
}

void TPanelPaintColor::SpeedCaptureClick() {
  doc_.modes().colorCapture = true;
  if (const QCursor* dropper = doc_.customCursor("DROPPER")) doc_.viewport().setCursor(*dropper);
}

void TPanelPaintColor::CaptureColor() {
  const TViewportInputs& in = doc_.viewport().inputs();
  const TGeosphera& e = doc_.scene().current();
  const int32_t picked = doc_.stroke().state().pickedVertex;
  if (in.stencil.shown || in.referenceImage.shown) {
    ShowWarning(kCaptureRefused);
  } else if (picked >= 0 && picked < e.vertexCount && static_cast<size_t>(picked) < e.colors.size()) {
    const TRGBA& c = e.colors[static_cast<size_t>(picked)];
    SetPaintColor(QColor(c.r, c.g, c.b, sldAlpha->value()));
  }
  doc_.modes().colorCapture = false;
  doc_.viewport().unsetCursor();
}

void TPanelPaintColor::SpeedPaintColorCloseClick() {
  doc_.modes().paint = false;
  doc_.modes().colorCapture = false;
  hide();
  emit closed();
  doc_.viewport().unsetCursor();
}

void TPanelPaintColor::SetPaintColor(const QColor& color) {
  sldRed->setValue(color.red());
  sldGreen->setValue(color.green());
  sldBlue->setValue(color.blue());
  PaintSlidersChanged();
}

void TPanelPaintColor::PaintSlidersChanged() {
  const auto byte = [](const QSlider* slider) { return static_cast<uint8_t>(slider->value()); };
  doc_.stroke().state().paint.color = {byte(sldRed), byte(sldGreen), byte(sldBlue), byte(sldAlpha)};
  const QColor swatch(sldRed->value(), sldGreen->value(), sldBlue->value());
  QPalette palette = shpColor->palette();
  palette.setColor(QPalette::Button, swatch);
  shpColor->setPalette(palette);
  shpColor->setStyleSheet(QStringLiteral("QToolButton { background: %1; }").arg(swatch.name()));
}

// PanelPaintColor ("Paint"): vertex painting's colour sliders and swatch, the
// three blend modes, colour capture from the mesh, and Close.
#include <QGridLayout>
#include <QLabel>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/floating_panel.h"
#include "app/form_main.h"
#include "model/scene.h"
#include "render/panel_centro.h"

namespace {

QSlider* ColorSlider(const char* objectName, int value, QWidget* parent) {
  auto* slider = new QSlider(Qt::Horizontal, parent);
  slider->setObjectName(objectName);
  slider->setRange(0, 255);
  slider->setValue(value);
  slider->setFocusPolicy(Qt::NoFocus);
  return slider;
}

}  // namespace

void TFormMain::BuildPanelPaintColor() {
  FloatingPanel* panel = toolPanels.at("PanelPaintColor");
  auto* grid = new QGridLayout;
  const std::pair<QSlider**, const char*> sliders[] = {
      {&sldRed, "sldRed"}, {&sldGreen, "sldGreen"}, {&sldBlue, "sldBlue"}, {&sldAlpha, "sldAlpha"}};
  const char* captions[] = {"R", "G", "B", "A"};
  for (int i = 0; i < 4; ++i) {
    *sliders[i].first = ColorSlider(sliders[i].second, 255, panel);
    grid->addWidget(new QLabel(captions[i], panel), i, 0);
    grid->addWidget(*sliders[i].first, i, 1, 1, 2);
    connect(*sliders[i].first, &QSlider::valueChanged, this, &TFormMain::PaintSlidersChanged);
  }
  shpColor = PanelButton("shpColor", "", panel);
  shpColor->setFixedHeight(24);
  grid->addWidget(shpColor, 4, 0, 1, 3);
  Speeddefault = PanelButton("Speeddefault", "Hard", panel);
  SpeedSoft = PanelButton("SpeedSoft", "Soft", panel);
  SpeedDisform = PanelButton("SpeedDisform", "Dithered", panel);
  grid->addWidget(Speeddefault, 5, 0);
  grid->addWidget(SpeedSoft, 5, 1);
  grid->addWidget(SpeedDisform, 5, 2);
  SpeedCapture = PanelButton("SpeedCapture", "Capture", panel);
  SpeedPaintColorClose = PanelButton("SpeedPaintColorClose", "Close", panel);
  grid->addWidget(SpeedCapture, 6, 0, 1, 2);
  grid->addWidget(SpeedPaintColorClose, 6, 2);
  panel->body()->addLayout(grid);
  panel->adjustSize();

  const std::pair<QToolButton*, int32_t> modes[] = {
      {Speeddefault, kPaintHard}, {SpeedSoft, kPaintSoft}, {SpeedDisform, kPaintDithered}};
  for (const auto& [button, mode] : modes) {
    connect(button, &QToolButton::clicked, this, [this, mode = mode] { stroke_->state().paint.mode = mode; });
  }
  connect(shpColor, &QToolButton::clicked, this, &TFormMain::ShpColorClick);
  connect(SpeedCapture, &QToolButton::clicked, this, &TFormMain::SpeedCaptureClick);
  connect(SpeedPaintColorClose, &QToolButton::clicked, this, &TFormMain::SpeedPaintColorCloseClick);
  PaintSlidersChanged();
}

std::optional<QColor> TFormMain::ChoosePaintColor() {
  const QColor current = shpColor->palette().color(QPalette::Button);
  const QColor chosen = ChooseColor(current);
  if (!chosen.isValid()) return std::nullopt;
  return chosen;
}

void TFormMain::PaintTool1Click() { OpenPaintTool(ChoosePaintColor()); }

void TFormMain::ShpColorClick() {
  if (const std::optional<QColor> chosen = ChoosePaintColor()) OpenPaintTool(chosen);
}

// The chosen colour (if any) into the sliders, paint mode on element 0.
void TFormMain::OpenPaintTool(const std::optional<QColor>& chosen) {
  if (chosen) SetPaintColor(*chosen);
  Modes().paint = true;
  // Element 0 becomes current the whole way (name, level label, buffers,
  // grids); a transform or a placement of the element before ends first.
  EndElementTransforms();
  if (scene_.currentElement != 0) SelectElement(scene_, 0);
  FloatingPanel* panel = toolPanels.at("PanelPaintColor");
  panel->show();
  panel->raise();
  Redraw();
}

void TFormMain::SpeedCaptureClick() {
  Modes().colorCapture = true;
  if (const QCursor* dropper = customCursor("DROPPER")) centro_->setCursor(*dropper);
}

void TFormMain::SpeedPaintColorCloseClick() {
  Modes().paint = false;
  Modes().colorCapture = false;
  toolPanels.at("PanelPaintColor")->hide();
  RadioModelClick(0);
  centro_->unsetCursor();
}

void TFormMain::SetPaintColor(const QColor& color) {
  sldRed->setValue(color.red());
  sldGreen->setValue(color.green());
  sldBlue->setValue(color.blue());
  PaintSlidersChanged();
}

void TFormMain::PaintSlidersChanged() {
  const auto byte = [](const QSlider* slider) { return static_cast<uint8_t>(slider->value()); };
  stroke_->state().paint.color = {byte(sldRed), byte(sldGreen), byte(sldBlue), byte(sldAlpha)};
  const QColor swatch(sldRed->value(), sldGreen->value(), sldBlue->value());
  QPalette palette = shpColor->palette();
  palette.setColor(QPalette::Button, swatch);
  shpColor->setPalette(palette);
  shpColor->setStyleSheet(QStringLiteral("QToolButton { background: %1; }").arg(swatch.name()));
}

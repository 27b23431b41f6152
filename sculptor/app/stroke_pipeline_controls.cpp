// The brush controls of the stroke pipeline: intensity, symmetry, Invert
// Freeze, the temporary brushes of a stroke, and the status bar texts.
#include <unistd.h>

#include <QCheckBox>
#include <QLabel>
#include <QLocale>
#include <QRadioButton>
#include <QSlider>
#include <QToolButton>
#include <cmath>
#include <fstream>

#include "app/floating_panel.h"
#include "app/form_main.h"
#include "render/panel_centro.h"

namespace {

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

void TFormMain::ConnectStrokeControls() {
  centro_->setMouseTracking(true);  // hovering picks
  ScrollIntensity->setEnabled(true);
  connect(ScrollIntensity, &QSlider::valueChanged, this, &TFormMain::ScrollIntensityChange);
  // "Invert Freeze" of the Mesh Edit group.
  CheckBox1 = PanelMenu->findChild<QToolButton*>("SpeedInvertFreeze");
  CheckBox1->setObjectName("CheckBox1");
  CheckBox1->setEnabled(true);
  connect(CheckBox1, &QToolButton::clicked, this, &TFormMain::CheckBox1Click);
  if (auto* paint = PanelMenu->findChild<QToolButton*>("SpeedPaint")) {
    paint->setEnabled(true);
    connect(paint, &QToolButton::clicked, this, &TFormMain::PaintTool1Click);
  }
}

void TFormMain::ScrollIntensityChange(int position) {
  LabSize->setText(QString::number(position));
  brushIntensity_[static_cast<size_t>(selectedBrush_)] = position;
  if (const std::optional<float> strength = StrengthOnIntensityChange(selectedBrush_, position)) {
    centro_->inputs().brush.strength = *strength;
    stroke_->state().brushSign = FindBrush(selectedBrush_)->sign;
  }
  setFocus();
}

void TFormMain::CheckSymClick(bool checked) {
  centro_->inputs().brush.symmetry = checked;
  Redraw();
}

void TFormMain::CheckBox1Click() {
  if (RefusedInTextureMode()) return;
  for (uint8_t& mask : scene_.current().vertexState) mask = mask == kVertexFrozen ? kVertexFree : kVertexFrozen;
  Redraw();
}

// Shift: the second brush of the preferences for this stroke. Alt: the
// inverse of the current brush (Add -> Subtract, Pinch -> Unpinch ...).
void TFormMain::ArmTemporaryBrushes(Qt::KeyboardModifiers shift) {
  TStrokeState& s = stroke_->state();
  if (shift.testFlag(Qt::ShiftModifier) && !drag_.secondBrushItem) {
    drag_.secondBrushItem = selectedBrush_;
    s.brushSign = +1;
    const float strength = FindBrush(prefs_.secondBrush)->secondBrushStrength;
    if (strength != 0) centro_->inputs().brush.strength = strength;
    if (prefs_.secondBrush != selectedBrush_) RadioModelClick(prefs_.secondBrush);
  }
  if (shift.testFlag(Qt::AltModifier) && !drag_.inverseBrushItem) {
    drag_.inverseBrushItem = selectedBrush_;
    const TInverseBrush inverse = InverseBrush(selectedBrush_, s.brushSign);
    s.sculptMode = FindBrush(inverse.item)->sculptMode;
    s.brushSign = inverse.sign;
    RadioModel[static_cast<size_t>(inverse.item)]->setChecked(true);
  }
}

// The brush of before the stroke comes back: its list item is selected
// again, which sets its operator, strength and sign anew.
void TFormMain::RestoreTemporaryBrushes() {
  for (std::optional<int>* saved : {&drag_.inverseBrushItem, &drag_.secondBrushItem}) {
    if (!*saved) continue;
    const int item = **saved;
    saved->reset();
    RadioModelClick(item);
  }
}

void TFormMain::RefreshStrokeStatus() {
  const TGeosphera& e = scene_.current();
  const TBrushFrame& f = stroke_->state().frame;
  const size_t footprint = f.direct.entries.size() + (f.symmetry ? f.mirror.entries.size() : 0);
  const auto triangles = static_cast<qlonglong>(std::nearbyint(e.indexCount / 3.0));
  statusPanels[0]->setText(QStringLiteral("Triangles: %1").arg(triangles));
  statusPanels[1]->setText(QStringLiteral("Vertex: %1").arg(e.vertexCount));
  statusPanels[2]->setText(QStringLiteral("Selected Triangles: %1").arg(footprint));
  statusPanels[3]->setText(MemoryUsedText());
}

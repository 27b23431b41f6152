#include "app/panel_modeling.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/document.h"
#include "io/preferences.h"
#include "render/panel_centro.h"

namespace {

constexpr int kRadioColumns = 7;

}  // namespace

TPanelModeling::TPanelModeling(TDocument& doc, QWidget* parent)
    : FloatingPanel("PanelModeling", "Modelling", parent), doc_(doc) {
  auto* grid = new QGridLayout;
  auto* group = new QButtonGroup(this);
  for (int i = 0; i < kBrushCount; ++i) {
    RadioModel[i] = new QRadioButton(kBrushTable[i].name, this);
    RadioModel[i]->setObjectName(QString("RadioModel%1").arg(i));
    RadioModel[i]->setFocusPolicy(Qt::NoFocus);
    RadioModel[i]->setEnabled(kBrushTable[i].available);
    group->addButton(RadioModel[i], i);
    grid->addWidget(RadioModel[i], i / kRadioColumns, i % kRadioColumns);
  }
  RadioModel[0]->setChecked(true);
  body()->addLayout(grid);
  adjustSize();
  connect(group, &QButtonGroup::idClicked, this, &TPanelModeling::RadioModelClick);
  for (QRadioButton* brush : RadioModel) {
    connect(brush, &QRadioButton::toggled, this, [this](bool on) {
      if (on) emit brushChecked();
    });
  }
}

void TPanelModeling::RadioModelClick(int item) {
  const TBrushInfo* brush = FindBrush(item);
  if (brush == nullptr || !RadioModel[item]->isEnabled()) return;
  selectedBrush_ = item;
  RadioModel[item]->setChecked(true);
  TStrokeState& stroke = doc_.stroke().state();
  stroke.sculptMode = brush->sculptMode;
  stroke.brushSign = brush->sign;
  doc_.brush().strength = StrengthOnSelection(item, brushIntensity_[item]);
  emit brushSelected(item);
  emit intensityShown(brushIntensity_[item]);
  doc_.modes().freeze = doc_.modes().selection = false;
  doc_.RebuildCurrentAdjacency();
  doc_.stroke().RebuildScreenGrids();
  doc_.Redraw();
}

void TPanelModeling::LoadIntensities(const TPreferences& prefs) {
  brushIntensity_.fill(0);
  for (int slot = 0; slot < kPreferenceBrushCount; ++slot) {
    brushIntensity_[static_cast<size_t>(BrushOfPreferenceSlot(slot))] = prefs.brushDefaultIntensity[slot];
  }
  doc_.brush().strength = StrengthOnSelection(0, brushIntensity_[0]);
}

void TPanelModeling::IntensityChanged(int position) {
  brushIntensity_[static_cast<size_t>(selectedBrush_)] = position;
  if (const std::optional<float> strength = StrengthOnIntensityChange(selectedBrush_, position)) {
    doc_.brush().strength = *strength;
    doc_.stroke().state().brushSign = FindBrush(selectedBrush_)->sign;
  }
}

void TPanelModeling::DeselectBrushList() {
  QButtonGroup* group = RadioModel[0]->group();
  group->setExclusive(false);
  for (QRadioButton* brush : RadioModel) brush->setChecked(false);
  group->setExclusive(true);
}

// Shift: the second brush of the preferences for this stroke. Alt: the
// inverse of the current brush (Add -> Subtract, Pinch -> Unpinch ...).
void TPanelModeling::ArmTemporaryBrushes(Qt::KeyboardModifiers modifiers) {
  TStrokeState& s = doc_.stroke().state();
  const int second = doc_.preferences().secondBrush;
  if (modifiers.testFlag(Qt::ShiftModifier) && !secondBrushItem_) {
    secondBrushItem_ = selectedBrush_;
    s.brushSign = +1;
    const float strength = FindBrush(second)->secondBrushStrength;
    if (strength != 0) doc_.brush().strength = strength;
    if (second != selectedBrush_) RadioModelClick(second);
  }
  if (modifiers.testFlag(Qt::AltModifier) && !inverseBrushItem_) {
    inverseBrushItem_ = selectedBrush_;
    const TInverseBrush inverse = InverseBrush(selectedBrush_, s.brushSign);
    s.sculptMode = FindBrush(inverse.item)->sculptMode;
    s.brushSign = inverse.sign;
    RadioModel[static_cast<size_t>(inverse.item)]->setChecked(true);
  }
}

// The brush of before the stroke comes back: its list item is selected
// again, which sets its operator, strength and sign anew.
void TPanelModeling::RestoreTemporaryBrushes() {
  for (std::optional<int>* saved : {&inverseBrushItem_, &secondBrushItem_}) {
    if (!*saved) continue;
    const int item = **saved;
    saved->reset();
    RadioModelClick(item);
  }
}

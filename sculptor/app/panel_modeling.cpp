// PanelModeling ("Modelling"): the brush list RadioModel.
#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include "app/floating_panel.h"
#include "app/form_main.h"
#include "render/panel_centro.h"

namespace {

constexpr int kRadioColumns = 7;

}  // namespace

void TFormMain::BuildPanelModeling() {
  PanelModeling = new FloatingPanel("PanelModeling", "Modelling", centro_);
  connect(PanelModeling, &FloatingPanel::moved, this, &TFormMain::Redraw);
  auto* grid = new QGridLayout;
  auto* group = new QButtonGroup(PanelModeling);
  for (int i = 0; i < kBrushCount; ++i) {
    RadioModel[i] = new QRadioButton(kBrushTable[i].name, PanelModeling);
    RadioModel[i]->setObjectName(QString("RadioModel%1").arg(i));
    RadioModel[i]->setFocusPolicy(Qt::NoFocus);
    group->addButton(RadioModel[i], i);
    grid->addWidget(RadioModel[i], i / kRadioColumns, i % kRadioColumns);
    RadioModel[i]->setEnabled(kBrushTable[i].available);
  }
  RadioModel[0]->setChecked(true);
  PanelModeling->body()->addLayout(grid);
  PanelModeling->adjustSize();
  connect(group, &QButtonGroup::idClicked, this, &TFormMain::RadioModelClick);
}

// Brush selection: operator, strength and sign from the brush table; the
// intensity bar moves to the brush's own intensity (a new position recomputes
// the strength with the intensity divisor); freeze and selection painting end.
void TFormMain::RadioModelClick(int item) {
  const TBrushInfo* brush = FindBrush(item);
  if (brush == nullptr || !RadioModel[item]->isEnabled()) return;
  selectedBrush_ = item;
  RadioModel[item]->setChecked(true);
  stroke_->state().sculptMode = brush->sculptMode;
  stroke_->state().brushSign = brush->sign;
  centro_->inputs().brush.strength = StrengthOnSelection(item, brushIntensity_[item]);
  toolPanels.at("PanelStamp")->hide();
  ScrollIntensity->setValue(brushIntensity_[item]);
  LabSize->setText(QString::number(brushIntensity_[item]));
  Modes().freeze = Modes().selection = false;
  RebuildCurrentAdjacency();
  RebuildScreenGrids();
  Redraw();
}

// PanelModeling ("Modelling"): the brush list RadioModel.
#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/floating_panel.h"
#include "app/form_main.h"
#include "render/panel_centro.h"

namespace {

constexpr const char* kBrushNames[14] = {"Add",  "Subtract", "Grab",    "Pinch",   "Crease", "Scar",    "Smooth",
                                         "Wax",  "Inflate",  "Deflate", "Flatten", "Groove", "Unpinch", "Stamp"};
constexpr int kStampItem = 13;

}  // namespace

void TFormMain::BuildPanelModeling() {
  PanelModeling = new FloatingPanel("PanelModeling", "Modelling", centro_);
  connect(PanelModeling, &FloatingPanel::moved, this, &TFormMain::Redraw);
  auto* grid = new QGridLayout;
  auto* group = new QButtonGroup(PanelModeling);
  for (int i = 0; i < 14; ++i) {
    RadioModel[i] = new QRadioButton(kBrushNames[i], PanelModeling);
    RadioModel[i]->setObjectName(QString("RadioModel%1").arg(i));
    RadioModel[i]->setFocusPolicy(Qt::NoFocus);
    group->addButton(RadioModel[i], i);
    grid->addWidget(RadioModel[i], i / 7, i % 7);
  }
  RadioModel[kStampItem]->setEnabled(false);  // the stamp tools come later
  RadioModel[0]->setChecked(true);
  PanelModeling->body()->addLayout(grid);
  PanelModeling->adjustSize();
  connect(group, &QButtonGroup::idClicked, this, &TFormMain::RadioModelClick);
}

void TFormMain::RadioModelClick(int item) {
  if (item < 0 || item >= 14 || !RadioModel[item]->isEnabled()) return;
  selectedBrush_ = item;
  RadioModel[item]->setChecked(true);
  LabSize->setText(QString::number(brushIntensity_[item]));
}

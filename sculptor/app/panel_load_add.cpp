// PanelLoadAdd ("Make your choice:"): the chosen start mesh becomes the new
// principal mesh or joins the scene.
#include <QCheckBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/floating_panel.h"
#include "app/form_main.h"
#include "render/panel_centro.h"
#include "app/start_mesh.h"
#include "io/model_conversion.h"
#include "model/messages.h"

void TFormMain::BuildPanelLoadAdd() {
  PanelLoadAdd = new FloatingPanel("PanelLoadAdd", "Make your choice:", centro_);
  connect(PanelLoadAdd, &FloatingPanel::moved, this, &TFormMain::Redraw);
  CheckNewPrincipal = new QCheckBox("New principal mesh ", PanelLoadAdd);
  CheckNewPrincipal->setObjectName("CheckNewPrincipal");
  CheckNewPrincipal->setChecked(true);
  CheckAddMesh = new QCheckBox("Add new mesh to scene", PanelLoadAdd);
  CheckAddMesh->setObjectName("CheckAddMesh");
  for (QCheckBox* box : {CheckNewPrincipal, CheckAddMesh}) {
    box->setFocusPolicy(Qt::NoFocus);
    PanelLoadAdd->body()->addWidget(box);
  }
  // One box unchecks the other; both may be off.
  connect(CheckNewPrincipal, &QCheckBox::toggled, this, [this](bool on) {
    if (on) CheckAddMesh->setChecked(false);
  });
  connect(CheckAddMesh, &QCheckBox::toggled, this, [this](bool on) {
    if (on) CheckNewPrincipal->setChecked(false);
  });
  auto* ok = new QToolButton(PanelLoadAdd);
  ok->setObjectName("ButtLoadAdd");
  ok->setText("Ok");
  connect(ok, &QToolButton::clicked, this, &TFormMain::ButtLoadAddClick);
  PanelLoadAdd->body()->addWidget(ok, 0, Qt::AlignRight);
  PanelLoadAdd->adjustSize();
  PanelLoadAdd->hide();
}

void TFormMain::ButtLoadAddClick() {
  const bool sketch = startMeshChoice_ == kSketchChoice;
  const TStartMeshChoice* choice = startMeshChoice_ >= 1 && startMeshChoice_ < kLoadMeshChoice
                                       ? &kStartMeshChoices[static_cast<size_t>(startMeshChoice_ - 1)]
                                       : nullptr;
  if (choice != nullptr && CheckNewPrincipal->isChecked()) {
    ShowLevel(0);
    if (sketch) toolPanels.at("PanelSkech")->show();
    if (ReplaceSceneWith(ProgramFile(choice->model), kModelMet, scene_.loadScale)) {
      TGeosphera& e = scene_.current();
      e.textureId = 9;
      UploadElementBuffers(scene_, scene_.currentElement);
      e.placeState = kPlaced;
      if (sketch) e.sketchBase = 1;
      RebuildCurrentAdjacency();
      ShowLevel(e.subdivLevel);
      scene_.host->RebuildScreenGrids(scene_);
    }
    Redraw();
  } else if (choice != nullptr && CheckAddMesh->isChecked()) {
    if (sketch) {
      ShowWarning(kSketchOnlyPrincipal);
    } else if (AddMeshToScene(scene_, ModelFileToLoad(ProgramFile(choice->model).toStdString(), kModelMet), true, 1.0f)) {
      scene_.current().textureId = 7;
      UploadElementBuffers(scene_, scene_.currentElement);
      RebuildCurrentAdjacency();
      ShowLevel(0);
      scene_.host->RebuildScreenGrids(scene_);
    }
    Redraw();
  }
  PanelLoadAdd->hide();
  PanelStart->hide();
}

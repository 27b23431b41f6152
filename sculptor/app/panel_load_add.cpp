#include "app/panel_load_add.h"

#include <QCheckBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/document.h"
#include "app/start_mesh.h"
#include "app/widget_factory.h"
#include "io/model_conversion.h"
#include "model/messages.h"

namespace {

constexpr const char* kSketchOnlyPrincipal = "Skech only as principal mesh.";

}  // namespace

TPanelLoadAdd::TPanelLoadAdd(TDocument& doc, QWidget* parent)
    : FloatingPanel("PanelLoadAdd", "Make your choice:", parent), doc_(doc) {
  CheckNewPrincipal = CheckBox("CheckNewPrincipal", "New principal mesh ", this);
  CheckNewPrincipal->setChecked(true);
  CheckAddMesh = CheckBox("CheckAddMesh", "Add new mesh to scene", this);
  for (QCheckBox* box : {CheckNewPrincipal, CheckAddMesh}) body()->addWidget(box);
  // One box unchecks the other; both may be off.
  connect(CheckNewPrincipal, &QCheckBox::toggled, this, [this](bool on) {
    if (on) CheckAddMesh->setChecked(false);
  });
  connect(CheckAddMesh, &QCheckBox::toggled, this, [this](bool on) {
    if (on) CheckNewPrincipal->setChecked(false);
  });
  ButtLoadAdd = new QToolButton(this);
  ButtLoadAdd->setObjectName("ButtLoadAdd");
  ButtLoadAdd->setText("Ok");
  connect(ButtLoadAdd, &QToolButton::clicked, this, &TPanelLoadAdd::ButtLoadAddClick);
  body()->addWidget(ButtLoadAdd, 0, Qt::AlignRight);
  adjustSize();
  hide();
}

void TPanelLoadAdd::AskFor(int choice, QPoint position) {
  startMeshChoice_ = choice;
  move(position);
  show();
  raise();
  doc_.Redraw();
}

void TPanelLoadAdd::ButtLoadAddClick() {
  TScene& scene = doc_.scene();
  const bool sketch = startMeshChoice_ == kSketchChoice;
  const TStartMeshChoice* choice = startMeshChoice_ >= 1 && startMeshChoice_ < kLoadMeshChoice
                                       ? &kStartMeshChoices[static_cast<size_t>(startMeshChoice_ - 1)]
                                       : nullptr;
  if (choice != nullptr && CheckNewPrincipal->isChecked()) {
    if (mayReplaceScene_ && !mayReplaceScene_()) return;
    doc_.ShowSubdivisionLevel(0);
    if (sketch) emit sketchStarted();
    if (doc_.ReplaceSceneWith(doc_.ProgramFile(choice->model), kModelMet, scene.loadScale)) {
      TGeosphera& e = scene.current();
      e.textureId = 9;
      UploadElementBuffers(scene, scene.currentElement);
      e.placeState = kPlaced;
      if (sketch) {
        emit sketchLoaded();
        scene.elements[0].sketchBase = 1;
      }
      doc_.RebuildCurrentAdjacency();
      doc_.ShowSubdivisionLevel(e.subdivLevel);
      scene.host->RebuildScreenGrids(scene);
    }
    doc_.Redraw();
  } else if (choice != nullptr && CheckAddMesh->isChecked()) {
    if (sketch) {
      ShowWarning(kSketchOnlyPrincipal);
    } else if (AddMeshToScene(scene, ModelFileToLoad(doc_.ProgramFile(choice->model).toStdString(), kModelMet), true,
                              1.0f)) {
      scene.current().textureId = 7;
      UploadElementBuffers(scene, scene.currentElement);
      doc_.RebuildCurrentAdjacency();
      doc_.ShowSubdivisionLevel(0);
      scene.host->RebuildScreenGrids(scene);
    }
    doc_.Redraw();
  }
  hide();
  emit finished();
}

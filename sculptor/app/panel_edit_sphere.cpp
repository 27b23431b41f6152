#include "app/panel_edit_sphere.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/document.h"
#include "app/widget_factory.h"
#include "model/messages.h"
#include "render/panel_centro.h"
#include "sculpt/element_editing.h"

namespace {

constexpr const char* kColorQuestion = "This will clear all the colors in Paint mode. Do you want continue?";
constexpr const char* kNothingToDetach = "Select at least one vertex to detach.";
constexpr const char* kUnificationQuestion = "This is a one-way operation.Continue?";
constexpr const char* kUnificationCanceled = "Unification canceled.";

}  // namespace

TPanelEditSphere::TPanelEditSphere(TDocument& doc, QWidget* parent)
    : FloatingPanel("PanelEditSphere", "Edit", parent), doc_(doc) {
  move(180, 40);
  hide();
  ListElementos = new QListWidget(this);
  ListElementos->setObjectName("ListElementos");
  ListElementos->setFixedHeight(120);
  body()->addWidget(ListElementos);
  EditNameEsfera = new QLineEdit(this);
  EditNameEsfera->setObjectName("EditNameEsfera");
  body()->addWidget(EditNameEsfera);

  auto* grid = new QGridLayout;
  const struct {
    const char* objectName;
    const char* caption;
    QToolButton** member;
    void (TPanelEditSphere::*handler)();
  } buttons[] = {
      {"SpeedButton6", "Change", &SpeedButton6, &TPanelEditSphere::SpeedButton6Click},
      {"SpeedVisible", "Visible", &SpeedVisible, &TPanelEditSphere::SpeedVisibleClick},
      {"SpeedColor", "Color", &SpeedColor, &TPanelEditSphere::SpeedColorClick},
      {"SpeedPosition", "Position", &SpeedPosition, &TPanelEditSphere::SpeedPositionClick},
      {"SpeedRotate", "Rotate", &SpeedRotate, &TPanelEditSphere::SpeedRotateClick},
      {"SpeedDimension", "Dimension", &SpeedDimension, &TPanelEditSphere::SpeedDimensionClick},
      {"SpeedMirror", "Mirror", &SpeedMirror, &TPanelEditSphere::SpeedMirrorClick},
      {"SpeedDeletar", "Delete", &SpeedDeletar, &TPanelEditSphere::SpeedDeletarClick},
      {"SpeedUnification", "Unification", &SpeedUnification, &TPanelEditSphere::SpeedUnificationClick},
      {"SpeedFechar", "Close", &SpeedFechar, &TPanelEditSphere::SpeedFecharClick},
  };
  for (size_t i = 0; i < std::size(buttons); ++i) {
    *buttons[i].member = PanelButton(buttons[i].objectName, buttons[i].caption, this);
    grid->addWidget(*buttons[i].member, static_cast<int>(i) / 3, static_cast<int>(i) % 3);
    connect(*buttons[i].member, &QToolButton::clicked, this, buttons[i].handler);
  }
  body()->addLayout(grid);
  SetCloseButton(SpeedFechar);
  SpeedDeletar->setToolTip("Delete (Delete)");
  MakeToggle(SpeedRotate);
  MakeToggle(SpeedDimension);
  adjustSize();
  connect(ListElementos, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { ListElementosClick(ListElementos->row(item)); });

  TElementTools& tools = doc_.elementTools();
  connect(&tools, &TElementTools::rotateModeChanged, SpeedRotate, &QToolButton::setChecked);
  connect(&tools, &TElementTools::dimensionModeChanged, SpeedDimension, &QToolButton::setChecked);
  connect(&doc_, &TDocument::elementListChanged, this, [this] {
    if (!listFrozen_) FillElementList();
  });
  connect(&doc_, &TDocument::elementNameShown, EditNameEsfera, &QLineEdit::setText);
  connect(&doc_, &TDocument::sceneReplaced, this, &TPanelEditSphere::ResetDetachCounter);
}

void TPanelEditSphere::FillElementList() {
  const TScene& scene = doc_.scene();
  ListElementos->clear();
  for (const TGeosphera& e : scene.elements) ListElementos->addItem(QString::fromStdString(e.name));
  ListElementos->setCurrentRow(scene.currentElement);
  EditNameEsfera->setText(QString::fromStdString(scene.current().name));
}

void TPanelEditSphere::SpeedEditarClick() {
  if (doc_.RefusedInTextureMode()) return;
  show();
  raise();
  FillElementList();
  ListElementos->setFocus();
}

void TPanelEditSphere::ListElementosClick(int row) {
  TScene& scene = doc_.scene();
  if (row < 0 || row >= scene.elementCount()) return;
  TElementTools& tools = doc_.elementTools();
  // An element still following the pointer is put down where it is first:
  // once no longer current, no press would ever place it.
  if (scene.current().placeState != kPlaced) tools.PutDownPlacedElement();
  if (!SelectElement(scene, row)) return;
  tools.SetDimensionMode(false);
  if (doc_.modes().rotate) tools.SetRotateMode(true);  // the handle moves to the new element
  doc_.RebuildCurrentAdjacency();
}

void TPanelEditSphere::SpeedButton6Click() {
  TScene& scene = doc_.scene();
  const int row = ListElementos->currentRow();
  if (row < 0 || row >= scene.elementCount()) return;
  scene.elements[static_cast<size_t>(row)].name = EditNameEsfera->text().toStdString();
  ListElementos->item(row)->setText(EditNameEsfera->text());
  doc_.SceneChanged();
}

void TPanelEditSphere::SpeedVisibleClick() {
  ToggleVisible(doc_.scene());
  doc_.SceneChanged();
}

void TPanelEditSphere::SpeedColorClick() {
  if (doc_.RefusedInTextureMode()) return;
  const TGeosphera& e = doc_.scene().current();
  const QColor initial(e.colorR, e.colorG, e.colorB);
  const QColor color = doc_.ChooseColor(initial, "Color");
  if (!color.isValid()) return;
  if (AskConfirmation(kColorQuestion, MessageButtons::OkCancel) != MessageAnswer::Ok) return;
  PaintElementColor(doc_.scene(), static_cast<uint8_t>(color.red()), static_cast<uint8_t>(color.green()),
                    static_cast<uint8_t>(color.blue()));
  doc_.SceneChanged();
  doc_.Redraw();
}

void TPanelEditSphere::SpeedPositionClick() {
  if (doc_.RefusedInTextureMode() || doc_.scene().current().placeState != kPlaced) return;
  doc_.elementTools().StartPlacement();
  hide();
}

void TPanelEditSphere::SpeedRotateClick() {
  if (doc_.RefusedInTextureMode()) {
    SpeedRotate->setChecked(doc_.modes().rotate);
    return;
  }
  doc_.elementTools().SetRotateMode(!doc_.modes().rotate);
}

void TPanelEditSphere::SpeedDimensionClick() {
  if (doc_.RefusedInTextureMode()) {
    SpeedDimension->setChecked(doc_.modes().dimension);
    return;
  }
  TElementTools& tools = doc_.elementTools();
  if (doc_.modes().dimension) {
    tools.EndElementTransforms();
  } else {
    tools.SetDimensionMode(true);
  }
}

// The element tools belong to the panel: once it is closed, a left drag sculpts again.
void TPanelEditSphere::SpeedFecharClick() {
  doc_.elementTools().EndElementTransforms();
  hide();
}

void TPanelEditSphere::SpeedDetachClick() {
  if (doc_.RefusedInTextureMode()) return;
  if (!doc_.modes().selection) {
    ShowWarning(kNothingToDetach);
    return;
  }
  RunDetach();
}

void TPanelEditSphere::RunDetach() {
  TScene& scene = doc_.scene();
  if (scene.current().placeState != kPlaced) doc_.elementTools().PutDownPlacedElement();
  const uint32_t source = scene.current().uid;
  DetachSelection(scene, detachCounter_, mirrorDetach_);
  doc_.ElementAdded(scene.current().uid, source);
  detachCounter_ += 2;
  doc_.modes().selection = false;
  emit maskModesChanged();
}

void TPanelEditSphere::SpeedMirrorClick() {
  if (doc_.RefusedInTextureMode()) return;
  MaskWholeElement(doc_.scene().current());
  doc_.modes().selection = mirrorDetach_ = true;
  RunDetach();
  doc_.modes().selection = mirrorDetach_ = false;
  FillElementList();
}

void TPanelEditSphere::SpeedUnificationClick() {
  TScene& scene = doc_.scene();
  if (doc_.RefusedInTextureMode() || scene.elementCount() < 2) return;
  if (AskConfirmation(kUnificationQuestion, MessageButtons::YesNo) != MessageAnswer::Yes) {
    ShowWarning(kUnificationCanceled);
    return;
  }
  hide();
  doc_.elementTools().EndElementTransforms();
  listFrozen_ = true;
  UnifyElements(scene);
  listFrozen_ = false;
  FillElementList();
  doc_.ShowSubdivisionLevel(scene.current().subdivLevel);
}

void TPanelEditSphere::SpeedDeletarClick() {
  if (doc_.RefusedInTextureMode()) return;
  TScene& scene = doc_.scene();
  doc_.elementTools().EndElementTransforms();
  const int before = scene.elementCount();
  DeleteElement(scene);
  if (scene.elementCount() < before) {
    // Element 0 is current now: its level shows, and the picking grids and
    // footprints of the removed element go.
    doc_.ShowSubdivisionLevel(scene.current().subdivLevel);
    scene.host->ClearFootprints();
    scene.host->RebuildScreenGrids(scene);
  }
  doc_.RebuildCurrentAdjacency();
  doc_.Redraw();
}

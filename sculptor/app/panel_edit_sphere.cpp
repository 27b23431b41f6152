// PanelEditSphere ("Edit"): the element list with renaming, visibility and
// colour, and the buttons of the element transforms and element commands.
#include <QGridLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/floating_panel.h"
#include "app/form_main.h"
#include "model/messages.h"
#include "render/panel_centro.h"
#include "sculpt/element_editing.h"

namespace {

constexpr const char* kColorQuestion = "This will clear all the colors in Paint mode. Do you want continue?";

}  // namespace

void TFormMain::BuildPanelEditSphere(FloatingPanel* panel) {
  ListElementos = new QListWidget(panel);
  ListElementos->setObjectName("ListElementos");
  ListElementos->setFixedHeight(120);
  panel->body()->addWidget(ListElementos);
  EditNameEsfera = new QLineEdit(panel);
  EditNameEsfera->setObjectName("EditNameEsfera");
  panel->body()->addWidget(EditNameEsfera);

  auto* grid = new QGridLayout;
  const std::pair<const char*, const char*> kButtons[] = {
      {"SpeedButton6", "Change"},   {"SpeedVisible", "Visible"}, {"SpeedColor", "Color"},
      {"SpeedPosition", "Position"}, {"SpeedRotate", "Rotate"},   {"SpeedDimension", "Dimension"},
      {"SpeedMirror", "Mirror"},     {"SpeedDeletar", "Delete"},  {"SpeedUnification", "Unification"},
      {"SpeedFechar", "Close"}};
  void (TFormMain::*const kHandlers[])() = {
      &TFormMain::SpeedButton6Click,  &TFormMain::SpeedVisibleClick, &TFormMain::SpeedColorClick,
      &TFormMain::SpeedPositionClick, &TFormMain::SpeedRotateClick,  &TFormMain::SpeedDimensionClick,
      &TFormMain::SpeedMirrorClick,   &TFormMain::SpeedDeletarClick, &TFormMain::SpeedUnificationClick,
      &TFormMain::SpeedFecharClick};
  for (size_t i = 0; i < std::size(kButtons); ++i) {
    QToolButton* button = PanelButton(kButtons[i].first, kButtons[i].second, panel);
    grid->addWidget(button, static_cast<int>(i) / 3, static_cast<int>(i) % 3);
    connect(button, &QToolButton::clicked, this, kHandlers[i]);
  }
  panel->body()->addLayout(grid);
  SpeedRotate = panel->findChild<QToolButton*>("SpeedRotate");
  SpeedDimension = panel->findChild<QToolButton*>("SpeedDimension");
  SpeedRotate->setCheckable(true);
  SpeedDimension->setCheckable(true);
  panel->adjustSize();
  connect(ListElementos, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { ListElementosClick(ListElementos->row(item)); });
}

void TFormMain::FillElementList() {
  ListElementos->clear();
  for (const TGeosphera& e : scene_.elements) ListElementos->addItem(QString::fromStdString(e.name));
  ListElementos->setCurrentRow(scene_.currentElement);
  EditNameEsfera->setText(QString::fromStdString(scene_.current().name));
}

void TFormMain::WindowSceneHost::RefreshElementList(TScene&) {
  if (!form_.elementListFrozen_) form_.FillElementList();
  form_.SceneChanged();  // elements were added or removed
}

void TFormMain::WindowSceneHost::ShowElementName(const std::string& name) {
  form_.EditNameEsfera->setText(QString::fromStdString(name));
}

void TFormMain::WindowSceneHost::ClearTransformDrag() { form_.elementDrag_ = {}; }

void TFormMain::SpeedEditarClick() {
  if (RefusedInTextureMode()) return;
  FloatingPanel* panel = toolPanels.at("PanelEditSphere");
  panel->show();
  panel->raise();
  FillElementList();
  ListElementos->setFocus();
}

void TFormMain::ListElementosClick(int row) {
  if (row < 0 || row >= scene_.elementCount()) return;
  // An element still following the pointer is put down where it is first:
  // once no longer current, no press would ever place it.
  if (scene_.current().placeState != kPlaced) PutDownPlacedElement();
  if (!SelectElement(scene_, row)) return;
  SetDimensionMode(false);
  if (Modes().rotate) SetRotateMode(true);  // the handle moves to the new element
  RebuildCurrentAdjacency();
}

void TFormMain::SpeedButton6Click() {
  const int row = ListElementos->currentRow();
  if (row < 0 || row >= scene_.elementCount()) return;
  scene_.elements[static_cast<size_t>(row)].name = EditNameEsfera->text().toStdString();
  ListElementos->item(row)->setText(EditNameEsfera->text());
}

void TFormMain::SpeedVisibleClick() { ToggleVisible(scene_); }

void TFormMain::SpeedColorClick() {
  if (RefusedInTextureMode()) return;
  const TGeosphera& e = scene_.current();
  const QColor initial(e.colorR, e.colorG, e.colorB);
  const QColor color = ChooseColor(initial, "Color");
  if (!color.isValid()) return;
  if (AskConfirmation(kColorQuestion, MessageButtons::OkCancel) != MessageAnswer::Ok) return;
  PaintElementColor(scene_, static_cast<uint8_t>(color.red()), static_cast<uint8_t>(color.green()),
                    static_cast<uint8_t>(color.blue()));
  Redraw();
}

void TFormMain::SpeedFecharClick() {
  SetDimensionMode(false);
  toolPanels.at("PanelEditSphere")->hide();
}

// The element editing commands of the tool panel and the Edit menu: Freeze,
// UnFreeze All, Selection Mode, Detach, Mirror, Unification, Edit Object; and
// what the element panel and the element tools share.
#include <QAction>
#include <QButtonGroup>
#include <QMenu>
#include <QRadioButton>
#include <QToolButton>

#include "app/floating_panel.h"
#include "app/form_main.h"
#include "model/messages.h"
#include "render/panel_centro.h"
#include "sculpt/element_editing.h"

namespace {

constexpr const char* kTextureModeRefusal = "Disable texture mode to return sculpting.";
constexpr const char* kNothingToDetach = "Select at least one vertex to detach.";
constexpr const char* kUnificationQuestion = "This is a one-way operation.Continue?";
constexpr const char* kUnificationCanceled = "Unification canceled.";

}  // namespace

void TFormMain::ConnectEditingButtons() {
  auto wire = [this](const char* name, void (TFormMain::*handler)(), bool checkable) {
    auto* button = PanelMenu->findChild<QToolButton*>(name);
    button->setEnabled(true);
    button->setCheckable(checkable);
    connect(button, &QToolButton::clicked, this, handler);
    return button;
  };
  wire("SpeedEditObject", &TFormMain::SpeedEditarClick, false);
  SpeedFreeze = wire("SpeedFreeze", &TFormMain::SpeedFreezeClick, true);
  wire("SpeedUnfreeze", &TFormMain::SpeedUnfreezeAllClick, false);
  SpeedSelMode = wire("SpeedSelection", &TFormMain::SpeedSelModeClick, true);
  wire("SpeedDetach", &TFormMain::SpeedDetachClick, false);
  wire("SpeedUnification", &TFormMain::SpeedUnificationClick, false);
  wire("SpeedMirror", &TFormMain::SpeedMirrorClick, false);
  // Choosing a brush, by click or by shortcut, ends mask painting.
  for (QRadioButton* brush : RadioModel) {
    connect(brush, &QRadioButton::toggled, this, [this](bool on) {
      if (on) LeaveMaskPainting();
    });
  }
}

void TFormMain::AddEditingMenuItems(QMenu* edit) {
  edit->addAction("Edit Object", this, &TFormMain::SpeedEditarClick);
  edit->addAction("Freeze", this, [this] { SpeedFreeze->click(); });
  edit->addAction("Unfreeze All", this, &TFormMain::SpeedUnfreezeAllClick);
  edit->addAction("Invert Freeze", this, &TFormMain::CheckBox1Click);
  edit->addAction("Selection Mode", this, &TFormMain::SpeedSelModeClick);
  edit->addAction("Detach", this, &TFormMain::SpeedDetachClick);
  edit->addAction("Unification", this, &TFormMain::SpeedUnificationClick);
  edit->addAction("Mirror", this, &TFormMain::SpeedMirrorClick);
}

bool TFormMain::RefusedInTextureMode() const {
  if (!centro_->state().textureViewOn) return false;
  ShowWarning(kTextureModeRefusal);
  return true;
}

void TFormMain::DeselectBrushList() {
  QButtonGroup* group = RadioModel[0]->group();
  group->setExclusive(false);
  for (QRadioButton* brush : RadioModel) brush->setChecked(false);
  group->setExclusive(true);
}

void TFormMain::SetFreezeMode(bool on) {
  Modes().freeze = on;  // the point view shows the mask meanwhile
  SpeedFreeze->setChecked(on);
}

void TFormMain::LeaveMaskPainting() {
  SetFreezeMode(false);
  Modes().selection = false;
  SpeedSelMode->setChecked(false);
}

void TFormMain::UploadCurrentElement() { UploadElementBuffers(scene_, scene_.currentElement); }

void TFormMain::SpeedFreezeClick() {
  if (RefusedInTextureMode()) {
    SpeedFreeze->setChecked(Modes().freeze);
    return;
  }
  const bool down = SpeedFreeze->isChecked();
  if (down) {
    DeselectBrushList();
  } else {
    ClearMask(scene_.current());
  }
  SetFreezeMode(down);
  Redraw();
}

void TFormMain::SpeedUnfreezeAllClick() {
  if (RefusedInTextureMode()) return;
  SetFreezeMode(false);
  ClearAllMasks(scene_);
  Redraw();
}

void TFormMain::SpeedSelModeClick() {
  if (RefusedInTextureMode()) {
    SpeedSelMode->setChecked(Modes().selection);
    return;
  }
  ClearMask(scene_.current());
  TToolModes& modes = Modes();
  modes.selection = !modes.selection;
  if (modes.selection) DeselectBrushList();
  SpeedSelMode->setChecked(modes.selection);
  Redraw();
}

void TFormMain::SpeedDetachClick() {
  if (RefusedInTextureMode()) return;
  if (!Modes().selection) {
    ShowWarning(kNothingToDetach);
    return;
  }
  RunDetach();
}

// The detach itself: the copy takes the counter, which advances by two in all.
void TFormMain::RunDetach() {
  if (scene_.current().placeState != kPlaced) PutDownPlacedElement();
  DetachSelection(scene_, elementEditing_.detachCounter, elementEditing_.mirrorDetach);
  elementEditing_.detachCounter += 2;
  Modes().selection = false;
  SpeedSelMode->setChecked(false);
}

void TFormMain::SpeedMirrorClick() {
  if (RefusedInTextureMode()) return;
  MaskWholeElement(scene_.current());
  Modes().selection = elementEditing_.mirrorDetach = true;
  RunDetach();
  Modes().selection = elementEditing_.mirrorDetach = false;
  FillElementList();
}

void TFormMain::SpeedUnificationClick() {
  if (RefusedInTextureMode() || scene_.elementCount() < 2) return;
  if (AskConfirmation(kUnificationQuestion, MessageButtons::YesNo) != MessageAnswer::Yes) {
    ShowWarning(kUnificationCanceled);
    return;
  }
  toolPanels.at("PanelEditSphere")->hide();
  EndElementTransforms();
  elementListFrozen_ = true;
  UnifyElements(scene_);
  elementListFrozen_ = false;
  FillElementList();
  ShowLevel(scene_.current().subdivLevel);
}

void TFormMain::SpeedDeletarClick() {
  if (RefusedInTextureMode()) return;
  EndElementTransforms();
  const int before = scene_.elementCount();
  DeleteElement(scene_);
  if (scene_.elementCount() < before) {
    // Element 0 is current now: its level shows, and the picking grids and
    // footprints of the removed element go.
    ShowLevel(scene_.current().subdivLevel);
    scene_.host->ClearFootprints();
    scene_.host->RebuildScreenGrids(scene_);
  }
  RebuildCurrentAdjacency();
  Redraw();
}

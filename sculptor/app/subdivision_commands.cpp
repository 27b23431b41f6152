// "Subdivide", "UnSubdivide" and "Detail" from the Edit menu, the tool panel
// and the shortcut commands 1 and 2; the work itself is in the sculpting core.
#include <malloc.h>

#include <QAction>
#include <QLabel>
#include <QToolButton>

#include "app/floating_panel.h"
#include "app/form_main.h"
#include "render/panel_centro.h"
#include "sculpt/detail.h"
#include "sculpt/subdivision.h"

void TFormMain::ConnectSubdivisionButtons() {
  SpeedSubdivide = PanelMenu->findChild<QToolButton*>("SpeedSubdivide");
  SpeedUnSubdivide = PanelMenu->findChild<QToolButton*>("SpeedUnSubdivide");
  SpeedDetail = PanelMenu->findChild<QToolButton*>("SpeedDetail");
  const std::pair<QToolButton*, void (TFormMain::*)()> buttons[] = {{SpeedSubdivide, &TFormMain::SpeedSubdivideClick},
                                                                    {SpeedUnSubdivide, &TFormMain::SpeedUnsubdivideClick},
                                                                    {SpeedDetail, &TFormMain::SpeedDetailClick}};
  for (const auto& [button, handler] : buttons) {
    button->setEnabled(true);
    connect(button, &QToolButton::clicked, this, handler);
  }
}

// Subdivision changes the mesh, which the texture view keeps as it is (like
// every editing command); nothing happens either while an element is being placed.
bool TFormMain::ResolutionCommandAllowed() {
  if (RefusedInTextureMode()) return false;
  return !Modes().position && scene_.current().placeState == kPlaced;
}

TResolutionUndo TFormMain::ResolutionUndo() {
  return {[this](TScene& scene) { undo_.TakeSnapshot(scene.current(), UndoChannel::Geometry, 2); },
          [this](TScene& scene) { undo_.RestoreSnapshot(scene, UndoChannel::Geometry); }};
}

void TFormMain::SpeedSubdivideClick() {
  if (!ResolutionCommandAllowed()) return;
  malloc_trim(0);
  Subdivide(scene_, ResolutionUndo());
}

void TFormMain::SpeedUnsubdivideClick() {
  if (!ResolutionCommandAllowed()) return;
  malloc_trim(0);
  if (Unsubdivide(scene_, ResolutionUndo())) malloc_trim(0);
}

void TFormMain::SpeedDetailClick() {
  if (!ResolutionCommandAllowed()) return;
  ATContsel affected;
  Detail(scene_, centro_->inputs().hoveredVertex, affected, ResolutionUndo());
}

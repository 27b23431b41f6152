#include "app/form_input.h"

#include <QAction>
#include <QKeySequence>
#include <QSlider>
#include <cstdlib>

#include "app/document.h"
#include "app/main_menu.h"
#include "app/panel_edit_sphere.h"
#include "app/panel_menu.h"
#include "app/panel_modeling.h"
#include "render/panel_centro.h"

TFormInput::TFormInput(TDocument& doc, TPanelMenu& tools, TPanelModeling& brushes, TPanelEditSphere& elements,
                       TMainMenu& menu)
    : doc_(doc), tools_(tools), brushes_(brushes), elements_(elements), menu_(menu) {}

bool TFormInput::ShortcutDown(int item) const { return keys_.IsDown(QtKeyOfKeyListItem(item)); }

// "Radius and Zoom", "Subdivide", "Unsubdivide" and "Undo" act here; the
// others belong to tools that are not in the window yet, and the stencil keys
// act through the mouse handlers while they are held.
bool TFormInput::RunShortcutCommand(int command) {
  const auto [first, second] = doc_.preferences().commandKeys[static_cast<size_t>(command)];
  const bool fires = (first == 0 && second != 0 && ShortcutDown(second)) ||
                     (second == 0 && first != 0 && ShortcutDown(first)) ||
                     (first != 0 && second != 0 && ShortcutDown(first) && ShortcutDown(second));
  if (!fires) return false;
  if (command == kShortcutRadiusAndZoom) radiusKeyMode_ = !radiusKeyMode_;
  if (command == kShortcutSubdivide) tools_.SpeedSubdivideClick();
  if (command == kShortcutUnsubdivide) tools_.SpeedUnsubdivideClick();
  if (command == kShortcutUndo) menu_.Undo1Click();
  return true;
}

void TFormInput::FormKeyDown(int qtKey, Qt::KeyboardModifiers modifiers) {
  keys_.Press(qtKey);
  // Modifiers held before the window had the focus arrive only as flags.
  const std::pair<Qt::KeyboardModifier, int> kModifierKeys[] = {
      {Qt::ControlModifier, Qt::Key_Control}, {Qt::ShiftModifier, Qt::Key_Shift}, {Qt::AltModifier, Qt::Key_Alt}};
  for (const auto& [flag, key] : kModifierKeys) {
    if (modifiers.testFlag(flag)) keys_.Press(key);
    else if (key != qtKey) keys_.Release(key);
  }

  // Redo's keys, when they reach the window as keys rather than as the menu
  // item's shortcut, come before the shortcut commands: Ctrl+Shift+Z holds
  // Ctrl+Z, the keys of "Undo".
  if (menu_.Redo1->shortcuts().contains(QKeySequence(QKeyCombination(modifiers, Qt::Key(qtKey))))) {
    return menu_.Redo1Click();
  }

  bool commandFired = false;
  for (int command = 0; command < kShortcutCommandCount && !commandFired; ++command) {
    commandFired = RunShortcutCommand(command);
  }
  if (!commandFired) {
    for (int slot = 0; slot < kPreferenceBrushCount; ++slot) {
      const int key = doc_.preferences().brushKeys[static_cast<size_t>(slot)];
      if (key != 0 && ShortcutDown(key)) {
        brushes_.RadioModelClick(BrushOfPreferenceSlot(slot));
        break;
      }
    }
  }
  PanelCentro& view = doc_.viewport();
  if (!doc_.modes().dimension && (qtKey == Qt::Key_Up || qtKey == Qt::Key_Down)) {
    const bool up = qtKey == Qt::Key_Up;
    if (radiusKeyMode_) {
      tools_.ScrollRadius->setValue(tools_.ScrollRadius->value() + (up ? 2 : -2));
    } else {
      view.state().zoom *= up ? 1 - kKeyZoomStep : 1 + kKeyZoomStep;
      view.RebuildCursorCircles();
      doc_.stroke().state().gridsStale = true;
    }
    doc_.stroke().UpdateBrushWindow();
    doc_.Redraw();
  }
  if (keys_.IsDown(Qt::Key_Delete) && doc_.scene().elementCount() > 0) elements_.SpeedDeletarClick();
}

void TFormInput::FormMouseWheel(int notches) {
  if (doc_.elementTools().ElementToolWheel(notches)) return;  // Dimension scales the element instead
  PanelCentro& view = doc_.viewport();
  for (int i = 0; i < std::abs(notches); ++i) {
    const bool up = notches > 0;
    if (radiusKeyMode_) {
      tools_.ScrollRadius->setValue(tools_.ScrollRadius->value() + (up ? 2 : -2));
    } else {
      view.WheelZoom(up);
    }
  }
  doc_.stroke().UpdateBrushWindow();
  view.RebuildCursorCircles();
  doc_.stroke().state().gridsStale = true;  // rebuilt at the next hovering move
  doc_.Redraw();
}

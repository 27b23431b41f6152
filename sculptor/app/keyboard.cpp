// FormKeyDown and FormMouseWheel: shortcut commands, brush shortcuts, zoom and
// brush size keys, Delete.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QAbstractSpinBox>
#include <QSlider>
#include <QWheelEvent>

#include "app/form_main.h"
#include "render/panel_centro.h"

namespace {

// A text field with the focus keeps its keys.
bool TextFieldHasFocus() {
  QWidget* focus = QApplication::focusWidget();
  return qobject_cast<QLineEdit*>(focus) != nullptr || qobject_cast<QAbstractSpinBox*>(focus) != nullptr;
}

enum ShortcutCommand {
  kRadiusAndZoom = 0,
  kSubdivide,
  kUnsubdivide,
  kUndo,
  kHideStencil,
  kMoveStencil,
  kRotateStencil,
  kScaleStencil,
  kHideImageReference,
};

}  // namespace

bool TFormMain::ShortcutDown(int item) const { return keys_.IsDown(QtKeyOfKeyListItem(item)); }

// True when the command's keys are down. "Radius and Zoom", "Subdivide",
// "Unsubdivide" and "Undo" act here; the others belong to tools that are not
// in the window yet, and the stencil keys act through the mouse handlers while
// they are held.
bool TFormMain::RunShortcutCommand(int command) {
  const auto [first, second] = prefs_.commandKeys[static_cast<size_t>(command)];
  const bool fires = (first == 0 && second != 0 && ShortcutDown(second)) ||
                     (second == 0 && first != 0 && ShortcutDown(first)) ||
                     (first != 0 && second != 0 && ShortcutDown(first) && ShortcutDown(second));
  if (!fires) return false;
  if (command == kRadiusAndZoom) radiusKeyMode_ = !radiusKeyMode_;
  if (command == kSubdivide) SpeedSubdivideClick();
  if (command == kUnsubdivide) SpeedUnsubdivideClick();
  if (command == kUndo) Undo1Click();
  return true;
}

void TFormMain::keyPressEvent(QKeyEvent* event) {
  if (TextFieldHasFocus()) return QMainWindow::keyPressEvent(event);
  FormKeyDown(event->key(), event->modifiers());
}

void TFormMain::keyReleaseEvent(QKeyEvent* event) {
  keys_.Release(event->key());
  QMainWindow::keyReleaseEvent(event);
}

void TFormMain::FormKeyDown(int qtKey, Qt::KeyboardModifiers modifiers) {
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
  if (Redo1->shortcuts().contains(QKeySequence(QKeyCombination(modifiers, Qt::Key(qtKey))))) return Redo1Click();

  bool commandFired = false;
  for (int command = 0; command < kShortcutCommandCount && !commandFired; ++command) {
    commandFired = RunShortcutCommand(command);
  }
  if (!commandFired) {
    for (int slot = 0; slot < kPreferenceBrushCount; ++slot) {
      const int key = prefs_.brushKeys[static_cast<size_t>(slot)];
      if (key != 0 && ShortcutDown(key)) {
        RadioModelClick(BrushOfPreferenceSlot(slot));
        break;
      }
    }
  }
  if (!Modes().dimension && (qtKey == Qt::Key_Up || qtKey == Qt::Key_Down)) {
    const bool up = qtKey == Qt::Key_Up;
    if (radiusKeyMode_) {
      ScrollRadius->setValue(ScrollRadius->value() + (up ? 2 : -2));
    } else {
      centro_->state().zoom *= up ? 1 - kKeyZoomStep : 1 + kKeyZoomStep;
      centro_->RebuildCursorCircles();
      stroke_->state().gridsStale = true;
    }
    UpdateBrushWindow();
    Redraw();
  }
  if (keys_.IsDown(Qt::Key_Delete) && scene_.elementCount() > 0) SpeedDeletarClick();
}

void TFormMain::wheelEvent(QWheelEvent* event) {
  const int notches = event->angleDelta().y() / 120;
  if (notches != 0) FormMouseWheel(notches);
  event->accept();
}

void TFormMain::FormMouseWheel(int notches) {
  if (ElementToolWheel(notches)) return;  // Dimension scales the element instead
  for (int i = 0; i < std::abs(notches); ++i) {
    const bool up = notches > 0;
    if (radiusKeyMode_) {
      ScrollRadius->setValue(ScrollRadius->value() + (up ? 2 : -2));
    } else {
      centro_->WheelZoom(up);
    }
  }
  UpdateBrushWindow();
  centro_->RebuildCursorCircles();
  stroke_->state().gridsStale = true;  // rebuilt at the next hovering move
  Redraw();
}

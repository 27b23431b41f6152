// The form's keys and mouse wheel: the shortcut commands of the preferences,
// the brush shortcuts, the zoom and brush-size keys (Up and Down), Delete,
// and the wheel (zoom, brush size, or the element's scale in Dimension mode).
#pragma once

#include <Qt>

#include "app/key_names.h"

// The shortcut commands of the preferences, in their order there.
enum TShortcutCommand {
  kShortcutRadiusAndZoom = 0,
  kShortcutSubdivide,
  kShortcutUnsubdivide,
  kShortcutUndo,
  kShortcutHideStencil,
  kShortcutMoveStencil,
  kShortcutRotateStencil,
  kShortcutScaleStencil,
  kShortcutHideImageReference,
};

class TDocument;
class TMainMenu;
class TPanelEditSphere;
class TPanelMenu;
class TPanelModeling;

class TFormInput {
 public:
  TFormInput(TDocument& doc, TPanelMenu& tools, TPanelModeling& brushes, TPanelEditSphere& elements, TMainMenu& menu);

  // Handlers.
  void FormKeyDown(int qtKey, Qt::KeyboardModifiers modifiers);
  void FormMouseWheel(int notches);
  // A key went up.
  void KeyUp(int qtKey) { keys_.Release(qtKey); }

  // Set by the shortcut command "Radius and Zoom": Up, Down and the wheel
  // change the brush radius instead of the zoom.
  bool radiusKeyMode() const { return radiusKeyMode_; }

 private:
  bool ShortcutDown(int item) const;
  // True when the command's keys are down (it then ran).
  bool RunShortcutCommand(int command);

  TDocument& doc_;
  TPanelMenu& tools_;
  TPanelModeling& brushes_;
  TPanelEditSphere& elements_;
  TMainMenu& menu_;
  KeyStates keys_;
  bool radiusKeyMode_ = false;
};

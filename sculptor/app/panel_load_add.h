// PanelLoadAdd ("Make your choice:"): the chosen start mesh becomes the new
// principal mesh or joins the scene. Its two boxes also decide what Open does.
#pragma once

#include <QPoint>
#include <functional>
#include <utility>

#include "app/floating_panel.h"

class QCheckBox;
class QToolButton;
class TDocument;

class TPanelLoadAdd : public FloatingPanel {
  Q_OBJECT

 public:
  TPanelLoadAdd(TDocument& doc, QWidget* parent);

  QCheckBox* CheckNewPrincipal = nullptr;  // "New principal mesh "
  QCheckBox* CheckAddMesh = nullptr;       // "Add new mesh to scene"
  QToolButton* ButtLoadAdd = nullptr;      // "Ok"

  void ButtLoadAddClick();

  // Asks where start mesh `choice` goes, at `position`.
  void AskFor(int choice, QPoint position);
  int startMeshChoice() const { return startMeshChoice_; }

  // Asked before a start mesh replaces the scene ("You want to save your
  // model?"); false keeps the scene and the panel.
  void SetSaveQuestion(std::function<bool()> mayReplaceScene) { mayReplaceScene_ = std::move(mayReplaceScene); }

 signals:
  // The sketch sphere became the principal mesh: the sketch tools show.
  void sketchStarted();
  // The sketch sphere was loaded as the principal mesh: its first conversion.
  void sketchLoaded();
  // The choice was made (or dismissed): the start panel goes too.
  void finished();

 private:
  TDocument& doc_;
  int startMeshChoice_ = 0;
  std::function<bool()> mayReplaceScene_;
};

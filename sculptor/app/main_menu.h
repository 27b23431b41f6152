// The window's menu bar (File, Edit, View, Render, Help) and the commands of
// its own: the file commands with the save question on close, Undo, Redo, and the
// help items. The items of the panels' commands are wired by the window.
#pragma once

#include <QObject>

#include "io/undo_snapshots.h"

class QAction;
class QMainWindow;
class QMenu;
class TDocument;
class TPanelLoadAdd;
class TPanelMenu;

class TMainMenu : public QObject {
  Q_OBJECT

 public:
  // Builds the menus into `window`'s menu bar. Open follows the two boxes of
  // `loadAdd`; a new principal mesh turns `tools`' symmetry on.
  TMainMenu(TDocument& doc, QMainWindow& window, TPanelLoadAdd& loadAdd, TPanelMenu& tools);

  // File.
  QAction* Abrir1 = nullptr;  // Open
  QAction* Import1 = nullptr;
  QAction* Export1 = nullptr;
  QAction* Save1 = nullptr;
  QAction* A1 = nullptr;  // Save As...
  QAction* StartMesh1 = nullptr;
  QAction* Sair1 = nullptr;  // Exit
  // Edit.
  QAction* Undo1 = nullptr;
  QAction* Redo1 = nullptr;
  QAction* Subdivide1 = nullptr;
  QAction* UnSubdivide1 = nullptr;
  QAction* Detail1 = nullptr;
  QAction* Remesh1 = nullptr;
  QAction* EditObject1 = nullptr;
  QAction* Freeze1 = nullptr;
  QAction* UnfreezeAll1 = nullptr;
  QAction* InvertFreeze1 = nullptr;
  QAction* SelectionMode1 = nullptr;
  QAction* Detach1 = nullptr;
  QAction* Unification1 = nullptr;
  QAction* Mirror1 = nullptr;
  QAction* MeshReduction1 = nullptr;
  QAction* Preferences1 = nullptr;
  // View.
  QAction* PrincipalMenu1 = nullptr;
  QAction* PanelModeling1 = nullptr;
  // Render.
  QAction* AmbientOcclusion1 = nullptr;
  QAction* PaintTool1 = nullptr;
  QAction* TextureEdit1 = nullptr;
  QAction* ProjectionTexture1 = nullptr;
  QAction* ProjectionEdit1 = nullptr;
  QAction* ImageRender1 = nullptr;

  // Handlers.
  void Abrir1Click();
  void Import1Click();
  void Export1Click();
  void Save1Click();
  void A1Click();
  void Sair1Click();
  void Undo1Click();
  void Redo1Click();
  void AboutClick();
  void TutorialsClick();

  // "You want to save your model?" before the changed scene is closed or
  // replaced; true when it may go.
  bool AskToSaveChanges();

 private:
  // Undo or Redo of the current element's geometry snapshots.
  void StepThroughSnapshots(bool (UndoSnapshots::*step)(TScene&, UndoChannel));
  // The .met save dialog and the save; false when nothing was written.
  bool SaveAsDialog();
  // Save: to the scene's file, or through the dialog when it has none.
  bool Save();

  TDocument& doc_;
  QMainWindow& window_;
  TPanelLoadAdd& loadAdd_;
  TPanelMenu& tools_;
};

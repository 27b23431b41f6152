#include "app/main_menu.h"

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QUrl>
#include <algorithm>

#include "app/about_window.h"
#include "app/app_paths.h"
#include "app/document.h"
#include "app/panel_load_add.h"
#include "app/panel_menu.h"
#include "app/texture_image.h"
#include "io/model_conversion.h"
#include "io/model_writer.h"
#include "io/obj_materials.h"
#include "model/messages.h"
#include "render/panel_centro.h"

namespace {

constexpr const char* kUnknownFormat = "File format not recognized.";
constexpr const char* kTextureSaveFailed = "Error in screen image save. Error 4376";
constexpr const char* kSavePrompt = "You want to save your model?";
constexpr const char* kUserGuide = "user-guide.html";

// The request of a file dialog that offers model formats.
TFileRequest ModelFileRequest(TModelDialog dialog, const char* caption) {
  TFileRequest request{dialog == TModelDialog::Export || dialog == TModelDialog::SaveAs, caption, {}};
  for (const TModelFilter& filter : DialogFilters(dialog)) request.filters << QString::fromStdString(filter.caption);
  return request;
}

// The format a chosen file is opened as, when `dialog` offers it.
const TModelFormat* OfferedFormatOf(TModelDialog dialog, const QString& fileName) {
  const TModelFormat* format = ModelFormatOfFile(fileName.toStdString());
  return format != nullptr && DialogOffers(dialog, *format) ? format : nullptr;
}

// An item whose command is not in the program yet.
QAction* Pending(QMenu* menu, const char* caption) {
  QAction* action = menu->addAction(caption);
  action->setEnabled(false);
  return action;
}

}  // namespace

TMainMenu::TMainMenu(TDocument& doc, QMainWindow& window, TPanelLoadAdd& loadAdd, TPanelMenu& tools)
    : QObject(&window), doc_(doc), window_(window), loadAdd_(loadAdd), tools_(tools) {
  QMenuBar* bar = window.menuBar();
  QMenu* file = bar->addMenu("File");
  Abrir1 = file->addAction("Open", this, &TMainMenu::Abrir1Click);
  Import1 = file->addAction("Import", this, &TMainMenu::Import1Click);
  Export1 = file->addAction("Export", this, &TMainMenu::Export1Click);
  Save1 = file->addAction("Save", this, &TMainMenu::Save1Click);
  Save1->setShortcut(QKeySequence::Save);
  A1 = file->addAction("Save As...", this, &TMainMenu::A1Click);
  StartMesh1 = file->addAction("Start Mesh");
  file->addSeparator();
  Sair1 = file->addAction("Exit", this, &TMainMenu::Sair1Click);

  QMenu* edit = bar->addMenu("Edit");
  Undo1 = edit->addAction("Undo", this, &TMainMenu::Undo1Click);
  Redo1 = edit->addAction("Redo", this, &TMainMenu::Redo1Click);
  Redo1->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  Redo1->setShortcutContext(Qt::ApplicationShortcut);  // also from the floating panels
  Subdivide1 = edit->addAction("Subdivide");
  UnSubdivide1 = edit->addAction("UnSubdivide");
  Detail1 = edit->addAction("Detail");
  Remesh1 = Pending(edit, "Remesh");
  EditObject1 = edit->addAction("Edit Object");
  Freeze1 = edit->addAction("Freeze");
  UnfreezeAll1 = edit->addAction("Unfreeze All");
  InvertFreeze1 = edit->addAction("Invert Freeze");
  SelectionMode1 = edit->addAction("Selection Mode");
  Detach1 = edit->addAction("Detach");
  Unification1 = edit->addAction("Unification");
  Mirror1 = edit->addAction("Mirror");
  MeshReduction1 = Pending(edit, "Mesh Reduction");
  Preferences1 = edit->addAction("Preferences");

  QMenu* view = bar->addMenu("View");
  PrincipalMenu1 = view->addAction("Principal Menu");
  PanelModeling1 = view->addAction("Panel Modeling");
  for (QAction* toggle : {PrincipalMenu1, PanelModeling1}) {
    toggle->setCheckable(true);
    toggle->setChecked(true);
  }

  QMenu* render = bar->addMenu("Render");
  AmbientOcclusion1 = render->addAction("Ambient Occlusion");
  PaintTool1 = render->addAction("Paint Tool");
  TextureEdit1 = Pending(render, "Texture Edit");
  ProjectionTexture1 = Pending(render, "Projection Texture");
  ProjectionEdit1 = Pending(render, "Projection Edit");
  ImageRender1 = render->addAction("Image Render");

  QMenu* help = bar->addMenu("Help");
  help->addAction("Tutorials", this, &TMainMenu::TutorialsClick);
  help->addAction("About", this, &TMainMenu::AboutClick);
}

// --- File ------------------------------------------------------------------------

void TMainMenu::Abrir1Click() {
  TScene& scene = doc_.scene();
  const TFileRequest request = ModelFileRequest(TModelDialog::Open, "Open");
  if (loadAdd_.CheckNewPrincipal->isChecked()) {
    if (!AskToSaveChanges()) return;
    const QString name = doc_.ChooseFile(request).fileName;
    if (name.isEmpty()) return;
    const TModelFormat* format = OfferedFormatOf(TModelDialog::Open, name);
    if (format == nullptr) return ShowError(kUnknownFormat);
    if (!doc_.ReplaceSceneWith(name, format->kind, scene.loadScale)) return doc_.Redraw();
    tools_.CheckSym->setChecked(true);
    scene.current().textureId = 7;
    doc_.RefreshAfterSceneChange();
    doc_.MarkSaved(format->kind == NativeModelFormat().kind ? name : QString());
  } else if (loadAdd_.CheckAddMesh->isChecked()) {
    const QString name = doc_.ChooseFile(request).fileName;
    if (name.isEmpty()) return;
    const TModelFormat* format = OfferedFormatOf(TModelDialog::Open, name);
    if (format == nullptr) return ShowError(kUnknownFormat);
    AddMeshToScene(scene, ModelFileToLoad(name.toStdString(), format->kind), true, scene.current().loadExtent);
    doc_.Redraw();
  }
}

void TMainMenu::Import1Click() {
  if (!AskToSaveChanges()) return;
  TScene& scene = doc_.scene();
  const QString name = doc_.ChooseFile(ModelFileRequest(TModelDialog::Import, "Import")).fileName;
  if (name.isEmpty()) return;
  const TModelFormat* format = OfferedFormatOf(TModelDialog::Import, name);
  if (format == nullptr) return ShowError(kUnknownFormat);
  if (!doc_.ReplaceSceneWith(name, format->kind, scene.loadScale)) return doc_.Redraw();
  for (TGeosphera& e : scene.elements) {
    e.position = {};
    e.scale = {1, 1, 1};
    e.visible = 1;
  }
  doc_.RefreshAfterSceneChange();
  doc_.ShowSubdivisionLevel(0);
  doc_.MarkSaved({});
}

// The chosen filter's format: its extension is appended unless the name has
// it, and the scene (or for PLY the current element) is written in it.
void TMainMenu::Export1Click() {
  const TFileChoice choice = doc_.ChooseFile(ModelFileRequest(TModelDialog::Export, "Export"));
  if (choice.fileName.isEmpty()) return;
  const std::vector<TModelFilter> filters = DialogFilters(TModelDialog::Export);
  const size_t index = std::min(static_cast<size_t>(std::max(choice.filterIndex, 0)), filters.size() - 1);
  const TModelFormat& format = *filters[index].format;
  const std::string fileName = WithExtension(choice.fileName, format.extension).toStdString();
  if (WriteModel(doc_.scene(), fileName, format.kind) && format.kind == kModelObj) ExportTextureImages(fileName);
}

void TMainMenu::ExportTextureImages(const std::string& objFileName) {
  const TScene& scene = doc_.scene();
  bool textured = false;
  for (int i = 0; i < scene.elementCount(); ++i) {
    if (!HasObjTexture(scene.elements[static_cast<size_t>(i)])) continue;
    textured = true;
    const TElementGpuSlot* slot = doc_.viewport().buffers().FindSlot(scene, i);
    const QImage picture = slot != nullptr ? TextureImagePicture(slot->textureImage) : QImage();
    const QString path = QString::fromStdString(TextureImagePath(objFileName, static_cast<size_t>(i)));
    if (picture.isNull() || !picture.save(path, "PNG")) ShowError(kTextureSaveFailed);
  }
  if (textured) WriteMaterialLibrary(scene, objFileName);
}

bool TMainMenu::SaveAsDialog() {
  const QString name = doc_.ChooseFile(ModelFileRequest(TModelDialog::SaveAs, "Save As")).fileName;
  if (name.isEmpty() || !SaveSceneAs(doc_.scene(), name.toStdString())) return false;
  doc_.MarkSaved(WithExtension(name, QString(NativeModelFormat().extension)));
  return true;
}

bool TMainMenu::Save() {
  const QString file = doc_.sceneFile();
  if (file.isEmpty()) return SaveAsDialog();
  if (!WriteModel(doc_.scene(), file.toStdString(), NativeModelFormat().kind)) return false;
  doc_.MarkSaved(file);
  return true;
}

void TMainMenu::Save1Click() { Save(); }

void TMainMenu::A1Click() { SaveAsDialog(); }

void TMainMenu::Sair1Click() { window_.close(); }

bool TMainMenu::AskToSaveChanges() {
  if (!doc_.modified()) return true;
  switch (AskConfirmation(kSavePrompt, MessageButtons::YesNoCancel)) {
    case MessageAnswer::Yes: return Save();  // no name or a failed save keeps the scene
    case MessageAnswer::No: return true;
    default: return false;
  }
}

// --- Edit and Help -------------------------------------------------------------------

// The current element steps back or forth through its geometry snapshots;
// once back before its first, Undo removes an element Detach or Mirror added.
void TMainMenu::Undo1Click() {
  if (!doc_.UndoElementAddition()) StepThroughSnapshots(&UndoSnapshots::Undo);
}

void TMainMenu::Redo1Click() { StepThroughSnapshots(&UndoSnapshots::Redo); }

void TMainMenu::StepThroughSnapshots(bool (UndoSnapshots::*step)(TScene&, UndoChannel)) {
  TScene& scene = doc_.scene();
  // Snapshots hold placed positions: an element still following the pointer
  // (its vertices held about its centre) is put down first.
  if (!scene.elements.empty() && scene.current().placeState != kPlaced) doc_.elementTools().PutDownPlacedElement();
  // The restore rebuilds the adjacency, uploads the buffers and shows the
  // level; the picking grids follow the restored positions.
  if ((doc_.undo().*step)(scene, UndoChannel::Geometry)) scene.host->RebuildScreenGrids(scene);
  doc_.Redraw();
}

void TMainMenu::AboutClick() { ShowAboutWindow(&window_); }

// The user guide installed beside the program.
void TMainMenu::TutorialsClick() {
  const QString guide = doc_.ProgramFile(kUserGuide);
  if (!QFileInfo::exists(guide)) return ShowError("The user guide " + guide.toStdString() + " is not installed.");
  if (!doc_.OpenUrl(QUrl::fromLocalFile(guide))) {
    ShowError("No program could open the user guide " + guide.toStdString() + ".");
  }
}

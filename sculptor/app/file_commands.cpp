// File menu: Open, Import, Export, Save As, and the save question on close.
#include <malloc.h>

#include <QCheckBox>

#include "app/form_main.h"
#include "io/model_conversion.h"
#include "io/model_writer.h"
#include "io/ply_writer.h"
#include "model/messages.h"

namespace {

constexpr const char* kUnknownFormat = "File format not recognized.";

// `name` with `extension` appended unless it already ends with it (in any case).
QString WithExtension(const QString& name, const QString& extension) {
  return name.endsWith(extension, Qt::CaseInsensitive) ? name : name + extension;
}

}  // namespace

bool TFormMain::ReplaceSceneWith(const QString& fileName, int kind, float scale) {
  TOBJModel model;
  ReadModelFile(model, fileName.toStdString(), kind);
  TScene loaded;  // headless: nothing reaches the GPU until the load succeeded
  ResetScene(loaded);
  if (!ConvertIntoScene(loaded, model, fileName.toStdString(), kind, scale)) return false;
  ResetScene(scene_);
  scene_.elements = std::move(loaded.elements);
  for (TGeosphera& e : scene_.elements) e.uid = scene_.nextUid++;
  scene_.gpuSlots.assign(scene_.elements.size(), TElementGpuSlot{});
  scene_.currentElement = 0;
  scene_.adjacencyWidth = loaded.adjacencyWidth;
  scene_.host->ModelFileWasRead(scene_);
  scene_.host->ClearFootprints();
  editing_.detachCounter = 0;
  return true;
}

void TFormMain::RefreshAfterSceneChange() {
  for (int i = 0; i < scene_.elementCount(); ++i) {
    UploadElementBuffers(scene_, i);
    scene_.elements[static_cast<size_t>(i)].placeState = kPlaced;
  }
  ShowLevel(scene_.current().subdivLevel);
  RebuildCurrentAdjacency();
  scene_.host->RebuildScreenGrids(scene_);
  malloc_trim(0);
  Redraw();
}

void TFormMain::Abrir1Click() {
  const TFileRequest request{false, "Open",
                             {"All (*.met *.obj *.ply)", "OBJ Geometry Format (*.obj)",
                              "Polygon File Format (*.ply)", "Met 3D Format (*.met)"}};
  if (CheckNewPrincipal->isChecked()) {
    const QString name = ChooseFile(request).fileName;
    if (name.isEmpty()) return;
    const int kind = ModelKindOfFile(name.toStdString());
    if (kind == kModelUnknown) return ShowError(kUnknownFormat);
    if (!ReplaceSceneWith(name, kind, scene_.loadScale)) return Redraw();
    CheckSym->setChecked(true);
    scene_.current().textureId = 7;
    RefreshAfterSceneChange();
  } else if (CheckAddMesh->isChecked()) {
    const QString name = ChooseFile(request).fileName;
    if (name.isEmpty()) return;
    const int kind = ModelKindOfFile(name.toStdString());
    if (kind == kModelUnknown) return ShowError(kUnknownFormat);
    AddMeshToScene(scene_, name.toStdString(), kind, true, scene_.current().loadExtent);
    Redraw();
  }
}

void TFormMain::Import1Click() {
  const QString name =
      ChooseFile({false, "Import", {"All (*.obj *.ply)", " OBJ File Format (*.obj)", "Polygon File Format (*.ply)"}})
          .fileName;
  if (name.isEmpty()) return;
  const int kind = ModelKindOfFile(name.toStdString());
  if (kind != kModelObj && kind != kModelPly) return ShowError(kUnknownFormat);
  if (!ReplaceSceneWith(name, kind, scene_.loadScale)) return Redraw();
  for (TGeosphera& e : scene_.elements) {
    e.position = {};
    e.scale = {1, 1, 1};
    e.visible = 1;
  }
  RefreshAfterSceneChange();
  ShowLevel(0);
}

void TFormMain::Export1Click() {
  const TFileChoice choice =
      ChooseFile({true, "Export", {"Wavefront OBJ File (*.obj)", "Stanford Triangle Format (*.ply)"}});
  if (choice.fileName.isEmpty()) return;
  if (choice.filterIndex == 0) {
    WriteModel(scene_, WithExtension(choice.fileName, ".obj").toStdString(), kWriteObj);
  } else {
    WritePlyFull(scene_, scene_.currentElement, WithExtension(choice.fileName, ".ply").toStdString());
  }
}

bool TFormMain::SaveAsDialog() {
  const QString name = ChooseFile({true, "Save As", {"Meta File (*.met)"}}).fileName;
  if (name.isEmpty()) return false;
  return SaveSceneAs(scene_, name.toStdString());
}

void TFormMain::A1Click() { SaveAsDialog(); }

bool TFormMain::PromptSaveBeforeClose() {
  switch (AskConfirmation(kSavePrompt, MessageButtons::YesNoCancel)) {
    case MessageAnswer::Yes: return SaveAsDialog();  // no name or a failed save keeps the window
    case MessageAnswer::No: return true;
    default: return false;
  }
}

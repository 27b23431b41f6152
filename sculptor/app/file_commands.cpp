// File menu: Open, Import, Export, Save As, and the save question on close.
#include <malloc.h>

#include <QCheckBox>
#include <algorithm>
#include <filesystem>

#include "app/crash_recovery.h"
#include "app/form_main.h"
#include "io/model_conversion.h"
#include "io/model_writer.h"
#include "model/messages.h"
#include "model/topology.h"

namespace {

constexpr const char* kUnknownFormat = "File format not recognized.";

// `name` with `extension` appended unless it already ends with it (in any case).
QString WithExtension(const QString& name, const QString& extension) {
  return name.endsWith(extension, Qt::CaseInsensitive) ? name : name + extension;
}

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
  scene_.currentElement = 0;
  scene_.adjacencyWidth = loaded.adjacencyWidth;
  scene_.host->ModelFileWasRead(scene_);
  scene_.host->ClearFootprints();
  elementEditing_.detachCounter = 0;
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
  SceneChanged();
  Redraw();
}

bool TFormMain::OfferCrashRecovery() {
  // The undo folder "<temp>/plasmora-<pid>/" lies in the temporary folder the runs share.
  const std::string temp = std::filesystem::path(undo_.folder()).parent_path().parent_path().string();
  return ::OfferCrashRecovery(temp, [this](RecoveredScene&& recovered) { InstallRecoveredScene(std::move(recovered)); });
}

void TFormMain::InstallRecoveredScene(RecoveredScene&& recovered) {
  ResetScene(scene_);
  scene_.elements = std::move(recovered.elements);
  for (TGeosphera& e : scene_.elements) {
    e.uid = scene_.nextUid++;
    const int width = ComputeValence(e);
    if (width > 0) BuildAdjacency(e, width);
  }
  scene_.currentElement = recovered.currentElement;
  scene_.host->ModelFileWasRead(scene_);
  scene_.host->ClearFootprints();
  scene_.host->RefreshElementList(scene_);
  elementEditing_.detachCounter = 0;
  RefreshAfterSceneChange();
}

void TFormMain::Abrir1Click() {
  const TFileRequest request = ModelFileRequest(TModelDialog::Open, "Open");
  if (CheckNewPrincipal->isChecked()) {
    const QString name = ChooseFile(request).fileName;
    if (name.isEmpty()) return;
    const TModelFormat* format = OfferedFormatOf(TModelDialog::Open, name);
    if (format == nullptr) return ShowError(kUnknownFormat);
    if (!ReplaceSceneWith(name, format->kind, scene_.loadScale)) return Redraw();
    CheckSym->setChecked(true);
    scene_.current().textureId = 7;
    RefreshAfterSceneChange();
  } else if (CheckAddMesh->isChecked()) {
    const QString name = ChooseFile(request).fileName;
    if (name.isEmpty()) return;
    const TModelFormat* format = OfferedFormatOf(TModelDialog::Open, name);
    if (format == nullptr) return ShowError(kUnknownFormat);
    AddMeshToScene(scene_, ModelFileToLoad(name.toStdString(), format->kind), true, scene_.current().loadExtent);
    Redraw();
  }
}

void TFormMain::Import1Click() {
  const QString name = ChooseFile(ModelFileRequest(TModelDialog::Import, "Import")).fileName;
  if (name.isEmpty()) return;
  const TModelFormat* format = OfferedFormatOf(TModelDialog::Import, name);
  if (format == nullptr) return ShowError(kUnknownFormat);
  if (!ReplaceSceneWith(name, format->kind, scene_.loadScale)) return Redraw();
  for (TGeosphera& e : scene_.elements) {
    e.position = {};
    e.scale = {1, 1, 1};
    e.visible = 1;
  }
  RefreshAfterSceneChange();
  ShowLevel(0);
}

// The chosen filter's format: its extension is appended unless the name has
// it, and the scene (or for PLY the current element) is written in it.
void TFormMain::Export1Click() {
  const TFileChoice choice = ChooseFile(ModelFileRequest(TModelDialog::Export, "Export"));
  if (choice.fileName.isEmpty()) return;
  const std::vector<TModelFilter> filters = DialogFilters(TModelDialog::Export);
  const size_t index = std::min(static_cast<size_t>(std::max(choice.filterIndex, 0)), filters.size() - 1);
  const TModelFormat& format = *filters[index].format;
  WriteModel(scene_, WithExtension(choice.fileName, format.extension).toStdString(), format.kind);
}

bool TFormMain::SaveAsDialog() {
  const QString name = ChooseFile(ModelFileRequest(TModelDialog::SaveAs, "Save As")).fileName;
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

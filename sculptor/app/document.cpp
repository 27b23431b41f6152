#include "app/document.h"

#include <malloc.h>

#include <QColorDialog>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <algorithm>
#include <filesystem>

#include "app/crash_recovery.h"
#include "app/cursors.h"
#include "io/model_conversion.h"
#include "model/messages.h"
#include "model/topology.h"
#include "render/panel_centro.h"

namespace {

constexpr const char* kTextureModeRefusal = "Disable texture mode to return sculpting.";
constexpr const char* kSketchSphereModel = "models/basegeosphere1.met";

// The index of the element with `uid`, -1 when there is none.
int IndexOfElement(const TScene& scene, uint32_t uid) {
  for (int i = 0; i < scene.elementCount(); ++i) {
    if (scene.elements[static_cast<size_t>(i)].uid == uid) return i;
  }
  return -1;
}

}  // namespace

TDocument::TDocument(const QString& programDir) : programDir_(programDir) {
  scene_.host = &undoHost_;
  undo_.SetChangeListener([this] { SceneChanged(); });
}

TDocument::~TDocument() {
  scene_.host = nullptr;
  scene_.gpu = nullptr;
}

void TDocument::AttachViewport(PanelCentro& viewport) {
  viewport_ = &viewport;
  scene_.gpu = &viewport.buffers();
  TViewportInputs& in = viewport.inputs();
  stroke_.emplace(scene_, in.brush, in.modes, viewport, strokeSink_);
  elementTools_.emplace(*this);
}

TBrushSettings& TDocument::brush() { return viewport_->inputs().brush; }

TToolModes& TDocument::modes() { return viewport_->inputs().modes; }

QString TDocument::ProgramFile(const char* relative) const { return QDir(programDir_).filePath(relative); }

TFileChoice TDocument::ChooseFile(const TFileRequest& request) {
  if (fileChooser_) return fileChooser_(request);
  const QString filter = request.filters.join(";;");
  QString selected;
  TFileChoice choice;
  QWidget* parent = viewport_ ? viewport_->window() : nullptr;
  choice.fileName = request.save ? QFileDialog::getSaveFileName(parent, request.caption, {}, filter, &selected,
                                                                QFileDialog::DontConfirmOverwrite)
                                 : QFileDialog::getOpenFileName(parent, request.caption, {}, filter, &selected);
  choice.filterIndex = std::max(0, static_cast<int>(request.filters.indexOf(selected)));
  return choice;
}

QColor TDocument::ChooseColor(const QColor& initial, const QString& title) {
  QWidget* parent = viewport_ ? viewport_->window() : nullptr;
  return colorChooser_ ? colorChooser_(initial) : QColorDialog::getColor(initial, parent, title);
}

bool TDocument::OpenUrl(const QUrl& url) {
  return urlOpener_ ? urlOpener_(url) : QDesktopServices::openUrl(url);
}

void TDocument::LoadCustomCursors() {
  for (const char* name : {"ROTATE", "SCALE", "MOVE", "DROPPER"}) cursors_.emplace(name, MakeCustomCursor(name));
}

const QCursor* TDocument::customCursor(const QString& name) const {
  auto it = cursors_.find(name);
  return it == cursors_.end() ? nullptr : &it->second;
}

bool TDocument::RefusedInTextureMode() {
  if (!viewport_->state().textureViewOn) return false;
  ShowWarning(kTextureModeRefusal);
  return true;
}

void TDocument::RebuildCurrentAdjacency() {
  TGeosphera& e = scene_.current();
  scene_.adjacencyWidth = ComputeValence(e);
  BuildAdjacency(e, scene_.adjacencyWidth);
}

bool TDocument::ReplaceSceneWith(const QString& fileName, int kind, float scale) {
  TOBJModel model;
  ReadModelFile(model, fileName.toStdString(), kind);
  if (!ReplaceSceneWithModel(scene_, model, fileName.toStdString(), kind, scale)) return false;
  MarkSaved({});
  emit sceneReplaced();
  return true;
}

void TDocument::RefreshAfterSceneChange() {
  for (int i = 0; i < scene_.elementCount(); ++i) {
    UploadElementBuffers(scene_, i);
    scene_.elements[static_cast<size_t>(i)].placeState = kPlaced;
  }
  ShowSubdivisionLevel(scene_.current().subdivLevel);
  RebuildCurrentAdjacency();
  scene_.host->RebuildScreenGrids(scene_);
  malloc_trim(0);
  SceneChanged();
  Redraw();
}

void TDocument::StartRecoveryRecord(std::function<bool()> strokeRunning) {
  recovery_.emplace(
      scene_, undo_.folder(), [this] { return undo_.PrepareFolder(); }, std::move(strokeRunning));
}

void TDocument::SceneChanged() {
  if (recovery_) recovery_->MarkChanged();
  if (modified_) return;
  modified_ = true;
  emit savedStateChanged();
}

void TDocument::MarkSaved(const QString& file) {
  modified_ = false;
  sceneFile_ = file;
  emit savedStateChanged();
}

void TDocument::ElementAdded(uint32_t uid, uint32_t sourceUid) {
  addedElements_[uid] = sourceUid;
  SceneChanged();
}

bool TDocument::UndoElementAddition() {
  const auto added = addedElements_.find(scene_.current().uid);
  if (added == addedElements_.end() || undo_.Counter(added->first, UndoChannel::Geometry) > UndoSnapshots::kFirstNumber) {
    return false;
  }
  const uint32_t sourceUid = added->second;
  addedElements_.erase(added);
  if (IndexOfElement(scene_, sourceUid) < 0) return false;  // deleted since: the addition stays
  if (elementTools_) elementTools_->EndElementTransforms();
  DeleteElement(scene_);  // the current element, and its snapshots with it
  SelectElement(scene_, IndexOfElement(scene_, sourceUid));
  RefreshElementList(scene_);  // the list follows the source being current again
  return true;
}

bool TDocument::OfferCrashRecovery() {
  // The undo folder "<temp>/plasmora-<pid>/" lies in the temporary folder the runs share.
  const std::string temp = std::filesystem::path(undo_.folder()).parent_path().parent_path().string();
  return ::OfferCrashRecovery(temp, [this](RecoveredScene&& recovered) { InstallRecoveredScene(std::move(recovered)); });
}

void TDocument::InstallRecoveredScene(RecoveredScene&& recovered) {
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
  emit sceneReplaced();
  RefreshAfterSceneChange();
}

// --- SceneHost ----------------------------------------------------------------

// Before the viewport is attached nothing is drawn, picked or dragged yet.
void TDocument::Redraw() {
  if (viewport_) viewport_->requestRedraw();
}

// Commands that changed the mesh or the view: the grids are rebuilt before
// the next lookup, when the viewport's size and matrices are settled.
void TDocument::RebuildScreenGrids(TScene&) {
  if (stroke_) stroke_->state().gridsStale = true;
  emit meshOrViewChanged();
}

void TDocument::ClearFootprints() {
  if (!stroke_) return;
  TBrushFrame& frame = stroke_->state().frame;
  frame.direct = {};
  frame.mirror = {};
}

void TDocument::ClearTransformDrag() {
  if (elementTools_) elementTools_->ClearDrag();
}

void TDocument::ShowSubdivisionLevel(int level) { emit subdivisionLevelShown(level); }

void TDocument::RefreshElementList(TScene&) {
  emit elementListChanged();
  SceneChanged();  // elements were added or removed
}

void TDocument::ShowElementName(const std::string& name) { emit elementNameShown(QString::fromStdString(name)); }

bool TDocument::SketchToolActive() const { return viewport_ != nullptr && viewport_->inputs().modes.sketch; }

bool TDocument::UndoSketchStroke(TScene& scene) {
  if (!SketchToolActive()) return false;
  const TViewportInputs& in = viewport_->inputs();
  if (in.strokeActive || in.viewDragActive) return false;
  if (const std::optional<int> before = stroke_->sketchGroups().Pop()) {
    // A group older than a conversion or a clearing has no spheres left.
    while (scene.elementCount() > std::max(*before, 1)) {
      scene.currentElement = scene.elementCount() - 1;
      DeleteElement(scene);
    }
  }
  Redraw();
  return true;
}

// --- the stroke's sink ----------------------------------------------------------

// The snapshot comes before anything the press itself changes, so undo
// gives back the mesh as it was before the stroke.
void TDocument::WindowStrokeSink::SnapshotAtPress(int32_t pickedVertex) {
  doc_.SceneChanged();  // also when the mesh is too big for a snapshot
  doc_.undo_.MarkPendingChange(pickedVertex);
  doc_.undo_.TakeSnapshot(doc_.scene_.current(), UndoChannel::Geometry, 1);
}

void TDocument::WindowStrokeSink::SnapshotAtRelease() {
  doc_.undo_.TakeSnapshot(doc_.scene_.current(), UndoChannel::Geometry, 1);
}

void TDocument::WindowStrokeSink::FootprintsChanged(const TBrushFrame& frame, bool colors) {
  PanelCentro& view = *doc_.viewport_;
  if (view.context() == nullptr) return;
  view.makeCurrent();
  ElementBuffers& buffers = view.buffers();
  const TScene& scene = doc_.scene_;
  const int index = scene.currentElement;
  const auto write = [&](const ATContsel& entries) {
    if (colors) {
      buffers.WriteColors(scene, index, entries);
    } else {
      buffers.WritePositions(scene, index, entries);
    }
  };
  write(frame.direct.entries);
  if (frame.symmetry) write(frame.mirror.entries);
}

void TDocument::WindowStrokeSink::NormalChanged(int32_t vertex, const TGLCoord& normal) {
  doc_.viewport_->buffers().WriteNormal(doc_.scene_, doc_.scene_.currentElement, vertex, normal);
}

bool TDocument::WindowStrokeSink::AddSketchSphere(const TGLCoord& position, float size) {
  const TModelFile file = ModelFileToLoad(doc_.ProgramFile(kSketchSphereModel).toStdString(), kModelMet);
  return AddSphereElement(doc_.scene_, file, position, size);
}

void TDocument::WindowStrokeSink::GeometryChanged() {
  doc_.viewport_->buffers().UpdateGeometry(doc_.scene_, doc_.scene_.currentElement);
}

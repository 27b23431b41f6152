#include "io/undo_scene_host.h"

UndoSceneHost::UndoSceneHost(UndoSnapshots& undo, SceneHost* next) : undo_(undo), next_(next) {
  undo_.SetHooks(this);
}

UndoSceneHost::~UndoSceneHost() { undo_.SetHooks(nullptr); }

void UndoSceneHost::RebuildScreenGrids(TScene& scene) {
  if (next_) next_->RebuildScreenGrids(scene);
}
void UndoSceneHost::RefreshElementList(TScene& scene) {
  if (next_) next_->RefreshElementList(scene);
}
void UndoSceneHost::ShowSubdivisionLevel(int level) {
  if (next_) next_->ShowSubdivisionLevel(level);
}
void UndoSceneHost::ShowElementName(const std::string& name) {
  if (next_) next_->ShowElementName(name);
}
void UndoSceneHost::ClearFootprints() {
  if (next_) next_->ClearFootprints();
}
void UndoSceneHost::ClearTransformDrag() {
  if (next_) next_->ClearTransformDrag();
}
void UndoSceneHost::Redraw() {
  if (next_) next_->Redraw();
}
bool UndoSceneHost::SketchToolActive() const { return next_ && next_->SketchToolActive(); }

bool UndoSceneHost::UndoSketchStroke(TScene& scene) { return next_ && next_->UndoSketchStroke(scene); }

void UndoSceneHost::SceneWasReset(TScene&) { undo_.ResetChannel(UndoChannel::Geometry); }

void UndoSceneHost::ModelFileWasRead(TScene&) {
  undo_.ResetChannel(UndoChannel::Paint);
  undo_.ResetChannel(UndoChannel::Duplicate);
}

void UndoSceneHost::ElementWasDeleted(TScene&, uint32_t uid) { undo_.DropElement(uid); }

void UndoSceneHost::RestoreLastGeometrySnapshot(TScene& scene) { undo_.RestoreSnapshot(scene, UndoChannel::Geometry); }

void UndoSceneHost::SnapshotRestored(TScene& scene, int index) {
  ::UploadElementBuffers(scene, index);  // through the scene's GPU side
  scene.hostOrDefault().ShowSubdivisionLevel(scene.elements[static_cast<size_t>(index)].subdivLevel);
}

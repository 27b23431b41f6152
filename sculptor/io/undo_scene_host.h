// Chains the undo engine into the scene's host: the scene's undo
// notifications go to the engine, everything else to the next host (the
// window's document). It also serves the engine as its hooks; a host that
// knows the sketch and paint modes derives from it to answer those questions.
#pragma once

#include <string>

#include "io/undo_snapshots.h"
#include "model/scene.h"

class UndoSceneHost : public SceneHost, public UndoHooks {
 public:
  // Installs itself as the hooks of `undo`, which must outlive it. `next`
  // may be nullptr (headless).
  UndoSceneHost(UndoSnapshots& undo, SceneHost* next);
  ~UndoSceneHost() override;
  UndoSceneHost(const UndoSceneHost&) = delete;
  UndoSceneHost& operator=(const UndoSceneHost&) = delete;

  // SceneHost: forwarded.
  void RebuildScreenGrids(TScene& scene) override;
  void RefreshElementList(TScene& scene) override;
  void ShowSubdivisionLevel(int level) override;
  void ShowElementName(const std::string& name) override;
  void ClearFootprints() override;
  void ClearTransformDrag() override;
  void Redraw() override;
  bool SketchToolActive() const override;

  // SceneHost: the undo notifications, answered by the engine.
  void SceneWasReset(TScene& scene) override;
  void ModelFileWasRead(TScene& scene) override;
  void ElementWasDeleted(TScene& scene, uint32_t uid) override;
  void RestoreLastGeometrySnapshot(TScene& scene) override;

  // UndoHooks: the buffer upload and the level label, through the scene's
  // host; the sketch tool's own undo, by the next host.
  void SnapshotRestored(TScene& scene, int index) override;
  bool UndoSketchStroke(TScene& scene) override;

 private:
  UndoSnapshots& undo_;
  SceneHost* next_;
};

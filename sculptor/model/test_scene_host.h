// A scene host for tests: records which steps, GPU and user interface in one
// list, the scene operations asked for.
#pragma once

#include <string>
#include <vector>

#include "model/scene.h"

class RecordingSceneHost : public SceneGpu, public SceneHost {
 public:
  // Becomes both sides of `scene`.
  void Attach(TScene& scene) {
    scene.gpu = this;
    scene.host = this;
  }

  void UploadElementBuffers(TScene&, int index) override { Note("upload", index); }
  void ReleaseElementBuffers(TScene&, int index) override { Note("release", index); }
  void RebuildScreenGrids(TScene&) override { Note("grids"); }
  void RefreshElementList(TScene&) override { Note("list"); }
  void ShowElementName(const std::string& name) override { calls.push_back("name " + name); }
  void ShowSubdivisionLevel(int level) override { Note("level", level); }
  void ClearFootprints() override { Note("footprints"); }
  void SceneWasReset(TScene&) override { Note("reset"); }
  void ModelFileWasRead(TScene&) override { Note("read"); }
  void ElementWasDeleted(TScene&, uint32_t uid) override { Note("deleted", static_cast<int>(uid)); }
  void RestoreLastGeometrySnapshot(TScene&) override { Note("restore"); }

  bool Called(const std::string& call) const {
    for (const std::string& c : calls) {
      if (c == call) return true;
    }
    return false;
  }

  std::vector<std::string> calls;

 private:
  void Note(const char* what) { calls.emplace_back(what); }
  void Note(const char* what, int value) { calls.push_back(std::string(what) + " " + std::to_string(value)); }
};

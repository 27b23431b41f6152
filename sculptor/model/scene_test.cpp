#include "model/scene.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "model/messages.h"
#include "model/test_meshes.h"
#include "model/test_scene_host.h"
#include "model/topology.h"

namespace {

using ::testing::ElementsAre;

// Three distinguishable elements "e0", "e1", "e2" with refreshed topology.
struct ThreeElements {
  ThreeElements() {
    host.Attach(scene);
    ResetScene(scene);
    AppendElement(scene);
    AppendElement(scene);
    for (int i = 0; i < 3; ++i) {
      TGeosphera& e = scene.elements[static_cast<size_t>(i)];
      const uint32_t uid = e.uid;
      e = i == 1 ? MakeElement({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {0, 1, 2}) : MakeOctahedron();
      e.uid = uid;
      e.name = "e" + std::to_string(i);
      e.position = {float(i), 0, 0};
      e.rotation = {0, float(i), 0};
      e.subdivLevel = i;
      e.levelVertexCounts.assign(static_cast<size_t>(i), 6);
      e.uvFaces.assign(static_cast<size_t>(i), 1);
      e.colorR = static_cast<uint8_t>(10 * i);
      e.hasTextureImage = static_cast<uint8_t>(i % 2);
      EXPECT_TRUE(RefreshElement(e));
    }
    host.calls.clear();
  }
  RecordingSceneHost host;
  TScene scene;
  CapturingMessageSink sink;
};

}  // namespace

TEST(Scene, ResetLeavesOneBlankCurrentElement) {
  ThreeElements t;
  t.scene.currentElement = 2;
  const uint32_t lastUid = t.scene.elements[2].uid;
  ResetScene(t.scene);
  ASSERT_EQ(t.scene.elementCount(), 1);
  EXPECT_EQ(t.scene.currentElement, 0);
  EXPECT_GT(t.scene.elements[0].uid, lastUid);
  EXPECT_EQ(t.scene.elements[0].vertexCount, 0);
  EXPECT_THAT(t.host.calls, ElementsAre("release 0", "release 1", "release 2", "reset"));
}

TEST(Scene, DeleteMovesLaterElementsDownWhole) {
  ThreeElements t;
  t.scene.currentElement = 1;
  const uint32_t deletedUid = t.scene.elements[1].uid;
  const TGeosphera old2 = t.scene.elements[2];
  DeleteElement(t.scene);
  ASSERT_EQ(t.scene.elementCount(), 2);
  EXPECT_EQ(t.scene.currentElement, 0);
  const TGeosphera& moved = t.scene.elements[1];
  EXPECT_EQ(moved.uid, old2.uid);
  EXPECT_EQ(moved.name, "e2");
  EXPECT_EQ(moved.vertices, old2.vertices);
  EXPECT_EQ(moved.faces, old2.faces);
  EXPECT_EQ(moved.position, old2.position);
  // Every field travels, also those a field-by-field copy would leave behind.
  EXPECT_EQ(moved.rotation, old2.rotation);
  EXPECT_EQ(moved.subdivLevel, 2);
  EXPECT_EQ(moved.levelVertexCounts, old2.levelVertexCounts);
  EXPECT_EQ(moved.uvFaces, old2.uvFaces);
  EXPECT_EQ(moved.hasTextureImage, 0);
  EXPECT_EQ(moved.adjacency.cells, old2.adjacency.cells);
  EXPECT_EQ(t.scene.adjacencyWidth, t.scene.elements[0].adjacency.width);
  EXPECT_THAT(t.host.calls, ElementsAre("release 1", "deleted " + std::to_string(deletedUid), "list"));
}

TEST(Scene, DeleteRefusesTheLastElement) {
  ThreeElements t;
  DeleteElement(t.scene);
  DeleteElement(t.scene);
  EXPECT_TRUE(t.sink.entries.empty());
  DeleteElement(t.scene);
  EXPECT_EQ(t.scene.elementCount(), 1);
  EXPECT_EQ(t.scene.elements[0].name, "e2");
  ASSERT_EQ(t.sink.entries.size(), 1u);
  EXPECT_EQ(t.sink.entries[0].kind, MessageKind::Information);
  EXPECT_EQ(t.sink.entries[0].text, "Cannot delete all elements.");
}

TEST(Scene, SelectMakesCurrentAndRebuilds) {
  ThreeElements t;
  t.scene.elements[1].adjacency = {};
  ASSERT_TRUE(SelectElement(t.scene, 1));
  const TGeosphera& e = t.scene.current();
  EXPECT_EQ(t.scene.currentElement, 1);
  EXPECT_EQ(e.textureId, 7);
  EXPECT_EQ(t.scene.adjacencyWidth, 2);
  EXPECT_EQ(e.adjacency.width, 2);
  EXPECT_THAT(t.host.calls, ElementsAre("name e1", "level 1", "footprints", "upload 1", "grids"));
  EXPECT_FALSE(SelectElement(t.scene, 3));
  EXPECT_FALSE(SelectElement(t.scene, -1));
  EXPECT_EQ(t.scene.currentElement, 1);
  ResetScene(t.scene);
  EXPECT_TRUE(SelectElement(t.scene, 0));  // a blank element has nothing to rebuild
  EXPECT_TRUE(t.sink.entries.empty());
}

TEST(Scene, CopyElement) {
  ThreeElements t;
  const TGeosphera& source = t.scene.elements[0];
  for (bool geometry : {false, true}) {
    TGeosphera copy = t.scene.elements[1];
    copy.vertexState.assign(3, kVertexFrozen);
    CopyElement(source, copy, geometry);
    EXPECT_EQ(copy.name, "e0");
    EXPECT_EQ(copy.position, source.position);
    EXPECT_EQ(copy.colorR, source.colorR);
    EXPECT_EQ(copy.sourceKind, 1);
    EXPECT_EQ(copy.visible, 1);
    EXPECT_EQ(copy.vertices.size(), 6u);
    EXPECT_EQ(copy.vertexState, TSelect(6, kVertexFree));
    EXPECT_EQ(copy.rotation, t.scene.elements[1].rotation);  // not a copied field
    EXPECT_EQ(copy.vertexCount, geometry ? 6 : 3);
    EXPECT_EQ(copy.faces == source.faces, geometry);
    EXPECT_EQ(copy.vertices == source.vertices, geometry);
    EXPECT_EQ(copy.valence == source.valence, geometry);
  }
}

TEST(Scene, ToggleVisible) {
  ThreeElements t;
  t.scene.currentElement = 2;
  ToggleVisible(t.scene);
  EXPECT_EQ(t.scene.elements[2].visible, 0);
  ToggleVisible(t.scene);
  EXPECT_EQ(t.scene.elements[2].visible, 1);
}

TEST(Scene, IsComposedFile) {
  const auto file = std::filesystem::temp_directory_path() / ("plasmora-composed-" + std::to_string(getpid()));
  const std::pair<const char*, bool> cases[] = {
      {"g a\nv 0 0 0\ng b\n", true},
      {"g a\r\ng b", true},
      {"g a\nv 0 0 0\n", false},
      {"g a g b\n", false},            // one line, however many "g "
      {"# a big model\ng a\n", true},  // "g " anywhere counts
      {"G a\nG b\n", false},
      {"", false},
  };
  for (const auto& [text, composed] : cases) {
    std::ofstream(file, std::ios::binary) << text;
    EXPECT_EQ(IsComposedFile(file.string()), composed) << text;
  }
  std::filesystem::remove(file);
  EXPECT_FALSE(IsComposedFile(file.string()));
}

namespace {

RecordingSceneHost* loadHost = nullptr;

// A loader that fills the scene's last element with a triangle, or fails for "absent".
bool LoadTriangle(TScene& scene, const std::string& fileName, int, float scale) {
  loadHost->calls.push_back("load " + fileName);
  if (fileName == "absent") return false;
  TGeosphera& e = scene.elements.back();
  const TGeosphera triangle = MakeElement({{0, 0, 0}, {scale, 0, 0}, {0, scale, 0}}, {0, 1, 2});
  e.vertices = triangle.vertices;
  e.colors = triangle.colors;
  e.vertexState = triangle.vertexState;
  e.faces = triangle.faces;
  e.vertexCount = triangle.vertexCount;
  e.indexCount = triangle.indexCount;
  return RefreshElement(e);
}

}  // namespace

// The added element reaches the GPU only once its load succeeded; a failed
// load takes it away again with nothing uploaded.
TEST(Scene, AddMeshUploadsOnlyAfterTheLoad) {
  ThreeElements t;
  loadHost = &t.host;
  t.scene.currentElement = 1;
  ASSERT_TRUE(AddMeshToScene(t.scene, {"one", 1, false, LoadTriangle}, true, 5.0f));
  ASSERT_EQ(t.scene.elementCount(), 4);
  EXPECT_EQ(t.scene.currentElement, 3);
  EXPECT_EQ(t.scene.current().name, "Add4");
  EXPECT_EQ(t.scene.current().placeState, kPlaceFollowPick);
  EXPECT_EQ(t.scene.current().vertices[1], (TGLCoord{5, 0, 0}));
  EXPECT_THAT(t.host.calls, ElementsAre("level 0", "load one", "upload 3", "grids", "level 0"));

  t.host.calls.clear();
  EXPECT_FALSE(AddMeshToScene(t.scene, {"absent", 1, false, LoadTriangle}, true, 1.0f));
  EXPECT_EQ(t.scene.elementCount(), 4);
  EXPECT_EQ(t.scene.currentElement, 3);
  EXPECT_FALSE(t.scene.addPending);
  EXPECT_THAT(t.host.calls, ElementsAre("level 0", "load absent", "release 4"));

  t.host.calls.clear();
  ASSERT_TRUE(AddSphereElement(t.scene, {"sphere", 1, false, LoadTriangle}, {1, 2, 3}, 4.0f));
  EXPECT_EQ(t.scene.current().name, "Sphere4");
  EXPECT_EQ(t.scene.current().position, (TGLCoord{1, 2, 3}));
  EXPECT_THAT(t.host.calls, ElementsAre("load sphere", "upload 4", "grids"));
}

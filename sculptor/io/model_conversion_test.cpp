#include "io/model_conversion.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "io/test_files.h"
#include "model/messages.h"
#include "model/test_scene_host.h"

namespace {

using ::testing::ElementsAre;

const char kTwoGroups[] =
    "g  first \n"
    "div 1\n"
    "v -1 0 0\nv 1 0 0\nv 0 4 0\n"
    "f 1 2 3\n"
    "cor 10 20 30\n"
    "g second\n"
    "v 0 0 -9\nv 2 0 -9\nv 0 2 -9\nv 2 2 -9\n"
    "f 4 5 6\nf 5 7 6\n";

// A scene with `count` elements and the recording host.
struct Fixture {
  explicit Fixture(int count = 1) {
    host.Attach(scene);
    ResetScene(scene);
    for (int i = 1; i < count; ++i) AppendElement(scene);
    host.calls.clear();
  }
  std::string Write(const std::string& name, const std::string& text) {
    WriteWholeFile(dir.File(name), text);
    return dir.File(name);
  }
  TempDir dir;
  RecordingSceneHost host;
  TScene scene;
  CapturingMessageSink sink;
};

}  // namespace

TEST(ModelConversion, GroupsBecomeElementsWithLocalFaces) {
  Fixture f(2);
  const uint32_t lastUid = f.scene.elements[1].uid;
  const std::string file = f.Write("two.met", kTwoGroups);
  ASSERT_TRUE(LoadIntoScene(f.scene, file, kModelMet, 2.0f));
  // The first group fills the last element, the second is appended.
  ASSERT_EQ(f.scene.elementCount(), 3);
  const TGeosphera &a = f.scene.elements[1], &b = f.scene.elements[2];
  EXPECT_EQ(a.uid, lastUid);
  EXPECT_NE(b.uid, lastUid);
  EXPECT_EQ(a.name, "first");
  EXPECT_EQ(b.name, "second");
  EXPECT_EQ(a.fileName, file);
  EXPECT_EQ(a.subdivLevel, 1);
  EXPECT_THAT(a.faces, ElementsAre(0, 1, 2));
  EXPECT_THAT(b.faces, ElementsAre(0, 1, 2, 1, 3, 2));
  EXPECT_EQ(b.indexCount, 6);
  EXPECT_EQ(a.vertices[2], (TGLCoord{0, 8, 0}));  // scaled
  EXPECT_EQ(a.center, (TGLCoord{0, 8.0f / 3, 0}));
  EXPECT_EQ(a.maxExtent, 8.0f);
  EXPECT_EQ(b.loadExtent, 8.0f);  // the largest coordinate runs on across groups
  EXPECT_EQ(a.colors[0], (TRGBA{10, 20, 30, 255}));
  EXPECT_EQ(a.colors[1], kDefaultVertexColor);  // fewer colours than vertices
  EXPECT_EQ(b.colors[3], kDefaultVertexColor);
  EXPECT_EQ(b.normals[0], (TGLCoord{0, 0, 1}));
  EXPECT_EQ(b.adjacency.width, 3);
  EXPECT_EQ(f.scene.adjacencyWidth, 3);
  EXPECT_TRUE(b.uvs.empty());
  for (const TGeosphera* e : {&a, &b}) {
    EXPECT_EQ(e->visible, 1);
    EXPECT_EQ(e->sourceKind, kModelMet);
    EXPECT_EQ(e->textureId, 9);
    EXPECT_EQ(e->scale, (TGLCoord{1, 1, 1}));
  }
  EXPECT_TRUE(f.host.Called("read"));
  EXPECT_TRUE(f.host.Called("footprints"));
  EXPECT_TRUE(f.sink.entries.empty());
}

TEST(ModelConversion, FaceNumbersCountGroupsWithoutFaces) {
  Fixture f;
  const std::string file = f.Write("m.met", "g a\nv 0 0 0\nv 1 1 1\ng b\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 3 4 5\n");
  ASSERT_TRUE(LoadIntoScene(f.scene, file, kModelMet, 1.0f));
  ASSERT_EQ(f.scene.elementCount(), 1);
  EXPECT_EQ(f.scene.elements[0].name, "b");
  EXPECT_THAT(f.scene.elements[0].faces, ElementsAre(0, 1, 2));
}

TEST(ModelConversion, NothingToConvertFailsTheLoad) {
  const struct {
    const char* text;
    std::vector<std::string> messages;
  } cases[] = {
      {"v 0 0 0\nv 1 0 0\nv 0 1 0\n", {"Failed to load model."}},
      {"", {"Failed to load model."}},
      {"v 0 0 0\nf 1 1 2\n", {"File format not recognized.", "Failed to load model."}},
  };
  for (const auto& c : cases) {
    Fixture f;
    f.scene.elements[0].name = "kept";
    EXPECT_FALSE(LoadIntoScene(f.scene, f.Write("m.met", c.text), kModelMet, 1.0f)) << c.text;
    EXPECT_EQ(f.sink.Texts(), c.messages) << c.text;
    EXPECT_TRUE(f.host.Called("restore"));
    EXPECT_EQ(f.scene.elementCount(), 1);
    EXPECT_EQ(f.scene.elements[0].name, "kept");
  }
  Fixture f;
  EXPECT_FALSE(LoadIntoScene(f.scene, f.dir.File("absent.met"), kModelMet, 1.0f));
  EXPECT_EQ(f.sink.Texts(), std::vector<std::string>{"Failed to load model."});
}

TEST(ModelConversion, AMalformedFileConvertsWhatWasRead) {
  Fixture f;
  const std::string file = f.Write("m.met", std::string(kTwoGroups) + "v 1 x 2\nf 1 2 3\n");
  EXPECT_TRUE(LoadIntoScene(f.scene, file, kModelMet, 1.0f));
  EXPECT_EQ(f.sink.Texts(), std::vector<std::string>{"File format not recognized."});
  EXPECT_EQ(f.scene.elementCount(), 2);
}

TEST(ModelConversion, ReadingAloneLeavesTheSceneAlone) {
  Fixture f;
  TOBJModel model;
  EXPECT_EQ(ReadModelFile(model, f.Write("m.met", kTwoGroups), kModelMet), TReadStatus::Ok);
  EXPECT_EQ(model.groups.size(), 2u);
  EXPECT_EQ(ReadModelFile(model, f.dir.File("absent.met"), kModelMet), TReadStatus::CannotOpen);
  EXPECT_EQ(f.scene.elementCount(), 1);
  EXPECT_TRUE(f.host.calls.empty());
}

TEST(ModelConversion, KindFromExtension) {
  const std::pair<const char*, int> cases[] = {{"a.met", kModelMet}, {"/x.y/A.MET", kModelMet}, {"b.Obj", kModelObj},
                                               {"c.ply", kModelPly}, {"d.STL", kModelStl},  {"e.off", kModelOff}, {"f.xyz", kModelUnknown}, {"met", kModelUnknown},
                                               {"dir.met/file", kModelUnknown}};
  for (const auto& [name, kind] : cases) EXPECT_EQ(ModelKindOfFile(name), kind) << name;
}

TEST(ModelConversion, LoadIntoElement) {
  Fixture f;
  TGeosphera handle;
  handle.name = "handle";
  ASSERT_TRUE(LoadIntoElement(f.scene, handle, f.Write("m.met", kTwoGroups), kModelMet, 1.0f));
  // The last group with points wins, its arrays one entry longer than its vertices.
  EXPECT_EQ(handle.name, "handle");
  EXPECT_EQ(handle.vertexCount, 4);
  EXPECT_EQ(handle.colors.size(), 5u);
  EXPECT_EQ(handle.uvs.size(), 5u);
  EXPECT_EQ(handle.maxExtent, 2.0f);  // x only
  EXPECT_THAT(handle.quads, ElementsAre(0, 1, 2, 2));
  ASSERT_TRUE(LoadIntoElement(f.scene, handle, f.Write("c.met", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\ncor 1 2 3\n"),
                              kModelMet, 1.0f));
  EXPECT_EQ(handle.colors[0], (TRGBA{1, 2, 3, 1}));  // colours from the file get alpha 1

  EXPECT_FALSE(LoadIntoElement(f.scene, handle, f.dir.File("absent.met"), kModelMet, 1.0f));
  EXPECT_EQ(f.sink.Texts(), std::vector<std::string>{"Failed to load model rotate."});
  EXPECT_FALSE(f.host.Called("restore"));
}

TEST(ModelConversion, AddMeshToScene) {
  Fixture f(2);
  f.scene.currentElement = 1;
  const std::string single = f.Write("one.met", "g ball\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
  ASSERT_TRUE(AddMeshToScene(f.scene, ModelFileToLoad(single, kModelMet), true, 5.0f));
  ASSERT_EQ(f.scene.elementCount(), 3);
  EXPECT_EQ(f.scene.currentElement, 2);
  const TGeosphera& added = f.scene.elements[2];
  EXPECT_EQ(added.name, "Add3");  // the generated name stays
  EXPECT_EQ(added.placeState, kPlaceFollowPick);
  EXPECT_EQ(added.vertices[1], (TGLCoord{5, 0, 0}));
  EXPECT_TRUE(f.scene.addPending);
  EXPECT_TRUE(f.host.Called("upload 2"));

  // A model of several groups is refused; a failed load takes the new element away again.
  f.host.calls.clear();
  EXPECT_FALSE(AddMeshToScene(f.scene, ModelFileToLoad(f.Write("two.met", kTwoGroups), kModelMet), true, 1.0f));
  EXPECT_FALSE(AddMeshToScene(f.scene, ModelFileToLoad(f.dir.File("absent.met"), kModelMet), true, 1.0f));
  EXPECT_EQ(f.sink.Texts(), (std::vector<std::string>{"Object is composed and can not be loaded. Load as principal mesh.",
                                                      "Failed to load model."}));
  EXPECT_EQ(f.scene.elementCount(), 3);
  EXPECT_TRUE(f.host.Called("release 3"));  // the failed element's buffers go with it
  EXPECT_FALSE(f.host.Called("upload 3"));
  EXPECT_EQ(f.scene.currentElement, 2);
}

TEST(ModelConversion, AddSphereElement) {
  Fixture f(2);
  const std::string sphere = f.Write("s.met", "g geo\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
  ASSERT_TRUE(AddSphereElement(f.scene, ModelFileToLoad(sphere, kModelMet), {1, 2, 3}, 4.0f));
  const TGeosphera& e = f.scene.current();
  EXPECT_EQ(f.scene.currentElement, 2);
  EXPECT_EQ(e.name, "Sphere2");
  EXPECT_EQ(e.position, (TGLCoord{1, 2, 3}));
  EXPECT_EQ(e.placeState, kPlaced);
  EXPECT_EQ(e.vertices[2], (TGLCoord{0, 4, 0}));
  EXPECT_FALSE(f.scene.addPending);
}

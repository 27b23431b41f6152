#include "io/model_formats.h"

#include <gtest/gtest.h>

#include "io/model_conversion.h"
#include "io/model_writer.h"
#include "io/test_files.h"
#include "model/messages.h"

namespace {

std::vector<std::string> Captions(TModelDialog dialog) {
  std::vector<std::string> captions;
  for (const TModelFilter& filter : DialogFilters(dialog)) captions.push_back(filter.caption);
  return captions;
}

TGeosphera Triangle(const char* name, float z) {
  TGeosphera e;
  e.name = name;
  e.vertices = {{0, 0, z}, {1, 0, z}, {0, 1, z}};
  e.normals.assign(3, {0, 0, 1});
  e.colors.assign(3, kDefaultVertexColor);
  e.vertexCount = 3;
  e.faces = {0, 1, 2};
  e.indexCount = 3;
  return e;
}

}  // namespace

TEST(ModelFormats, EachDialogOffersItsFiltersInOrder) {
  const struct {
    TModelDialog dialog;
    std::vector<std::string> captions;
  } cases[] = {
      {TModelDialog::Open,
       {"All (*.met *.obj *.ply)", "OBJ Geometry Format (*.obj)", "Polygon File Format (*.ply)",
        "Met 3D Format (*.met)"}},
      {TModelDialog::Import, {"All (*.obj *.ply)", " OBJ File Format (*.obj)", "Polygon File Format (*.ply)"}},
      {TModelDialog::Export, {"Wavefront OBJ File (*.obj)", "Stanford Triangle Format (*.ply)"}},
      {TModelDialog::SaveAs, {"Meta File (*.met)"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Captions(c.dialog), c.captions) << static_cast<int>(c.dialog);
  const std::vector<TModelFilter> exports = DialogFilters(TModelDialog::Export);
  EXPECT_EQ(exports[0].format->kind, kModelObj);
  EXPECT_EQ(exports[1].format->kind, kModelPly);
  EXPECT_EQ(DialogFilters(TModelDialog::Open).front().format, nullptr);
}

// Whole-scene formats write every element and clear the positions; PLY
// writes the current element and leaves the scene's placement alone.
TEST(ModelFormats, WriterOfEachKind) {
  TempDir dir;
  CapturingMessageSink sink;
  for (const int kind : {kModelMet, kModelObj, kModelPly}) {
    SCOPED_TRACE(kind);
    TScene scene;
    scene.elements = {Triangle("a", 0), Triangle("b", 2)};
    scene.elements[1].position = {1, 2, 3};
    scene.currentElement = 1;
    const std::string file = dir.File(std::string("m") + FindModelFormat(kind)->extension);
    ASSERT_TRUE(WriteModel(scene, file, kind));
    const bool wholeScene = FindModelFormat(kind)->wholeScene;
    EXPECT_EQ(scene.elements[1].position, (wholeScene ? TGLCoord{} : TGLCoord{1, 2, 3}));
    TScene back;
    ASSERT_TRUE(LoadIntoScene(back, file, kind, 1.0f));
    ASSERT_EQ(back.elementCount(), wholeScene ? 2 : 1);
    EXPECT_EQ(back.elements.back().vertices[0].z, 2);
  }
  TScene scene;
  scene.elements = {Triangle("a", 0)};
  EXPECT_FALSE(WriteModel(scene, dir.File("m.stl"), kModelUnknown));
  EXPECT_EQ(sink.Texts(), std::vector<std::string>{"Unknown model file format."});
}

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
       {"All (*.met *.obj *.ply *.stl *.off)", "OBJ Geometry Format (*.obj)", "Polygon File Format (*.ply)",
        "Stereolithography Format (*.stl)", "Object File Format (*.off)", "Met 3D Format (*.met)"}},
      {TModelDialog::Import,
       {"All (*.obj *.ply *.stl *.off)", " OBJ File Format (*.obj)", "Polygon File Format (*.ply)",
        "Stereolithography Format (*.stl)", "Object File Format (*.off)"}},
      {TModelDialog::Export,
       {"Wavefront OBJ File (*.obj)", "Stanford Triangle Format (*.ply)", "STL Binary File (*.stl)",
        "STL ASCII File (*.stl)", "Object File Format (*.off)"}},
      {TModelDialog::SaveAs, {"Meta File (*.met)"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Captions(c.dialog), c.captions) << static_cast<int>(c.dialog);
  const std::vector<TModelFilter> exports = DialogFilters(TModelDialog::Export);
  EXPECT_EQ(exports[0].format->kind, kModelObj);
  EXPECT_EQ(exports[1].format->kind, kModelPly);
  EXPECT_EQ(exports[3].format->kind, kModelStlAscii);
  EXPECT_EQ(DialogFilters(TModelDialog::Open).front().format, nullptr);
}

// STL and OFF give back the positions bit for bit and the same triangles;
// OFF also the painted colours.
TEST(ModelFormats, StlAndOffRoundTrip) {
  TempDir dir;
  CapturingMessageSink sink;
  TScene scene;
  TGeosphera& e = scene.elements.emplace_back();
  // An octahedron of awkward coordinates.
  const float r[6] = {1.0f / 3, -2.5e10f, 1e-7f, -0.1f, 16777217.0f, 3.14159265f};
  e.vertices = {{r[0], 0, 0}, {-r[1], 0, 0}, {0, r[2], 0}, {0, -r[3], 0}, {0, 0, r[4]}, {0, 0, -r[5]}};
  e.faces = {0, 2, 4, 2, 1, 4, 1, 3, 4, 3, 0, 4, 2, 0, 5, 1, 2, 5, 3, 1, 5, 0, 3, 5};
  e.vertexCount = 6;
  e.indexCount = 24;
  e.colors.assign(6, kDefaultVertexColor);
  e.colors[3] = {1, 254, 77, 255};
  for (const int kind : {kModelStl, kModelStlAscii, kModelOff}) {
    SCOPED_TRACE(kind);
    const std::string file = dir.File("m" + std::to_string(kind) + FindModelFormat(kind)->extension);
    ASSERT_TRUE(WriteModel(scene, file, kind));
    TScene back;
    ASSERT_TRUE(LoadIntoScene(back, file, ModelKindOfFile(file), 1.0f)) << ::testing::PrintToString(sink.Texts());
    const TGeosphera& b = back.elements[0];
    // STL numbers the vertices in the order the triangles first use them.
    ASSERT_EQ(b.vertexCount, 6);
    ASSERT_EQ(b.indexCount, 24);
    for (int c = 0; c < 24; ++c) EXPECT_EQ(b.vertices[b.faces[c]], e.vertices[e.faces[c]]) << c;
    if (kind == kModelOff) {
      EXPECT_EQ(b.colors, e.colors);
    }
  }
  EXPECT_TRUE(sink.entries.empty());
}

// Whole-scene formats write every element and clear the positions; the
// others write the current element and leave the scene's placement alone.
TEST(ModelFormats, WriterOfEachKind) {
  TempDir dir;
  CapturingMessageSink sink;
  for (const TModelFormat& format : ModelFormats()) {
    const int kind = format.kind;
    SCOPED_TRACE(kind);
    TScene scene;
    scene.elements = {Triangle("a", 0), Triangle("b", 2)};
    scene.elements[1].position = {1, 2, 3};
    scene.currentElement = 1;
    const std::string file = dir.File(std::string("m") + format.extension);
    ASSERT_TRUE(WriteModel(scene, file, kind));
    const bool wholeScene = format.wholeScene;
    EXPECT_EQ(scene.elements[1].position, (wholeScene ? TGLCoord{} : TGLCoord{1, 2, 3}));
    TScene back;
    ASSERT_TRUE(LoadIntoScene(back, file, ModelKindOfFile(file), 1.0f));
    ASSERT_EQ(back.elementCount(), wholeScene ? 2 : 1);
    EXPECT_EQ(back.elements.back().vertices[0].z, 2);
  }
  TScene scene;
  scene.elements = {Triangle("a", 0)};
  EXPECT_FALSE(WriteModel(scene, dir.File("m.xyz"), kModelUnknown));
  EXPECT_EQ(sink.Texts(), std::vector<std::string>{"Unknown model file format."});
}

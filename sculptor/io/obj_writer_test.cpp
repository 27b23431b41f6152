#include "io/obj_writer.h"

#include <gtest/gtest.h>

#include <fstream>

#include "io/model_conversion.h"
#include "io/model_writer.h"
#include "io/obj_materials.h"
#include "io/test_files.h"
#include "model/messages.h"

namespace {

TGeosphera Element(const std::string& name, int vertexCount, const Tfaces& faces) {
  TGeosphera e;
  e.name = name;
  for (int v = 0; v < vertexCount; ++v) {
    e.vertices.push_back({0.5f * static_cast<float>(v), static_cast<float>(v % 2), -1.0f});
    e.normals.push_back({0, 0, 1});
    e.colors.push_back(kDefaultVertexColor);
  }
  e.vertexCount = vertexCount;
  e.faces = faces;
  e.indexCount = static_cast<int32_t>(faces.size());
  return e;
}

std::vector<std::string> Lines(const std::string& path, const std::string& prefix) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);)
    if (line.starts_with(prefix)) lines.push_back(line);
  return lines;
}

class ObjWriterTest : public ::testing::Test {
 protected:
  std::string Path(const char* name) { return dir.File(name); }
  TempDir dir;
  CapturingMessageSink sink;
};

TEST_F(ObjWriterTest, ElementWithoutTextureCoordinatesWritesVertexNormalFaces) {
  TScene scene;
  scene.elements.push_back(Element("tri", 3, {0, 1, 2}));
  const std::string path = Path("tri.obj");
  ASSERT_TRUE(WriteObj(scene, path));
  EXPECT_EQ(ReadWholeFile(path),
            "# Created by Plasmora Beta v5.00.\r\n# \r\n\r\ng tri \r\nusemtl tri \r\ns off \r\n# 3 vertices\r\n\r\n"
            "v 0.0000000000 0.0000000000 -1.0000000000\r\nv 0.5000000000 1.0000000000 -1.0000000000\r\n"
            "v 1.0000000000 0.0000000000 -1.0000000000\r\n\r\n# 0 vertex textures\r\n\r\n\r\n\r\n"
            "# 3 vertex normals\r\n\r\nvn 0.0000000000 0.0000000000 1.0000000000\r\n"
            "vn 0.0000000000 0.0000000000 1.0000000000\r\nvn 0.0000000000 0.0000000000 1.0000000000\r\n"
            "\r\n# 1 faces\r\n\r\nf 1//1 2//2 3//3\r\n");
}

TEST_F(ObjWriterTest, LaterElementsNumberVerticesAndTexturesAfterTheEarlierOnes) {
  TScene scene;
  // 8 vertices with one texture coordinate each (no uvFaces: texture number = vertex number);
  // then 6 vertices with 6 texture coordinates of their own reached through uvFaces.
  scene.elements.push_back(Element("first", 8, {0, 1, 2, 5, 6, 7}));
  scene.elements[0].uvs.assign(8, TGLUV{0.25f, 0.75f});
  scene.elements.push_back(Element("second", 6, {0, 1, 2, 3, 4, 5}));
  scene.elements[1].uvs.assign(6, TGLUV{});
  scene.elements[1].uvFaces = {5, 4, 3, 2, 1, 0};
  const std::string path = Path("two.obj");
  ASSERT_TRUE(WriteObj(scene, path));
  EXPECT_EQ(Lines(path, "f "),
            (std::vector<std::string>{"f 1/1/1 2/2/2 3/3/3\r", "f 6/6/6 7/7/7 8/8/8\r", "f 9/14/9 10/13/10 11/12/11\r",
                                      "f 12/11/12 13/10/13 14/9/14\r"}));
  EXPECT_EQ(Lines(path, "vt ").size(), 14u);
  EXPECT_EQ(Lines(path, "vt ")[0], "vt 0.2500000000 0.7500000000\r");
}

TEST_F(ObjWriterTest, WriteModelModeTwoReadsBackAsTheSameElements) {
  TScene scene;
  scene.elements.push_back(Element("first", 4, {0, 1, 2, 0, 2, 3}));
  scene.elements.push_back(Element("second", 3, {2, 1, 0}));
  scene.elements[1].position = {1, 2, 3};
  const std::string path = Path("roundtrip.obj");
  ASSERT_TRUE(WriteModel(scene, path, kModelObj));
  EXPECT_EQ(scene.elements[1].position, (TGLCoord{0, 0, 0}));

  TScene back;
  back.elements.resize(1);
  ASSERT_TRUE(LoadIntoScene(back, path, kModelObj, 1.0f)) << ::testing::PrintToString(sink.Texts());
  ASSERT_EQ(back.elements.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(back.elements[i].name, scene.elements[i].name);
    EXPECT_EQ(back.elements[i].faces, scene.elements[i].faces);
    EXPECT_EQ(std::vector<TGLCoord>(back.elements[i].vertices.begin(),
                                    back.elements[i].vertices.begin() + back.elements[i].vertexCount),
              scene.elements[i].vertices);
  }
}

}  // namespace

// A painted element brings its material library: the OBJ names it, and it
// names the element's texture image beside the OBJ; other elements get none.
TEST_F(ObjWriterTest, PaintedElementsNameTheirMaterialLibrary) {
  TScene scene;
  scene.elements.push_back(Element("plain", 3, {0, 1, 2}));
  TGeosphera painted = Element("painted", 3, {0, 1, 2});
  painted.uvs = {{0, 0}, {1, 0}, {0, 1}};
  painted.hasTextureImage = 1;
  scene.elements.push_back(painted);
  const std::string path = Path("model.v2.obj");
  ASSERT_TRUE(WriteObj(scene, path));
  EXPECT_EQ(Lines(path, "mtllib"), std::vector<std::string>{"mtllib model.v2.mtl\r"});
  ASSERT_TRUE(WriteMaterialLibrary(scene, path));
  EXPECT_EQ(MaterialLibraryPath(path), Path("model.v2.mtl"));
  EXPECT_EQ(Lines(Path("model.v2.mtl"), "newmtl"), std::vector<std::string>{"newmtl painted \r"});
  EXPECT_EQ(Lines(Path("model.v2.mtl"), "map_Kd"), std::vector<std::string>{"map_Kd model.v2_1.png\r"});

  scene.elements[1].uvs.pop_back();  // a corner without texture coordinate: no texture
  ASSERT_TRUE(WriteObj(scene, path));
  EXPECT_TRUE(Lines(path, "mtllib").empty());
}

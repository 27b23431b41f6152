#include "point_ply.h"

#include <gtest/gtest.h>

#include "io/ply_reader.h"
#include "io/ply_writer.h"
#include "io/test_files.h"
#include "model/messages.h"
#include "model/scene.h"
#include "model/topology.h"

namespace {

class PointPlyTest : public ::testing::Test {
 protected:
  std::string Read(const std::string& contents) {
    const std::string path = dir.File("points.ply");
    WriteWholeFile(path, contents);
    const std::string error = ReadOrientedPoints(path, points);
    // Messages name the file; the tests compare what follows.
    return error.rfind(path + ": ", 0) == 0 ? error.substr(path.size() + 2) : error;
  }

  TempDir dir;
  OrientedPoints points;
};

}  // namespace

// Exactly what the sculptor's Remesh writes: CR LF lines, ten decimals, zero-padded colours.
TEST_F(PointPlyTest, ReadsTheSculptorsFullPly) {
  TScene scene;
  ResetScene(scene);
  TGeosphera& e = scene.elements[0];
  e.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1.5f, 0}};
  e.colors = {{255, 0, 0, 255}, {0, 128, 0, 255}, {1, 2, 3, 255}};
  e.faces = {0, 1, 2};
  e.vertexCount = 3;
  e.indexCount = 3;
  ASSERT_TRUE(RefreshElement(e));
  const std::string path = dir.File("file.ply");
  ASSERT_TRUE(WritePlyFull(scene, 0, path));
  ASSERT_EQ(ReadOrientedPoints(path, points), "");
  ASSERT_EQ(points.positions.size(), 3u);
  EXPECT_EQ(points.positions[2], (Float3{0, 1.5f, 0}));
  EXPECT_NEAR(points.normals[1][2], 1, 1e-3);
  EXPECT_EQ(points.colors[1], (Rgb{0, 128, 0}));
}

// Other writers: sized type names, doubles, float colours, unused properties
// and an element before the vertices (with a list) to skip.
TEST_F(PointPlyTest, ReadsBinaryWithOtherTypesAndElements) {
  LittleEndianBytes body;
  body.Put<uint8_t>(2).Put<int32_t>(7).Put<int32_t>(8);  // the "camera" record
  for (int i = 0; i < 2; ++i) {
    body.Put<double>(i).Put<double>(2).Put<double>(3);
    body.Put<uint16_t>(99);  // "quality"
    body.Put<float>(0).Put<float>(-1).Put<float>(0);
    body.Put<float>(i == 0 ? 1.0f : 0.5f).Put<float>(0).Put<float>(2.0f);
  }
  ASSERT_EQ(Read("ply\r\nformat binary_little_endian 1.0\r\ncomment made elsewhere\r\n"
                 "element camera 1\r\nproperty list uint8 int32 ids\r\n"
                 "element vertex 2\r\nproperty float64 x\r\nproperty float64 y\r\nproperty float64 z\r\n"
                 "property ushort quality\r\nproperty float nx\r\nproperty float ny\r\nproperty float nz\r\n"
                 "property float red\r\nproperty float green\r\nproperty float blue\r\nend_header\r\n" +
                 body.data),
            "");
  EXPECT_EQ(points.positions[1], (Float3{1, 2, 3}));
  EXPECT_EQ(points.normals[0], (Float3{0, -1, 0}));
  EXPECT_EQ(points.colors[0], (Rgb{255, 0, 255}));
  EXPECT_EQ(points.colors[1], (Rgb{128, 0, 255}));
}

TEST_F(PointPlyTest, PointsWithoutColoursHaveNone) {
  ASSERT_EQ(Read("ply\nformat ascii 1.0\nelement vertex 1\nproperty float x\nproperty float y\nproperty float z\n"
                 "property float nx\nproperty float ny\nproperty float nz\nend_header\n+1 2e0 3 0 0 1\n"),
            "");
  EXPECT_EQ(points.positions[0], (Float3{1, 2, 3}));
  EXPECT_TRUE(points.colors.empty());
}

TEST_F(PointPlyTest, RefusesWhatItCannotRead) {
  const std::string xyz = "property float x\nproperty float y\nproperty float z\n";
  const std::string normals = "property float nx\nproperty float ny\nproperty float nz\n";
  const std::string ascii = "ply\nformat ascii 1.0\nelement vertex 2\n";
  const struct {
    std::string contents;
    std::string error;
  } cases[] = {
      {"", "the header has no end_header line"},
      {"solid cube\nend_header\n", "not a PLY file"},
      {"ply\nformat binary_big_endian 1.0\nend_header\n", "binary big-endian PLY is not supported"},
      {"ply\nelement vertex 0\nend_header\n", "the header has no format line"},
      {"ply\nformat ascii 1.0\nelement vertex 1\nproperty half x\nend_header\n", "unknown property type \"half\""},
      {"ply\nformat ascii 1.0\nelement vertex\nend_header\n", "a malformed element line"},
      {"ply\nformat ascii 1.0\nelement face 0\nend_header\n", "the file has no vertex element"},
      {ascii + xyz + "end_header\n1 2 3\n4 5 6\n", "the points have no normals (nx, ny, nz)"},
      {ascii + xyz + normals + "end_header\n1 2 3 0 0 1\n", "the file ends or breaks off in vertex 1"},
      {ascii + xyz + normals + "end_header\n1 2 3 0 0 1\n4 5 six 0 0 1\n", "the file ends or breaks off in vertex 1"},
      {ascii + xyz + normals + "end_header\n1 2 3 0 0 1\n4 5 nan 0 0 1\n",
       "vertex 1 has a value that is not a finite number"},
      {"ply\nformat binary_little_endian 1.0\nelement vertex 1\n" + xyz + normals + "end_header\nshort",
       "the file ends or breaks off in vertex 0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.contents);
    EXPECT_EQ(Read(c.contents), c.error);
  }
  EXPECT_EQ(ReadOrientedPoints(dir.File("missing.ply"), points).rfind("cannot read ", 0), 0u);
}

// The sculptor's own PLY reader reads what poissonrecon writes.
TEST_F(PointPlyTest, TheSculptorReadsTheWrittenMesh) {
  ColoredMesh mesh;
  mesh.positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  mesh.colors = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {9, 8, 7}};
  mesh.triangles = {{0, 2, 1}, {0, 1, 3}, {1, 2, 3}, {0, 3, 2}};
  const std::string path = dir.File("mesh.ply");
  ASSERT_EQ(WriteMeshPly(path, mesh), "");
  for (bool colored : {true, false}) {
    SCOPED_TRACE(colored);
    if (!colored) {
      mesh.colors.clear();
      ASSERT_EQ(WriteMeshPly(path, mesh), "");
    }
    TOBJModel model;
    ASSERT_EQ(ReadPly(model, path), TReadStatus::Ok);
    ASSERT_EQ(model.groups.size(), 1u);
    const TOBJGroup& g = model.groups[0];
    ASSERT_EQ(g.points.size(), 4u);
    EXPECT_EQ(g.points[3].z, 1);
    ASSERT_EQ(g.faceRecords.size(), 4u);
    EXPECT_EQ(g.faceRecords[2].vertex[1], 2);
    ASSERT_EQ(g.pointColors.size(), colored ? 4u : 0u);
    if (colored) {
      EXPECT_EQ(g.pointColors[3].r, 9);
    }
  }
}

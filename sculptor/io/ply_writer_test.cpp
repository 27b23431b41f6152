#include "io/ply_writer.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "io/ply_reader.h"
#include "io/test_files.h"
#include "model/messages.h"

namespace {

// Four vertices, the last used by no triangle: the writers drop it from the element.
TScene SceneWithUnusedVertex() {
  TScene scene;
  TGeosphera e;
  e.vertices = {{0, 0, 0}, {1.25f, 0, 0}, {9, 9, 9}, {0, -1, 0.5f}};
  e.normals = {{0, 0, 1}, {0, 0, 1}, {1, 0, 0}, {0, 0, -1}};
  e.colors = {{128, 128, 128, 255}, {1, 2, 3, 255}, {0, 0, 0, 255}, {255, 0, 10, 255}};
  e.vertexCount = 4;
  e.faces = {0, 1, 3};
  e.indexCount = 3;
  scene.elements.push_back(e);
  return scene;
}

class PlyWriterTest : public ::testing::Test {
 protected:
  TempDir dir;
  std::string path = dir.File("test.ply");
  CapturingMessageSink sink;
};

const char* const kComment = "comment Created by Plasmora 5.0 - https://plasmora.org\r\n";

TEST_F(PlyWriterTest, FullWriterTidiesTheElementAndWritesItsExactLines) {
  TScene scene = SceneWithUnusedVertex();
  scene.adjacencyWidth = 6;
  ASSERT_TRUE(WritePlyFull(scene, 0, path));
  EXPECT_EQ(ReadWholeFile(path),
            std::string("ply\r\nformat ascii 1.0\r\n") + kComment +
                "element vertex 3\r\nproperty float x\r\nproperty float y\r\nproperty float z\r\n"
                "property float nx\r\nproperty float ny\r\nproperty float nz\r\nproperty uchar red\r\n"
                "property uchar green\r\nproperty uchar blue\r\nelement face 1\r\n"
                "property list uchar uint vertex_indices\r\nend_header\r\n"
                "0.0000000000 0.0000000000 0.0000000000 0.0000000000 0.0000000000 1.0000000000 0000000128 "
                "0000000128 0000000128\r\n"
                "1.2500000000 0.0000000000 0.0000000000 0.0000000000 0.0000000000 1.0000000000 0000000001 "
                "0000000002 0000000003\r\n"
                "0.0000000000 -1.0000000000 0.5000000000 0.0000000000 0.0000000000 -1.0000000000 0000000255 "
                "0000000000 0000000010\r\n"
                "3 0 1 2\r\n");
  const TGeosphera& e = scene.elements[0];
  EXPECT_EQ(e.vertexCount, 3);
  EXPECT_EQ(e.faces, (Tfaces{0, 1, 2}));
  EXPECT_EQ(scene.adjacencyWidth, 2);  // largest valence + 1
}

TEST_F(PlyWriterTest, PositionsWriterWritesPositionsOnlyAndReadsBack) {
  TScene scene = SceneWithUnusedVertex();
  ASSERT_TRUE(WritePlyPositions(scene, 0, path));
  EXPECT_EQ(ReadWholeFile(path),
            std::string("ply\r\nformat ascii 1.0\r\n") + kComment +
                "element vertex 3\r\nproperty float x\r\nproperty float y\r\nproperty float z\r\n"
                "element face 1\r\nproperty list uchar uint vertex_indices\r\nend_header\r\n"
                "0.0000000000 0.0000000000 0.0000000000\r\n1.2500000000 0.0000000000 0.0000000000\r\n"
                "0.0000000000 -1.0000000000 0.5000000000\r\n3 0 1 2\r\n");
  TOBJModel model;
  ASSERT_EQ(ReadPly(model, path), TReadStatus::Ok);
  ASSERT_EQ(model.groups[0].points.size(), 3u);
  EXPECT_FLOAT_EQ(model.groups[0].points[2].z, 0.5f);
  EXPECT_TRUE(model.groups[0].pointColors.empty());
}

TEST_F(PlyWriterTest, ElementWithoutTrianglesIsNotWritten) {
  TScene scene = SceneWithUnusedVertex();
  scene.elements[0].faces.clear();
  scene.elements[0].indexCount = 0;
  EXPECT_FALSE(WritePlyFull(scene, 0, path));
  EXPECT_EQ(sink.Texts(), std::vector<std::string>{"Scene don't have elements to save."});
  EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace

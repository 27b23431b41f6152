// OBJ and PLY files of an established tool (the assimp command of Debian's
// assimp-utils) are read correctly, and the tool reads ours.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "io/model_conversion.h"
#include "io/obj_writer.h"
#include "io/ply_writer.h"
#include "io/test_files.h"
#include "model/messages.h"

namespace {

namespace fs = std::filesystem;

using Triangle = std::array<float, 9>;

TGeosphera Element(const std::string& name, Tvertices vertices, Tfaces faces) {
  TGeosphera e;
  e.name = name;
  e.vertexCount = static_cast<int32_t>(vertices.size());
  e.normals.assign(vertices.size(), TGLCoord{0, 0, 1});
  e.colors.assign(vertices.size(), kDefaultVertexColor);
  e.vertices = std::move(vertices);
  e.indexCount = static_cast<int32_t>(faces.size());
  e.faces = std::move(faces);
  return e;
}

// A unit cube (8 vertices, 12 triangles) and a plate beside it (4 vertices, 2 triangles).
TScene SourceScene() {
  TScene scene;
  scene.elements.push_back(Element(
      "cube", {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}},
      {0, 2, 1, 0, 3, 2, 4, 5, 6, 4, 6, 7, 0, 1, 5, 0, 5, 4, 1, 2, 6, 1, 6, 5, 2, 3, 7, 2, 7, 6, 3, 0, 4, 3, 4, 7}));
  scene.elements.push_back(Element("plate", {{3, 0, 0}, {4, 0, 0}, {4, 1, 0.5f}, {3, 1, 0.5f}}, {0, 1, 2, 0, 2, 3}));
  return scene;
}

// Every triangle of the scene as its corner positions, sorted.
std::vector<Triangle> Triangles(const TScene& scene, size_t firstElement = 0, size_t count = SIZE_MAX) {
  std::vector<Triangle> triangles;
  for (size_t i = firstElement; i < scene.elements.size() && i - firstElement < count; ++i) {
    const TGeosphera& e = scene.elements[i];
    for (int c = 0; c + 2 < e.indexCount; c += 3) {
      Triangle t;
      for (int k = 0; k < 3; ++k) {
        const TGLCoord& p = e.vertices[e.faces[static_cast<size_t>(c + k)]];
        t[3 * k] = p.x, t[3 * k + 1] = p.y, t[3 * k + 2] = p.z;
      }
      triangles.push_back(t);
    }
  }
  std::sort(triangles.begin(), triangles.end());
  return triangles;
}

class AssimpInteropTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::system("assimp version > /dev/null 2>&1") != 0)
      GTEST_SKIP() << "the assimp command (Debian package assimp-utils) is not installed: "
                      "interoperability with it is not tested";
  }

  std::string Path(const char* name) const { return dir.File(name); }

  // Runs the assimp command; its standard output.
  static std::string Assimp(const std::string& arguments) {
    std::string output;
    FILE* pipe = popen(("assimp " + arguments + " 2>&1").c_str(), "r");
    if (!pipe) return output;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    pclose(pipe);
    return output;
  }

  static TScene Load(const std::string& path, int kind) {
    TScene scene;
    scene.elements.resize(1);
    EXPECT_TRUE(LoadIntoScene(scene, path, kind, 1.0f)) << path;
    return scene;
  }

  // The "Faces:" figure of `assimp info`.
  static int InfoFaces(const std::string& path) {
    const std::string info = Assimp("info \"" + path + "\"");
    const size_t at = info.find("\nFaces:");
    return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 7);
  }

  TempDir dir;
  CapturingMessageSink sink;
};

TEST_F(AssimpInteropTest, ItsObjAndPlyFilesAreRead) {
  const TScene source = SourceScene();
  const std::string ours = Path("source.obj");
  ASSERT_TRUE(WriteObj(source, ours));
  struct Case {
    const char* file;
    const char* format;
    int kind;
  };
  for (const Case& c : {Case{"assimp.obj", "obj", kModelObj}, Case{"assimp_ascii.ply", "ply", kModelPly},
                        Case{"assimp_binary.ply", "plyb", kModelPly}}) {
    SCOPED_TRACE(c.file);
    const std::string path = Path(c.file);
    Assimp("export \"" + ours + "\" \"" + path + "\" -f" + c.format);
    ASSERT_TRUE(fs::exists(path));
    const TScene read = Load(path, c.kind);
    EXPECT_EQ(Triangles(read), Triangles(source));
    if (c.kind == kModelObj) {
      // All vertices first, then the groups' faces: each group becomes an element of its own vertices.
      ASSERT_EQ(read.elements.size(), 2u);
      EXPECT_EQ(read.elements[0].name, "cube");
      EXPECT_EQ(read.elements[0].vertexCount, 8);
      EXPECT_EQ(read.elements[1].name, "plate");
      EXPECT_EQ(read.elements[1].vertexCount, 4);
      EXPECT_EQ(Triangles(read, 1), Triangles(source, 1));
    }
  }
  EXPECT_TRUE(sink.entries.empty()) << ::testing::PrintToString(sink.Texts());
}

TEST_F(AssimpInteropTest, OurObjAndPlyFilesAreReadByIt) {
  TScene source = SourceScene();
  const std::string obj = Path("ours.obj"), ply = Path("ours.ply");
  ASSERT_TRUE(WriteObj(source, obj));
  ASSERT_TRUE(WritePlyFull(source, 0, ply));
  EXPECT_EQ(InfoFaces(obj), 14);
  EXPECT_EQ(InfoFaces(ply), 12);
  // What assimp understood, written back as ASCII PLY and compared triangle by triangle.
  const std::string objBack = Path("ours_obj_back.ply"), plyBack = Path("ours_ply_back.ply");
  Assimp("export \"" + obj + "\" \"" + objBack + "\" -fply");
  Assimp("export \"" + ply + "\" \"" + plyBack + "\" -fply");
  EXPECT_EQ(Triangles(Load(objBack, kModelPly)), Triangles(source));
  EXPECT_EQ(Triangles(Load(plyBack, kModelPly)), Triangles(source, 0, 1));
  EXPECT_TRUE(sink.entries.empty()) << ::testing::PrintToString(sink.Texts());
}

}  // namespace

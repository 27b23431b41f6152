// Runs the built poissonrecon as the sculptor does, and reads its result with
// the sculptor's own PLY reader.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "io/ply_reader.h"
#include "io/ply_writer.h"
#include "io/test_files.h"
#include "mesh_shapes.h"
#include "model/scene.h"

namespace {

struct ProgramRun {
  int status;
  std::string out, err;
};

class Poissonrecon : public ::testing::Test {
 protected:
  ProgramRun Invoke(const std::string& arguments) {
    // OpenMP threads that spin while they wait would make a busy machine crawl.
    const std::string command = std::string("OMP_WAIT_POLICY=PASSIVE '") + PLASMORA_BIN_DIR + "/poissonrecon' " +
                                arguments + " >'" + dir.File("out") + "' 2>'" + dir.File("err") + "'";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadWholeFile(dir.File("out")), ReadWholeFile(dir.File("err"))};
  }

  // A ball of radius 2.5 written as the sculptor's Remesh writes it, red on its +x half.
  std::string PaintedBall() {
    TScene scene;
    ResetScene(scene);
    TGeosphera& ball = scene.elements[0];
    ball = MakeGeodesicSphere(5, kRadius);
    EXPECT_TRUE(RefreshElement(ball));
    for (int v = 0; v < ball.vertexCount; ++v)
      ball.colors[static_cast<size_t>(v)] = ball.vertices[static_cast<size_t>(v)].x > 0 ? TRGBA{255, 0, 0, 255}
                                                                                         : TRGBA{255, 255, 255, 255};
    const std::string path = dir.File("file.ply");
    EXPECT_TRUE(WritePlyFull(scene, 0, path));
    return path;
  }

  static constexpr float kRadius = 2.5f;
  TempDir dir;
};

// Closed, one piece, Euler characteristic 2 (genus 0) for a triangle mesh.
void ExpectClosedSphereTopology(const TOBJGroup& g) {
  std::map<std::pair<int32_t, int32_t>, int> edges;
  for (const TOBJFace& f : g.faceRecords)
    for (int k = 0; k < 3; ++k) {
      const int32_t a = f.vertex[k], b = f.vertex[(k + 1) % 3];
      ++edges[{std::min(a, b), std::max(a, b)}];
    }
  size_t open = 0;
  for (const auto& [edge, count] : edges) open += count != 2;
  EXPECT_EQ(open, 0u);
  const int64_t euler = static_cast<int64_t>(g.points.size()) - static_cast<int64_t>(edges.size()) +
                        static_cast<int64_t>(g.faceRecords.size());
  EXPECT_EQ(euler, 2);  // with a closed 2-manifold of one piece: genus 0
}

}  // namespace

TEST_F(Poissonrecon, ReconstructsTheSculptorsBallClosedAndPainted) {
  const std::string in = PaintedBall(), out = dir.File("with blanks file1.ply");
  const ProgramRun run = Invoke("--in '" + in + "' --out '" + out + "' --depth 7 --pointWeight 0 --color 16");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Reconstructing surface...\n[0% ----------------- 100%]\n[*************************]\n"),
            std::string::npos);

  TOBJModel model;
  ASSERT_EQ(ReadPly(model, out), TReadStatus::Ok);
  const TOBJGroup& g = model.groups.at(0);
  ExpectClosedSphereTopology(g);
  ASSERT_EQ(g.pointColors.size(), g.points.size());
  for (size_t v = 0; v < g.points.size(); ++v) {
    const TVector& p = g.points[v];
    EXPECT_NEAR(std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z), kRadius, 0.01 * kRadius);
    if (std::abs(p.x) > 0.5f) {
      EXPECT_EQ(g.pointColors[v].g, p.x > 0 ? 0 : 255) << p.x;
    }
  }

  // Without --color the mesh has none.
  ASSERT_EQ(Invoke("--in '" + in + "' --out '" + out + "' --depth 5").status, 0);
  TOBJModel plain;
  ASSERT_EQ(ReadPly(plain, out), TReadStatus::Ok);
  EXPECT_TRUE(plain.groups.at(0).pointColors.empty());
}

TEST_F(Poissonrecon, RefusesWithAMessageAndNonZeroStatus) {
  WriteWholeFile(dir.File("bare.ply"),
                 "ply\nformat ascii 1.0\nelement vertex 1\nproperty float x\nproperty float y\nproperty float z\n"
                 "end_header\n1 2 3\n");
  WriteWholeFile(dir.File("flat.ply"),
                 "ply\nformat ascii 1.0\nelement vertex 3\nproperty float x\nproperty float y\nproperty float z\n"
                 "property float nx\nproperty float ny\nproperty float nz\nend_header\n"
                 "0 0 0 0 0 0\n1 0 0 0 0 0\n0 1 0 0 0 0\n");
  const std::string out = "--out '" + dir.File("result.ply") + "'";
  const struct {
    std::string arguments;
    int status;
    std::string message;
  } cases[] = {
      {"--in x.ply " + out + " --samplesPerNode 2", 2, "error: unknown option \"--samplesPerNode\""},
      {"--in x.ply " + out + " --depth 20", 2, "error: --depth needs a whole number from 1 to 16, not \"20\""},
      {out, 2, "error: --in FILE is required"},
      {"--in '" + dir.File("missing.ply") + "' " + out, 1, "error: cannot read " + dir.File("missing.ply")},
      {"--in '" + dir.File("bare.ply") + "' " + out, 1, "the points have no normals (nx, ny, nz)"},
      {"--in '" + dir.File("flat.ply") + "' " + out, 1, "error: the points give no surface"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    const ProgramRun run = Invoke(c.arguments);
    EXPECT_EQ(run.status, c.status);
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.File("result.ply")));

  const ProgramRun help = Invoke("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("usage: poissonrecon --in POINTS.ply --out MESH.ply", 0), 0u);
}

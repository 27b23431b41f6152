#include "app/external_remesh.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>

#include "io/private_folder.h"
#include "io/test_files.h"
#include "mesh_shapes.h"
#include "model/messages.h"
#include "model/topology.h"

namespace fs = std::filesystem;

namespace {

const char kTetraObj[] = "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 0 0 1\nf 1 3 2\nf 1 2 4\nf 2 3 4\nf 1 4 3\n";
const char kTetraPly[] =
    "ply\nformat ascii 1.0\nelement vertex 4\nproperty float x\nproperty float y\nproperty float z\n"
    "property uchar red\nproperty uchar green\nproperty uchar blue\nelement face 4\n"
    "property list uchar int vertex_indices\nend_header\n0 0 0 255 0 0\n1 0 0 255 0 0\n0 1 0 0 0 255\n"
    "0 0 1 0 0 255\n3 0 2 1\n3 0 1 3\n3 1 2 3\n3 0 3 2\n";

// Every edge of the element is shared by exactly two triangles.
bool Closed(const TGeosphera& e) {
  std::map<std::pair<uint32_t, uint32_t>, int> edges;
  for (size_t c = 0; c < e.faces.size(); c += 3)
    for (size_t k = 0; k < 3; ++k) {
      const uint32_t a = e.faces[c + k], b = e.faces[c + (k + 1) % 3];
      ++edges[{std::min(a, b), std::max(a, b)}];
    }
  for (const auto& [edge, count] : edges)
    if (count != 2) return false;
  return !edges.empty();
}

class ExternalRemeshTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(root.path() / "programs");
    fs::create_directories(root.path() / "t m p");  // a temporary folder with blanks
    setup.programFolder = root.File("programs");
    setup.exchangeFolder = ProcessFolderIn(root.File("t m p"));
    WriteWholeFile(root.File("programs/tetra.obj"), kTetraObj);
    WriteWholeFile(root.File("programs/tetra.ply"), kTetraPly);
    ResetScene(scene);
    scene.elements[0] = MakeGeodesicSphere(2, 1.0f);
    scene.elements[0].uid = 1;
    scene.elements[0].name = "Ball";
    ASSERT_TRUE(RefreshElement(scene.elements[0]));
  }

  // A helper program: a shell script under `name` in the program folder.
  // It finds the sample results beside itself as "$D/tetra.obj" and "$D/tetra.ply".
  void Stub(const std::string& name, const std::string& body) {
    const std::string path = root.File("programs/" + name);
    WriteWholeFile(path, "#!/bin/sh\nD=\"$(dirname \"$0\")\"\n" + body + "\n");
    ::chmod(path.c_str(), 0755);
  }

  // The arguments a stub saved with `SaveArguments`: its folder, then each argument.
  std::string SavedArguments() const { return ReadWholeFile(root.File("programs/arguments")); }
  static std::string SaveArguments() { return "printf '%s\\n' \"$PWD\" \"$@\" > \"$D/arguments\""; }

  std::string Exchange(const std::string& name) const { return setup.exchangeFolder + name; }

  TempDir root;
  CapturingMessageSink sink;
  TScene scene;
  RemeshSetup setup;
  RemeshResult result;
};

// The scene as far as a failed run may not change it.
struct SceneState {
  explicit SceneState(const TScene& s) : count(s.elementCount()), current(s.currentElement) {
    for (const TGeosphera& e : s.elements) {
      vertices.push_back(e.vertices);
      faces.push_back(e.faces);
    }
  }
  bool operator==(const SceneState&) const = default;
  int count, current;
  std::vector<Tvertices> vertices;
  std::vector<Tfaces> faces;
};

}  // namespace

// Three elements, the second current: it is remeshed and the scene becomes its result alone.
TEST_F(ExternalRemeshTest, CompactRemeshesTheCurrentElementThroughVoxquad) {
  AppendElement(scene);
  scene.elements[1] = MakeGeodesicSphere(1, 2.0f);
  AppendElement(scene);
  scene.elements[2] = MakeGeodesicSphere(0, 3.0f);
  scene.currentElement = 1;
  Stub("voxquad", SaveArguments() + "\ncp \"$D/tetra.obj\" \"$2\"");

  ASSERT_EQ(RunRemeshCompact(scene, scene.currentElement, VoxelBudgetOfPosition(kDefaultResolutionPosition), setup,
                             result),
            RemeshOutcome::Done);
  const std::string folder = setup.exchangeFolder.substr(0, setup.exchangeFolder.size() - 1);
  EXPECT_EQ(SavedArguments(), folder + "\n" + Exchange("file1.ply") + "\n" + Exchange("file.obj") + "\n2000000\n");
  EXPECT_NE(ReadWholeFile(Exchange("file1.ply")).find("element vertex 42\r\n"), std::string::npos);
  EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all);
  EXPECT_EQ(result.fileName, Exchange("file.obj"));

  ASSERT_TRUE(ApplyRemeshCompact(scene, result));
  ASSERT_EQ(scene.elementCount(), 1);
  EXPECT_EQ(scene.currentElement, 0);
  EXPECT_EQ(scene.current().vertexCount, 4);
  EXPECT_EQ(scene.current().placeState, kPlaced);
  EXPECT_TRUE(Closed(scene.current()));
  EXPECT_TRUE(sink.entries.empty());
}

TEST_F(ExternalRemeshTest, RemeshRebuildsThePrincipalElementThroughPoissonrecon) {
  AppendElement(scene);
  scene.elements[1] = MakeGeodesicSphere(1, 2.0f);
  scene.currentElement = 1;
  Stub("poissonrecon", SaveArguments() + "\ncp \"$D/tetra.ply\" \"$4\"");

  ASSERT_EQ(RunRemesh(scene, kDefaultRemeshDepth, setup, result), RemeshOutcome::Done);
  const std::string folder = setup.exchangeFolder.substr(0, setup.exchangeFolder.size() - 1);
  EXPECT_EQ(SavedArguments(), folder + "\n--in\n" + Exchange("file.ply") + "\n--out\n" + Exchange("file1.ply") +
                                  "\n--depth\n10\n--pointWeight\n0\n--color\n16\n");
  EXPECT_NE(ReadWholeFile(Exchange("file.ply")).find("element vertex 162\r\n"), std::string::npos);

  ASSERT_TRUE(ApplyRemesh(scene, result));
  ASSERT_EQ(scene.elementCount(), 2);
  EXPECT_EQ(scene.currentElement, 0);
  const TGeosphera& e = scene.elements[0];
  EXPECT_EQ(e.name, "Ball");
  EXPECT_EQ(e.uid, 1u);  // its undo snapshots stay its own
  EXPECT_EQ(e.vertexCount, 4);
  EXPECT_EQ(e.colors[0].r, 255);
  EXPECT_EQ(e.colors[3].b, 255);
  EXPECT_TRUE(Closed(e));
}

// Whatever goes wrong, one message says so with the reason under it, and the scene stays as it was.
TEST_F(ExternalRemeshTest, AFailedRunChangesNothing) {
  const struct {
    const char* program;  // nullptr: no helper installed
    std::string body;
    std::string message;
  } cases[] = {
      {nullptr, "", "Cannot start " + setup.programFolder + "/voxquad: "},
      {"voxquad", "echo 'Volume Size 3 x 3 x 3'; echo 'error: the mesh is too flat' >&2; exit 1",
       "error: the mesh is too flat"},
      {"voxquad", "exit 2", "voxquad ended with exit code 2"},
      {"voxquad", "echo 'out of luck' >&2; kill -9 $$", "voxquad crashed or was killed\nout of luck"},
      {"voxquad", ": > \"$2\"", "voxquad left no mesh in its result"},
      {"voxquad", "printf 'v 0 0 0\\nv 1 0 0\\nv 0 1 0\\nf 1 2 9\\n' > \"$2\"",
       "voxquad left an unreadable result: File format not recognized."},
      {"voxquad", "exit 0", "voxquad left no result file"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.body);
    fs::remove(root.File("programs/voxquad"));
    if (c.program) Stub(c.program, c.body);
    // A result of an earlier run waits in the folder: it must not be taken for this run's.
    fs::create_directories(setup.exchangeFolder);
    WriteWholeFile(Exchange("file.obj"), kTetraObj);
    sink.entries.clear();
    const SceneState before(scene);

    EXPECT_EQ(RunRemeshCompact(scene, 0, 200000, setup, result), RemeshOutcome::Failed);
    ASSERT_EQ(sink.entries.size(), 1u);
    EXPECT_EQ(sink.entries[0].kind, MessageKind::Error);
    EXPECT_EQ(sink.entries[0].text.rfind("Failed to remeshing\n" + c.message, 0), 0u) << sink.entries[0].text;
    EXPECT_TRUE(result.model.groups.empty());
    EXPECT_TRUE(SceneState(scene) == before);
  }
}

TEST_F(ExternalRemeshTest, AnUnreadableReconstructionIsRefused) {
  const struct {
    std::string body;
    std::string message;
  } cases[] = {
      {"echo 'solid nothing' > \"$4\"", "poissonrecon left an unreadable result: Not a PLY file"},
      {"printf 'ply\\nformat ascii 1.0\\nelement vertex 3\\nproperty float x\\nproperty float y\\n"
       "property float z\\nelement face 1\\nproperty list uchar int vertex_indices\\nend_header\\n"
       "0 0 0\\n1 0 0\\n0 1 0\\n3 0 1 3\\n' > \"$4\"",
       "poissonrecon left an unreadable result: PLY face 0 uses vertex 3, outside the 3 vertices of the file"},
      {"printf 'ply\\nformat ascii 1.0\\nelement vertex 0\\nelement face 0\\nend_header\\n' > \"$4\"",
       "poissonrecon left an unreadable result: Not a mesh-based PLY file (perhaps point based)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.body);
    Stub("poissonrecon", c.body);
    sink.entries.clear();
    EXPECT_EQ(RunRemesh(scene, 8, setup, result), RemeshOutcome::Failed);
    EXPECT_EQ(sink.Texts(), std::vector<std::string>{"Failed to remeshing\n" + c.message});
  }
}

// A link planted where the private folder goes redirects nothing.
TEST_F(ExternalRemeshTest, RefusesALinkInPlaceOfThePrivateFolder) {
  fs::create_directories(root.path() / "elsewhere");
  fs::create_directory_symlink(root.path() / "elsewhere", setup.exchangeFolder.substr(0, setup.exchangeFolder.size() - 1));
  Stub("voxquad", "cp \"$D/tetra.obj\" \"$2\"");
  EXPECT_EQ(RunRemeshCompact(scene, 0, 200000, setup, result), RemeshOutcome::Failed);
  ASSERT_EQ(sink.entries.size(), 1u);
  EXPECT_EQ(sink.entries[0].text.rfind("Failed to remeshing\nCannot create the folder ", 0), 0u);
  EXPECT_TRUE(fs::is_empty(root.path() / "elsewhere"));
}

TEST_F(ExternalRemeshTest, CancelEndsTheHelperSilently) {
  Stub("voxquad", "sleep 30");
  int polls = 0;
  setup.onWork = [&polls] { return ++polls < 2; };
  const SceneState before(scene);
  EXPECT_EQ(RunRemeshCompact(scene, 0, 200000, setup, result), RemeshOutcome::Cancelled);
  EXPECT_EQ(polls, 2);
  EXPECT_TRUE(sink.entries.empty());
  EXPECT_TRUE(SceneState(scene) == before);
}

// The real voxquad, run through the runner: its bars become stage progress,
// and its quads come back as triangle pairs.
TEST_F(ExternalRemeshTest, VoxquadThroughTheRunner) {
  setup.programFolder = PLASMORA_BIN_DIR;
  std::vector<std::string> finished;
  setup.onStage = [&finished](const ConsoleStage& stage) {
    if (stage.percent == 100) finished.push_back(stage.title);
  };
  ASSERT_EQ(RunRemeshCompact(scene, 0, 200000, setup, result), RemeshOutcome::Done) << ::testing::PrintToString(sink.Texts());
  EXPECT_EQ(finished, (std::vector<std::string>{"Importing", "Voxelization", "Sharp features", "Marching",
                                                "Constructing Dual Surface", "Reducing polygon degree",
                                                "Removing rhombus polygons"}));
  ASSERT_TRUE(ApplyRemeshCompact(scene, result));
  const TGeosphera& e = scene.current();
  EXPECT_TRUE(Closed(e));
  TGeosphera paired = e;
  BuildQuadList(paired);
  EXPECT_GT(paired.quads.size() / 4 * 2, static_cast<size_t>(e.triangleCount()) * 9 / 10);
}

// The real poissonrecon on a ball painted red on its +x half.
TEST_F(ExternalRemeshTest, PoissonreconKeepsThePaint) {
  setup.programFolder = PLASMORA_BIN_DIR;
  TGeosphera& ball = scene.elements[0];
  ball = MakeGeodesicSphere(4, 2.5f);
  ball.uid = 1;
  ASSERT_TRUE(RefreshElement(ball));
  for (int v = 0; v < ball.vertexCount; ++v)
    ball.colors[static_cast<size_t>(v)] = ball.vertices[static_cast<size_t>(v)].x > 0 ? TRGBA{255, 0, 0, 255}
                                                                                       : TRGBA{255, 255, 255, 255};
  ASSERT_EQ(RunRemesh(scene, 6, setup, result), RemeshOutcome::Done) << ::testing::PrintToString(sink.Texts());
  ASSERT_TRUE(ApplyRemesh(scene, result));
  const TGeosphera& e = scene.elements[0];
  EXPECT_TRUE(Closed(e));
  int checked = 0;
  for (int v = 0; v < e.vertexCount; ++v) {
    const TGLCoord& p = e.vertices[static_cast<size_t>(v)];
    const TRGBA& c = e.colors[static_cast<size_t>(v)];
    if (std::abs(p.x) < 0.5f) continue;  // the seam blends
    EXPECT_EQ(c.r, 255);
    EXPECT_EQ(p.x > 0, c.g < 64) << p.x << " " << int(c.g);
    ++checked;
  }
  EXPECT_GT(checked, e.vertexCount / 2);
}

#include "sculpt/subdivision.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

#include "mesh_shapes.h"
#include "model/messages.h"
#include "model/test_meshes.h"
#include "model/test_scene_host.h"
#include "model/topology.h"
#include "sculpt/detail.h"

namespace {

size_t EdgeCount(const TGeosphera& e) {
  std::set<std::pair<uint32_t, uint32_t>> edges;
  for (size_t t = 0; t < e.faces.size(); t += 3) {
    for (size_t k = 0; k < 3; ++k) {
      const uint32_t a = e.faces[t + k], b = e.faces[t + (k + 1) % 3];
      edges.insert({std::min(a, b), std::max(a, b)});
    }
  }
  return edges.size();
}

TGeosphera Prepared(TGeosphera e) {
  RefreshElement(e);
  return e;
}

// A fan of `k` triangles (0, i, i + 1) around vertex 0, lifted above its ring.
TGeosphera Fan(int k) {
  TGeosphera e = MakeElement({{0.1f, 0.2f, 1}}, {});
  for (int i = 0; i < k; ++i) {
    const double a = 2 * M_PI * i / k;
    e.vertices.push_back({static_cast<float>(std::cos(a)), static_cast<float>(std::sin(a)), 0});
    e.faces.insert(e.faces.end(), {0u, static_cast<uint32_t>(1 + i), static_cast<uint32_t>(1 + (i + 1) % k)});
  }
  e.vertexCount = static_cast<int32_t>(e.vertices.size());
  e.indexCount = static_cast<int32_t>(e.faces.size());
  e.colors.assign(e.vertices.size(), kDefaultVertexColor);
  return e;
}

}  // namespace

TEST(Subdivision, ClosedMeshGainsItsEdgesAndFourTimesItsTrianglesAndMergesBack) {
  for (TGeosphera original : {MakeOctahedron(), MakeCubeSphere(3, 2.5f), MakeGeodesicSphere(1, 1.0f)}) {
    original = Prepared(original);
    const size_t v = static_cast<size_t>(original.vertexCount), t = original.faces.size() / 3;
    TGeosphera e = original;
    SubdivideElement(e);
    EXPECT_EQ(static_cast<size_t>(e.vertexCount), v + EdgeCount(original));
    EXPECT_EQ(e.faces.size(), 4 * 3 * t);
    EXPECT_EQ(e.indexCount, static_cast<int32_t>(e.faces.size()));
    SubdivideElement(e);
    EXPECT_EQ(e.subdivLevel, 2);
    EXPECT_EQ(e.levelVertexCounts, (Tfaces{static_cast<uint32_t>(v), static_cast<uint32_t>(v + EdgeCount(original))}));
    ASSERT_TRUE(HasSubdivisionOrder(e));
    UnsubdivideElement(e);
    ASSERT_TRUE(HasSubdivisionOrder(e));
    UnsubdivideElement(e);
    EXPECT_EQ(e.subdivLevel, 0);
    EXPECT_TRUE(e.levelVertexCounts.empty());
    EXPECT_EQ(e.vertexCount, original.vertexCount);
    EXPECT_EQ(e.faces, original.faces);  // same triangles, order and orientation
    EXPECT_EQ(e.valence, original.valence);
    EXPECT_EQ(e.normals.size(), v);
  }
}

TEST(Subdivision, LevelsReadFromAFileMergeOnTheirOrderAlone) {
  TGeosphera e = Prepared(MakeOctahedron());
  const Tfaces faces = e.faces;
  SubdivideElement(e);
  e.levelChecks.clear();  // as a .met file gives it: level 1, no record
  e.levelVertexCounts.clear();
  SubdivideElement(e);
  for (int level : {2, 1}) {
    ASSERT_TRUE(HasSubdivisionOrder(e)) << level;
    UnsubdivideElement(e);
  }
  EXPECT_EQ(e.faces, faces);
}

TEST(Subdivision, SharedEdgesShareOneMidpointNumberedInFirstSeenOrder) {
  TGeosphera e = MakeElement({{0, 0, 0}, {2, 0, 0}, {0, 2, 0}, {2, 2, 0}}, {0, 1, 2, 2, 1, 3});
  e.colors = {{10, 10, 0, 255}, {13, 11, 1, 255}, {0, 0, 0, 255}, {0, 0, 0, 255}};
  SplitTriangles(e);
  // Edges 0-1, 1-2, 2-0, then 2-1 again (5), 1-3, 3-2.
  EXPECT_EQ(e.faces, (Tfaces{0, 4, 6, 1, 5, 4, 2, 6, 5, 4, 5, 6, 2, 5, 8, 1, 7, 5, 3, 8, 7, 5, 7, 8}));
  ASSERT_EQ(e.vertexCount, 9);
  EXPECT_EQ(e.vertices[4], (TGLCoord{1, 0, 0}));
  EXPECT_EQ(e.vertices[5], (TGLCoord{1, 1, 0}));
  EXPECT_EQ(e.vertices[8], (TGLCoord{1, 2, 0}));
  // Means rounded half to even: 11.5 -> 12, 10.5 -> 10, 0.5 -> 0.
  EXPECT_EQ(e.colors[4], (TRGBA{12, 10, 0, 255}));
  EXPECT_EQ(e.vertexState.size(), 10u);
}

TEST(Subdivision, TextureTrianglesSplitInStepAndMergeBack) {
  TGeosphera e = Prepared(MakeOctahedron());
  e.sourceKind = 2;
  // A seam: every triangle has texture corners of its own.
  for (uint32_t c = 0; c < 24; ++c) {
    e.uvFaces.push_back(c);
    e.uvs.push_back({static_cast<float>(c), 1});
  }
  const Tfaces uvFaces = e.uvFaces;
  SubdivideElement(e);
  ASSERT_EQ(e.uvFaces.size(), e.faces.size());
  EXPECT_EQ(e.uvs.size(), 24u + 24u);  // three unshared texture edges per triangle
  EXPECT_EQ(e.uvFaces[1], 24u);
  EXPECT_EQ(e.uvs[24], (TGLUV{0.5f, 1}));
  UnsubdivideElement(e);
  EXPECT_EQ(e.uvFaces, uvFaces);
}

TEST(Subdivision, PerVertexTextureCoordinatesFollowTheirVertices) {
  // A PLY-like element whose vertex 0 no triangle uses.
  TGeosphera e = MakeCubeSphere(3, 1.0f);
  e.vertices.insert(e.vertices.begin(), TGLCoord{9, 9, 9});
  for (uint32_t& v : e.faces) ++v;
  e.vertexCount += 1;
  e.colors.assign(e.vertices.size(), kDefaultVertexColor);
  e.sourceKind = 3;
  for (size_t v = 0; v < e.vertices.size(); ++v) e.uvs.push_back({static_cast<float>(v), 0});
  const int n = e.vertexCount;
  SubdivideElement(e);
  ASSERT_GE(e.uvs.size(), static_cast<size_t>(e.vertexCount));
  for (int v = 0; v + 1 < n; ++v) EXPECT_EQ(e.uvs[static_cast<size_t>(v)].u, static_cast<float>(v + 1)) << v;
  const uint32_t a = e.faces[0], b = e.faces[3], ab = e.faces[1];
  EXPECT_EQ(e.uvs[ab].u, (e.uvs[a].u + e.uvs[b].u) / 2);
}

TEST(Subdivision, LoopWeights) {
  EXPECT_NEAR(LoopWeight(3), 1.67 - 2.67 * 0.25 * 0.25, 1e-6);
  EXPECT_NEAR(LoopWeight(3), 1.503, 1e-3);
  for (int k : {3, 5, 6}) {
    TGeosphera e = Fan(k);
    const TGLCoord v = e.vertices[0];
    TGLCoord a{};
    for (int i = 0; i < k; ++i) {  // every triangle starts at the centre
      const TGLCoord& p = e.vertices[static_cast<size_t>(1 + i)];
      const TGLCoord& q = e.vertices[static_cast<size_t>(1 + (i + 1) % k)];
      a.x += (0.25f * v.x + 0.375f * p.x + 0.375f * q.x) / k;
      a.y += (0.25f * v.y + 0.375f * p.y + 0.375f * q.y) / k;
      a.z += (0.25f * v.z + 0.375f * p.z + 0.375f * q.z) / k;
    }
    LoopSmooth(e, false);
    const float w = k == 6 ? 1.0f : LoopWeight(k);
    EXPECT_NEAR(e.vertices[0].x, v.x + (a.x - v.x) * w, 1e-5) << k;
    EXPECT_NEAR(e.vertices[0].y, v.y + (a.y - v.y) * w, 1e-5) << k;
    EXPECT_NEAR(e.vertices[0].z, v.z + (a.z - v.z) * w, 1e-5) << k;
  }
}

TEST(Subdivision, SmoothingLeavesUnusedVerticesAndFollowsTheMask) {
  TGeosphera e = Fan(5);
  e.vertices.push_back({7, 7, 7});
  e.vertexCount += 1;
  e.vertexState.assign(e.vertices.size(), kVertexFree);
  e.vertexState[1] = kVertexTouched;
  const Tvertices before = e.vertices;
  LoopSmooth(e, /*touchedOnly=*/true);
  EXPECT_EQ(e.vertices[0], before[0]);
  EXPECT_NE(e.vertices[1], before[1]);
  LoopSmooth(e, false);
  EXPECT_EQ(e.vertices.back(), (TGLCoord{7, 7, 7}));
}

class SubdivisionCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetScene(scene);
    host.Attach(scene);
    scene.elements[0] = Prepared(MakeCubeSphere(2, 1.0f));
    undo.takeSnapshot = [this](TScene&) { ++snapshots; };
    undo.restoreSnapshot = [this](TScene&) { ++restores; };
  }
  TScene scene;
  RecordingSceneHost host;
  CapturingMessageSink messages;
  TResolutionUndo undo;
  int snapshots = 0, restores = 0;
};

TEST_F(SubdivisionCommands, SubdivideTakesASnapshotAndRefreshesTheView) {
  EXPECT_TRUE(Subdivide(scene, undo));
  EXPECT_EQ(snapshots, 1);
  EXPECT_EQ(scene.current().subdivLevel, 1);
  EXPECT_EQ(scene.adjacencyWidth, ComputeValence(scene.current()));
  for (const char* call : {"footprints", "upload 0", "level 1", "grids"}) EXPECT_TRUE(host.Called(call)) << call;
  EXPECT_TRUE(messages.entries.empty());
  EXPECT_TRUE(Unsubdivide(scene, undo));
  EXPECT_TRUE(host.Called("level 0"));
  EXPECT_EQ(snapshots, 2);
}

TEST_F(SubdivisionCommands, UnsubdivideRefusesWithoutTheGroupOfFourOrder) {
  TGeosphera& e = scene.current();
  EXPECT_FALSE(Unsubdivide(scene, undo));  // level 0

  e.subdivLevel = 1;  // a level read from a file that the triangles do not have
  EXPECT_FALSE(Unsubdivide(scene, undo));

  e.subdivLevel = 0;
  ASSERT_TRUE(Subdivide(scene, undo));
  auto swapFirstGroups = [&e] { std::swap_ranges(e.faces.begin(), e.faces.begin() + 12, e.faces.begin() + 12); };
  swapFirstGroups();  // the same shape in another order: the checksum tells
  const int vertexCount = e.vertexCount;
  EXPECT_FALSE(Unsubdivide(scene, undo));
  EXPECT_EQ(e.vertexCount, vertexCount);
  EXPECT_EQ(e.subdivLevel, 1);

  swapFirstGroups();
  ASSERT_TRUE(HasSubdivisionOrder(e));
  for (size_t v = 0; v < e.vertices.size(); ++v) e.vertexState[v] = e.vertices[v].x > 0.5f ? kVertexFrozen : kVertexFree;
  ATContsel affected;
  ASSERT_TRUE(Detail(scene, -1, affected, undo));
  EXPECT_FALSE(Unsubdivide(scene, undo));

  EXPECT_EQ(snapshots, 3);  // the subdivision and Detail's two
  EXPECT_EQ(messages.Texts(), std::vector<std::string>(4, kLevelBelowLoadMesh));
}

TEST_F(SubdivisionCommands, DamagedTrianglesAreRefusedAndLeaveTheElement) {
  TGeosphera& e = scene.current();
  e.faces[4] = 9999;
  const TGeosphera before = e;
  EXPECT_FALSE(Subdivide(scene, undo));
  EXPECT_EQ(messages.Texts(), std::vector<std::string>{kResolutionFailed});
  EXPECT_EQ(e.faces, before.faces);
  EXPECT_EQ(e.vertices, before.vertices);
  EXPECT_EQ(e.vertexCount, before.vertexCount);
  EXPECT_EQ(e.subdivLevel, 0);
}

#include "sculpt/detail.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "mesh_shapes.h"
#include "model/messages.h"
#include "model/scene.h"
#include "model/test_meshes.h"
#include "model/topology.h"

namespace {

// Directed edges and how often each occurs: a closed, consistently oriented
// mesh without T-junctions has every directed edge once, with its reverse.
std::map<std::pair<uint32_t, uint32_t>, int> DirectedEdges(const TGeosphera& e) {
  std::map<std::pair<uint32_t, uint32_t>, int> edges;
  for (size_t t = 0; t < e.faces.size(); t += 3) {
    for (size_t k = 0; k < 3; ++k) ++edges[{e.faces[t + k], e.faces[t + (k + 1) % 3]}];
  }
  return edges;
}

void ExpectClosedAndOriented(const TGeosphera& e) {
  const auto edges = DirectedEdges(e);
  for (const auto& [edge, count] : edges) {
    EXPECT_EQ(count, 1) << edge.first << "-" << edge.second;
    EXPECT_EQ(edges.count({edge.second, edge.first}), 1u) << edge.first << "-" << edge.second;
  }
}

class DetailTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetScene(scene);
    TGeosphera& e = scene.current();
    e = MakeCubeSphere(4, 1.0f);
    RefreshElement(e);
    undo.takeSnapshot = [this](TScene&) { ++snapshots; };
    undo.restoreSnapshot = [this](TScene&) { ++restores; };
  }
  // Selects the vertices left of x = -0.6.
  void SelectPatch() {
    TGeosphera& e = scene.current();
    for (size_t v = 0; v < e.vertices.size(); ++v) {
      e.vertexState[v] = e.vertices[v].x < -0.6f ? kVertexFrozen : kVertexFree;
    }
  }
  TScene scene;
  CapturingMessageSink messages;
  TResolutionUndo undo;
  ATContsel affected;
  int snapshots = 0, restores = 0;
};

}  // namespace

TEST_F(DetailTest, NothingSelectedChangesNothing) {
  const TGeosphera before = scene.current();
  EXPECT_FALSE(Detail(scene, 0, affected, undo));
  EXPECT_EQ(snapshots, 2);
  EXPECT_EQ(scene.current().faces, before.faces);
  EXPECT_EQ(scene.current().vertices, before.vertices);
  EXPECT_EQ(scene.current().normals, before.normals);
  EXPECT_TRUE(affected.empty());
  EXPECT_TRUE(messages.entries.empty());
}

TEST_F(DetailTest, SelectedPatchRefinesWithoutTJunctionsAndKeepsOrientation) {
  SelectPatch();
  TGeosphera& e = scene.current();
  const int vertexCount = e.vertexCount, triangles = e.triangleCount();
  const int level = e.subdivLevel;
  const TGLCoord far = e.vertices[0];
  ASSERT_GT(far.x, 0);  // outside the patch
  EXPECT_TRUE(Detail(scene, 0, affected, undo));
  EXPECT_GT(e.vertexCount, vertexCount);
  EXPECT_GT(e.triangleCount(), triangles);
  EXPECT_EQ(e.subdivLevel, level);
  EXPECT_EQ(e.indexCount, static_cast<int32_t>(e.faces.size()));
  ExpectClosedAndOriented(e);
  EXPECT_EQ(e.vertices[0], far);  // outside the refinement nothing moves
  // The affected vertices: ascending, each once, with their distance to the picked vertex.
  ASSERT_FALSE(affected.empty());
  for (size_t i = 1; i < affected.size(); ++i) EXPECT_LT(affected[i - 1].vertex, affected[i].vertex);
  EXPECT_GE(affected.back().vertex, vertexCount);
  EXPECT_GT(affected.front().distance, 1.0f);
  // Normals stay unit wherever the refinement reached, and the mask is clear.
  for (const TContsel& c : affected) {
    const TGLCoord& n = e.normals[static_cast<size_t>(c.vertex)];
    EXPECT_NEAR(n.x * n.x + n.y * n.y + n.z * n.z, 1.0f, 1e-3) << c.vertex;
  }
  for (uint8_t state : e.vertexState) EXPECT_EQ(state, kVertexFree);
  EXPECT_EQ(e.vertexState.size(), static_cast<size_t>(e.vertexCount) + 1);

  // Again on the refined patch: still closed.
  SelectPatch();
  EXPECT_TRUE(Detail(scene, 0, affected, undo));
  ExpectClosedAndOriented(e);
  EXPECT_EQ(snapshots, 4);
}

TEST_F(DetailTest, DamagedTrianglesRestoreTheSnapshot) {
  SelectPatch();
  scene.current().faces[5] = 123456;
  EXPECT_FALSE(Detail(scene, 0, affected, undo));
  EXPECT_EQ(restores, 1);
  EXPECT_EQ(messages.Texts(), (std::vector<std::string>{kDetailMidpointFailed, kDetailFailed}));
}

TEST_F(DetailTest, TextureTrianglesStayInStep) {
  TGeosphera& e = scene.current();
  e.sourceKind = 2;
  e.uvFaces = e.faces;
  for (const TGLCoord& p : e.vertices) e.uvs.push_back({p.x, p.y});
  SelectPatch();
  ASSERT_TRUE(Detail(scene, 0, affected, undo));
  ASSERT_EQ(e.uvFaces.size(), e.faces.size());
  // Without seams each vertex keeps one texture coordinate wherever it is a corner.
  std::map<uint32_t, uint32_t> uvOfVertex;
  for (size_t c = 0; c < e.faces.size(); ++c) {
    ASSERT_LT(e.uvFaces[c], e.uvs.size());
    const auto [it, added] = uvOfVertex.emplace(e.faces[c], e.uvFaces[c]);
    EXPECT_EQ(it->second, e.uvFaces[c]) << c;
  }
  EXPECT_EQ(uvOfVertex.size(), static_cast<size_t>(e.vertexCount));
}

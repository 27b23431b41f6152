#include "model/topology.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "model/messages.h"
#include "model/test_meshes.h"

namespace {

std::vector<uint32_t> Row(const TGeosphera& e, size_t v) {
  const uint32_t* row = e.adjacency.row(v);
  return {row, row + e.adjacency.width};
}

void Refresh(TGeosphera& e) {
  const int width = ComputeValence(e);
  ASSERT_TRUE(BuildAdjacency(e, width));
  ASSERT_TRUE(RecomputeAllNormals(e));
}

// A fan of `n` triangles around vertex 0 (a cap as CAD exporters write it).
TGeosphera MakeFan(int n) {
  TGeosphera e = MakeElement({{0, 0, 0}}, {});
  for (int i = 0; i <= n; ++i) {
    const float a = 6.2831853f * static_cast<float>(i) / static_cast<float>(n);
    e.vertices.push_back({std::cos(a), std::sin(a), 0});
  }
  for (int i = 0; i < n; ++i) e.faces.insert(e.faces.end(), {0u, uint32_t(i + 1), uint32_t(i + 2)});
  e.vertexCount = static_cast<int32_t>(e.vertices.size());
  e.indexCount = static_cast<int32_t>(e.faces.size());
  return e;
}

}  // namespace

TEST(Topology, ClosedOctahedron) {
  TGeosphera e = MakeOctahedron();
  EXPECT_EQ(ComputeValence(e), 5);
  EXPECT_THAT(e.valence, ::testing::Each(4));
  ASSERT_TRUE(BuildAdjacency(e, 5));
  // Vertex 4 occurs at corners 2, 5, 8, 11 (the third corner of the four upper triangles).
  EXPECT_THAT(Row(e, 4), ::testing::ElementsAre(2, 5, 8, 11, kNoCorner));
  for (int v = 0; v < e.vertexCount; ++v) EXPECT_EQ(Row(e, v)[4], kNoCorner);

  ASSERT_TRUE(RecomputeAllNormals(e));
  for (int v = 0; v < e.vertexCount; ++v) {
    const TGLCoord& n = e.normals[v];
    const TGLCoord& p = e.vertices[v];
    EXPECT_NEAR(n.x, p.x, 1e-3);
    EXPECT_NEAR(n.y, p.y, 1e-3);
    EXPECT_NEAR(n.z, p.z, 1e-3);
  }
  ASSERT_TRUE(BuildEdgeList(e));
  ASSERT_EQ(e.edges.size(), 25u);
  for (int i = 0; i < 24; ++i) {
    const TEdge& edge = e.edges[i];
    EXPECT_EQ(edge.triangle, i / 3);
    EXPECT_EQ(edge.kind, i % 3);
    ASSERT_GE(edge.neighbour, 0) << "corner " << i;
    EXPECT_NE(edge.neighbour, edge.triangle);
  }
  // Triangle 0 (0, 2, 4): the edge 2 -> 4 borders triangle 1 (2, 1, 4).
  EXPECT_EQ(e.edges[1].neighbour, 1);
}

TEST(Topology, SingleTriangle) {
  TGeosphera e = MakeElement({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {0, 1, 2});
  Refresh(e);
  EXPECT_EQ(e.adjacency.width, 2);
  EXPECT_THAT(e.valence, ::testing::ElementsAre(1, 1, 1));
  for (const TGLCoord& n : e.normals) {
    EXPECT_NEAR(n.z, 1.0f, 1e-6);
    EXPECT_FLOAT_EQ(n.x, 0.0f);
  }
  ASSERT_TRUE(BuildEdgeList(e));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(e.edges[i].neighbour, -1);
  EXPECT_EQ(e.edges[2].vertexA, 2);
  EXPECT_EQ(e.edges[2].vertexB, 0);
}

TEST(Topology, FaceNormalIsApproximatelyUnitAndNaNWhenDegenerate) {
  const TGLCoord n = FaceNormal({0, 0, 0}, {3, 0, 0}, {0, 5, 0});
  EXPECT_NEAR(std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z), 1.0f, 1e-3);
  EXPECT_GT(n.z, 0.999f);
  EXPECT_TRUE(std::isnan(FaceNormal({1, 1, 1}, {1, 1, 1}, {2, 2, 2}).x));
}

TEST(Topology, DegenerateTrianglesContributeNothing) {
  // Triangle 0 is proper; triangle 1 is a sliver of zero area on vertices 2, 3, 4.
  TGeosphera e = MakeElement({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {2, 3, 0}, {4, 5, 0}}, {0, 1, 2, 2, 3, 4});
  Refresh(e);
  EXPECT_NEAR(e.normals[2].z, 1.0f, 1e-6);  // only the proper triangle counts
  EXPECT_EQ(e.normals[3], (TGLCoord{0, 0, 0}));
  EXPECT_EQ(e.normals[4], (TGLCoord{0, 0, 0}));
}

TEST(Topology, RecomputeAllNormalsTrimsTheSpareVertex) {
  TGeosphera e = MakeElement({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {9, 9, 9}}, {0, 1, 2});
  e.vertexCount = 3;
  Refresh(e);
  EXPECT_EQ(e.vertices.size(), 3u);
  EXPECT_EQ(e.normals.size(), 3u);
}

TEST(Topology, ValenceSaturatesAndFullRowsDropCorners) {
  TGeosphera e = MakeFan(300);
  const int width = ComputeValence(e);
  EXPECT_EQ(width, 256);
  EXPECT_EQ(e.valence[0], 255);
  ASSERT_TRUE(BuildAdjacency(e, width));
  EXPECT_EQ(Row(e, 0).back(), 3u * 255);  // the 256th corner of the centre; later ones dropped
  ASSERT_TRUE(RecomputeAllNormals(e));
  EXPECT_NEAR(e.normals[0].z, 1.0f, 1e-6);
  EXPECT_EQ(RemoveVertexUnused(e, width), 0);  // the busy centre vertex stays
}

TEST(Topology, CenterIsTheMeanPosition) {
  TGeosphera e = MakeOctahedron();
  for (TGLCoord& p : e.vertices) p.x += 2;
  const TGLCoord c = ElementCenter(e);
  EXPECT_FLOAT_EQ(c.x, 2.0f);
  EXPECT_FLOAT_EQ(c.y, 0.0f);
}

TEST(Topology, QuadsFromTrianglePairsLeaveAnOddTriangleOut) {
  TGeosphera e = MakeElement({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {2, 0, 0}, {2, 1, 0}},
                             {0, 1, 2, 0, 2, 3, 1, 4, 5, 1, 5, 2, 0, 1, 4});
  BuildQuadList(e);
  EXPECT_THAT(e.quads, ::testing::ElementsAre(0, 1, 2, 3, 1, 4, 5, 2));
}

TEST(Topology, RemoveVertexUnusedRenumbersAndKeepsShapes) {
  // Vertices 0 and 3 are unused; 1, 2, 4, 5 form two triangles.
  TGeosphera e = MakeElement({{9, 9, 9}, {0, 0, 0}, {1, 0, 0}, {8, 8, 8}, {0, 1, 0}, {1, 1, 0}}, {1, 2, 4, 2, 5, 4});
  e.colors[4] = {1, 2, 3, 255};
  e.vertexState[5] = kVertexFrozen;
  Refresh(e);
  const std::vector<TGLCoord> before{e.vertices[1], e.vertices[2], e.vertices[4], e.vertices[2], e.vertices[5],
                                     e.vertices[4]};
  EXPECT_EQ(RemoveVertexUnused(e, e.adjacency.width), 2);
  EXPECT_EQ(e.vertexCount, 4);
  EXPECT_THAT(e.faces, ::testing::ElementsAre(0, 1, 2, 1, 3, 2));
  for (size_t c = 0; c < 6; ++c) EXPECT_EQ(e.vertices[e.faces[c]], before[c]);
  EXPECT_EQ(e.colors[2], (TRGBA{1, 2, 3, 255}));
  EXPECT_EQ(e.vertexState[3], kVertexFrozen);
  EXPECT_THAT(e.valence, ::testing::ElementsAre(1, 2, 2, 1));
  EXPECT_THAT(Row(e, 1), ::testing::ElementsAre(1, 3, kNoCorner));
  EXPECT_EQ(e.normals.size(), 4u);
}

TEST(Topology, FlaggedNormalsTouchOnlyFlaggedVertices) {
  TGeosphera e = MakeOctahedron();
  Refresh(e);
  for (TGLCoord& n : e.normals) n = {7, 7, 7};
  TSelect flags(6, 0);
  flags[0] = 1;
  ASSERT_TRUE(RecomputeFlaggedNormals(e, flags));
  EXPECT_NEAR(e.normals[0].x, 1.0f, 1e-3);
  EXPECT_EQ(e.normals[1], (TGLCoord{7, 7, 7}));

  CapturingMessageSink sink;
  EXPECT_FALSE(RecomputeFlaggedNormals(e, TSelect(2, 1)));
  EXPECT_THAT(sink.Texts(), ::testing::ElementsAre("Error in vertex normal creating! Error 94"));
}

TEST(Topology, FootprintNormalsUseTrianglesWithTouchedVertices) {
  TGeosphera e = MakeOctahedron();
  Refresh(e);
  e.vertices[4].z = 3;  // pull the top up; its four triangles change
  e.vertexState[4] = kVertexTouched;
  std::vector<int32_t> uploaded;
  const ATContsel footprint{{4, 0.0f}, {0, 0.5f}};
  const int used = UpdateFootprintNormals(e, footprint, nullptr,
                                          [&](int32_t v, const TGLCoord&) { uploaded.push_back(v); });
  // Vertex 4: its four triangles; vertex 0: the two of its four that hold vertex 4.
  EXPECT_EQ(used, 6);
  EXPECT_THAT(uploaded, ::testing::ElementsAre(4, 0));
  EXPECT_NEAR(e.normals[4].z, 1.0f, 1e-3);
  EXPECT_GT(e.normals[0].z, 0.1f);  // tilted up by the raised triangles only

  const ATContsel mirror{{5, 0.0f}};
  EXPECT_EQ(UpdateFootprintNormals(e, footprint, &mirror, nullptr), 6);  // no triangle of 5 is touched
  EXPECT_EQ(UpdateFootprintNormals(e, ATContsel{{99, 0.0f}}, nullptr, nullptr), 0);
}

TEST(Topology, FaultyInputIsReportedNotRead) {
  CapturingMessageSink sink;
  TGeosphera e = MakeElement({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {0, 1, 7});
  EXPECT_EQ(ComputeValence(e), 2);  // the foreign index is not counted
  EXPECT_FALSE(BuildAdjacency(e, 2));
  EXPECT_FALSE(RecomputeAllNormals(e));
  EXPECT_THAT(sink.Texts(), ::testing::ElementsAre("Error CriaAdjacentes1"));
}

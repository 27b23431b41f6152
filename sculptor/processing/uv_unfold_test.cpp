#include "processing/uv_unfold.h"

#include <gtest/gtest.h>

#include <cmath>

#include "mesh_shapes.h"
#include "model/messages.h"
#include "processing/uv_create.h"
#include "processing/uv_test_meshes.h"

namespace {

constexpr int kTextureSize = 1024;

TUvMesh MeshOf(const TGeosphera& e) { return {e.vertices, e.faces}; }

float Distance(const TGLCoord& a, const TGLCoord& b) { return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z); }
float Distance(const TGLUV& a, const TGLUV& b) { return std::hypot(a.u - b.u, a.v - b.v); }

// The position of vertex `v` of an unfolded mesh (copies share their source's).
TGLCoord PositionOf(const TGeosphera& e, const TUvUnfolded& u, uint32_t v) {
  return v < e.vertices.size() ? e.vertices[v] : e.vertices[u.copiedFrom[v - e.vertices.size()]];
}

}  // namespace

TEST(UvUnfold, RowWidthByChartCount) {
  const std::pair<size_t, float> cases[] = {{1, 25},    {999, 25},   {1000, 40},  {4999, 40},
                                            {5000, 45}, {14999, 45}, {15000, 70}, {40000, 70}};
  for (const auto& [count, width] : cases) EXPECT_EQ(RowWidthForChartCount(count), width) << count;
}

// On flat charts the layout is a similarity: every texture triangle is its
// triangle scaled by one factor shared by all charts (uniform texel density),
// and every coordinate lies in the texture.
TEST(UvUnfold, FlatChartsKeepTheirShapeAtOneScale) {
  const TGeosphera box = MakeBox(6);
  const TUvMesh mesh = MeshOf(box);
  const std::vector<TUvUnfolded> result = UnfoldCharts(std::span(&mesh, 1), 0.8f, kTextureSize);
  ASSERT_EQ(result.size(), 1u);
  const TUvUnfolded& u = result[0];
  ASSERT_EQ(u.faces.size(), box.faces.size());
  ASSERT_EQ(u.uvs.size(), box.vertices.size() + u.copiedFrom.size());
  for (const TGLUV& uv : u.uvs) {
    EXPECT_GE(uv.u, 0.0f);
    EXPECT_LE(uv.u, 1.0f);
    EXPECT_GE(uv.v, 0.0f);
    EXPECT_LE(uv.v, 1.0f);
  }
  double scale = 0;
  for (size_t c = 0; c < u.faces.size(); ++c) {
    const size_t d = c % 3 == 2 ? c - 2 : c + 1;
    const float edge = Distance(PositionOf(box, u, u.faces[c]), PositionOf(box, u, u.faces[d]));
    const float texture = Distance(u.uvs[u.faces[c]], u.uvs[u.faces[d]]);
    if (scale == 0) scale = texture / edge;
    EXPECT_NEAR(texture / edge, scale, scale * 2e-3) << "corner " << c;
  }
  EXPECT_GT(scale, 0);
}

// Charts of all meshes share the texture without overlapping: their texture
// boxes lie inside it and at least the gap apart (5 texels at 1024), also for
// a mesh many times larger than the others.
TEST(UvUnfold, ChartsNeverOverlapAndKeepAGap) {
  TGeosphera large = MakeGeodesicSphere(4, 2.5f);
  for (TGLCoord& p : large.vertices) p = {p.x * 40, p.y * 40 + 100, p.z * 40};
  const TGeosphera inputs[] = {MakeGeodesicSphere(4, 2.5f), large, MakeBox(8)};
  std::vector<TUvMesh> meshes;
  for (const TGeosphera& e : inputs) meshes.push_back(MeshOf(e));
  const std::vector<TUvUnfolded> result = UnfoldCharts(meshes, 0.8f, kTextureSize);

  struct Box {
    float u0 = 2, u1 = -1, v0 = 2, v1 = -1;
  };
  std::vector<Box> boxes;
  for (size_t m = 0; m < meshes.size(); ++m) {
    for (const TPatch& chart : SegmentCharts(meshes[m].vertices, meshes[m].faces, 0.8f)) {
      Box& box = boxes.emplace_back();
      for (uint32_t c : chart.corners) {
        const TGLUV& uv = result[m].uvs[result[m].faces[c]];
        box = {std::min(box.u0, uv.u), std::max(box.u1, uv.u), std::min(box.v0, uv.v), std::max(box.v1, uv.v)};
      }
      EXPECT_GE(box.u0, 0.0f);
      EXPECT_LE(box.u1, 1.0f);
      EXPECT_GE(box.v0, 0.0f);
      EXPECT_LE(box.v1, 1.0f);
    }
  }
  const float gap = 5.0f / kTextureSize - 1e-6f;
  for (size_t i = 0; i < boxes.size(); ++i) {
    for (size_t j = i + 1; j < boxes.size(); ++j) {
      const Box& a = boxes[i];
      const Box& b = boxes[j];
      const bool apart = a.u1 + gap <= b.u0 || b.u1 + gap <= a.u0 || a.v1 + gap <= b.v0 || b.v1 + gap <= a.v0;
      ASSERT_TRUE(apart) << "charts " << i << " and " << j;
    }
  }
}

// A vertex on k charts ends as k vertices: the first chart to reach it keeps
// it, each later chart has its own copy, used by all of that chart's corners.
TEST(UvUnfold, SeamVerticesSplitOncePerChart) {
  const TGeosphera sphere = MakeGeodesicSphere(3, 2.5f);
  const TUvMesh mesh = MeshOf(sphere);
  const std::vector<TPatch> charts = SegmentCharts(mesh.vertices, mesh.faces, 0.8f);
  const TUvUnfolded u = UnfoldCharts(std::span(&mesh, 1), 0.8f, kTextureSize)[0];

  std::vector<std::vector<int>> chartsOfVertex(sphere.vertices.size());
  std::vector<int> firstChart(sphere.vertices.size(), -1);
  for (const TPatch& chart : charts) {
    for (uint32_t c : chart.corners) {
      std::vector<int>& list = chartsOfVertex[sphere.faces[c]];
      if (list.empty() || list.back() != chart.number) list.push_back(chart.number);
    }
  }
  std::vector<size_t> copies(sphere.vertices.size(), 0);
  for (uint32_t v : u.copiedFrom) ++copies[v];
  size_t seams = 0;
  for (size_t v = 0; v < sphere.vertices.size(); ++v) {
    ASSERT_FALSE(chartsOfVertex[v].empty());
    EXPECT_EQ(copies[v] + 1, chartsOfVertex[v].size()) << "vertex " << v;
    seams += copies[v] > 0;
  }
  EXPECT_GT(seams, 0u);
  for (const TPatch& chart : charts) {
    for (uint32_t c : chart.corners) {
      const uint32_t v = sphere.faces[c], now = u.faces[c];
      const bool first = chartsOfVertex[v].front() == chart.number;
      EXPECT_EQ(now == v, first) << "corner " << c;
      if (!first) {
        EXPECT_EQ(u.copiedFrom[now - sphere.vertices.size()], v);
      }
    }
  }
}

// On a scene: every element gets coordinates, the seam copies carry position,
// normal and colour, the masks are clear and the topology fits the new vertices.
TEST(UvCreate, SceneElementsGetCoordinatesAndCopies) {
  TScene scene;
  scene.elements = {MakeBox(3), MakeGeodesicSphere(2, 1.0f)};
  scene.elements[1].colors.assign(scene.elements[1].vertices.size(), TRGBA{10, 20, 30, 40});
  scene.elements[1].normals.assign(scene.elements[1].vertices.size(), TGLCoord{0, 0, 1});
  scene.elements[1].vertexState.assign(scene.elements[1].vertices.size(), kVertexFrozen);
  const TScene before = scene;
  int lastDone = -1, total = 0;
  ASSERT_TRUE(CreateSceneUVs(scene, 0.8f, kTextureSize, [&](const std::string&, int done, int all) {
    lastDone = done;
    total = all;
  }));
  EXPECT_GT(total, 0);
  EXPECT_EQ(lastDone, total);
  for (size_t i = 0; i < scene.elements.size(); ++i) {
    const TGeosphera& e = scene.elements[i];
    const TGeosphera& old = before.elements[i];
    EXPECT_GT(e.vertexCount, old.vertexCount);
    ASSERT_EQ(e.vertices.size(), static_cast<size_t>(e.vertexCount));
    EXPECT_EQ(e.normals.size(), e.vertices.size());
    EXPECT_EQ(e.colors.size(), e.vertices.size());
    EXPECT_EQ(e.uvs.size(), e.vertices.size());
    EXPECT_EQ(e.uvCount, e.vertexCount);
    EXPECT_EQ(e.uvFaces, e.faces);
    EXPECT_EQ(e.adjacency.rows(), e.vertices.size());
    for (uint8_t state : e.vertexState) EXPECT_EQ(state, kVertexFree);
    for (size_t c = 0; c < e.faces.size(); ++c) {
      const uint32_t source = old.faces[c], now = e.faces[c];
      EXPECT_EQ(e.vertices[now], old.vertices[source]);
      EXPECT_EQ(e.normals[now], old.normals[source]);
      EXPECT_EQ(e.colors[now], old.colors[source]);
    }
  }
}

TEST(UvCreate, BrokenTrianglesLeaveTheSceneAlone) {
  CapturingMessageSink sink;
  TScene scene;
  scene.elements = {MakeBox(2)};
  scene.elements[0].faces[4] = 9999;
  const Tfaces faces = scene.elements[0].faces;
  EXPECT_FALSE(CreateSceneUVs(scene, 0.8f, kTextureSize));
  EXPECT_EQ(sink.Texts(), std::vector<std::string>{"Error in create textures UV. Error 2525."});
  EXPECT_EQ(scene.elements[0].faces, faces);
  EXPECT_TRUE(scene.elements[0].uvs.empty());
}

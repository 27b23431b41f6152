#include "processing/uv_charts.h"

#include <gtest/gtest.h>

#include "mesh_shapes.h"
#include "model/test_meshes.h"
#include "model/topology.h"
#include "processing/uv_test_meshes.h"

namespace {

std::vector<TPatch> Segment(const TGeosphera& e, float threshold) {
  return SegmentCharts(e.vertices, e.faces, threshold);
}

size_t LargestChart(const std::vector<TPatch>& charts) {
  size_t largest = 0;
  for (const TPatch& chart : charts) largest = std::max(largest, chart.corners.size() / 3);
  return largest;
}

}  // namespace

// The neighbours are those of the element's edge list, also with a border.
TEST(UvCharts, CornerNeighboursMatchTheEdgeList) {
  TGeosphera open = MakeBox(3);
  open.faces.resize(open.faces.size() - 3);
  open.indexCount -= 3;
  for (TGeosphera e : {MakeGeodesicSphere(2, 1.0f), open, MakeElement({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {0, 1, 2})}) {
    ASSERT_TRUE(BuildAdjacency(e, ComputeValence(e)));
    ASSERT_TRUE(BuildEdgeList(e));
    const std::vector<int32_t> neighbour = CornerNeighbours(e.faces, e.vertices.size());
    ASSERT_EQ(neighbour.size(), e.faces.size());
    for (size_t c = 0; c < neighbour.size(); ++c) EXPECT_EQ(neighbour[c], e.edges[c].neighbour) << c;
  }
}

// Every triangle lies in exactly one chart, charts start at the first free
// triangle and grow across shared edges.
TEST(UvCharts, ChartsPartitionTheSurfaceInConnectedPieces) {
  const TGeosphera e = MakeGeodesicSphere(3, 2.5f);
  const std::vector<int32_t> neighbour = CornerNeighbours(e.faces, e.vertices.size());
  const std::vector<TPatch> charts = Segment(e, 0.8f);
  std::vector<int> chartOf(e.faces.size() / 3, -1);
  uint32_t previousSeed = 0;
  for (const TPatch& chart : charts) {
    ASSERT_EQ(chart.corners.size() % 3, 0u);
    const uint32_t seed = chart.corners[0] / 3;
    EXPECT_TRUE(chart.number == 0 ? seed == 0 : seed > previousSeed);
    previousSeed = seed;
    EXPECT_EQ(chart.seedPosition, e.vertices[e.faces[3 * seed]]);
    for (size_t i = 0; i < chart.corners.size(); i += 3) {
      const uint32_t t = chart.corners[i] / 3;
      EXPECT_EQ(chart.corners[i + 1], 3 * t + 1);
      EXPECT_EQ(chart.corners[i + 2], 3 * t + 2);
      ASSERT_EQ(chartOf[t], -1) << "triangle " << t << " in two charts";
      chartOf[t] = chart.number;
      if (i == 0) continue;
      bool touchesEarlier = false;
      for (size_t k = 0; k < 3; ++k)
        touchesEarlier |= neighbour[3 * t + k] >= 0 && chartOf[neighbour[3 * t + k]] == chart.number;
      EXPECT_TRUE(touchesEarlier) << "triangle " << t << " not reached across an edge";
    }
  }
  for (int c : chartOf) EXPECT_GE(c, 0);
}

// Only neighbours within the normal threshold join: at 1.0 none of a sphere's
// triangles do, and the faces of a box never share a chart.
TEST(UvCharts, NormalThresholdSeparatesCharts) {
  const TGeosphera sphere = MakeGeodesicSphere(2, 1.0f);
  EXPECT_EQ(Segment(sphere, 1.0f).size(), sphere.faces.size() / 3);

  const TGeosphera box = MakeBox(4);
  for (const TPatch& chart : Segment(box, 0.1f)) {
    const uint32_t* seed = &box.faces[chart.corners[0]];
    const TGLCoord n = FaceNormal(box.vertices[seed[0]], box.vertices[seed[1]], box.vertices[seed[2]]);
    for (size_t i = 3; i < chart.corners.size(); i += 3) {
      const uint32_t* t = &box.faces[chart.corners[i]];
      const TGLCoord m = FaceNormal(box.vertices[t[0]], box.vertices[t[1]], box.vertices[t[2]]);
      EXPECT_NEAR(n.x * m.x + n.y * m.y + n.z * m.z, 1.0f, 1e-3f);
    }
  }
}

// A chart holds at most about T/30 of the T triangles, also where the normals
// would let it grow over everything (a large flat face), and on small meshes
// every triangle is a chart of its own.
TEST(UvCharts, ChartsStayNearAThirtiethOfTheMesh) {
  for (const TGeosphera& e : {MakeGeodesicSphere(4, 2.5f), MakeBox(20)}) {
    const size_t t = e.faces.size() / 3;
    const std::vector<TPatch> charts = Segment(e, 0.1f);
    EXPECT_LE(LargestChart(charts), t / 30 + 3);
  }
  const TGeosphera octahedron = MakeOctahedron();
  EXPECT_EQ(Segment(octahedron, 0.1f).size(), 8u);
}

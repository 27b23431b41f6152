#include "processing/sketch_spheres_polygonise.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <string>

#include "processing/sketch_spheres.h"
#include "processing/sketch_spheres_mesh_checks.h"
#include "processing/sketch_spheres_reference.h"

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

bool SameBits(const TGLCoord& a, const TGLCoord& b) {
  return std::bit_cast<uint32_t>(a.x) == std::bit_cast<uint32_t>(b.x) &&
         std::bit_cast<uint32_t>(a.y) == std::bit_cast<uint32_t>(b.y) &&
         std::bit_cast<uint32_t>(a.z) == std::bit_cast<uint32_t>(b.z);
}

void ExpectIdentical(const TSketchSurface& ours, const TSketchSurface& plain) {
  ASSERT_EQ(ours.vertices.size(), plain.vertices.size());
  for (size_t v = 0; v < ours.vertices.size(); ++v) {
    ASSERT_TRUE(SameBits(ours.vertices[v], plain.vertices[v])) << "vertex " << v;
  }
  EXPECT_EQ(ours.faces, plain.faces);
}

TEST(EdgeCrossing, FollowsTheRulesInOrderAndNeverGivesNaN) {
  const TGLCoord p1{0, 0, 0}, p2{0, 3, 0};
  struct Case {
    float a1, a2;
    TGLCoord expected;
  };
  const Case cases[] = {
      {1.0f, 0.5f, p1},  // |a1| = 1
      {-1.0f, 3.0f, p1},  //
      {2.0f, -1.0f, p2},  // |a2| = 1
      {0.5f, 0.5f, p1},  // equal values
      {0.5f, 2.0f, {0, 1, 0}},  // mu = 1/3
      {0.5f, kInf, p1},  // a corner on a ball centre: mu = 0
      {kInf, 0.5f, p2},  // mu would be NaN: the limit, the finite corner
      {kNaN, 0.5f, p2},  // a degenerate ball's NaN
      {0.5f, kNaN, p1},  //
  };
  for (const Case& c : cases) {
    const TGLCoord p = EdgeCrossing(p1, p2, c.a1, c.a2);
    EXPECT_TRUE(SameBits(p, c.expected)) << c.a1 << " " << c.a2 << ": " << p.x << " " << p.y << " " << p.z;
  }
}

// The unit against the plain sampling on small grids: the same vertices bit
// for bit and the same triangles in the same (cube) order, after sharing equal
// positions and again after welding close ones.
TEST(Polygonise, GivesThePlainSamplingsMeshVertexForVertexAndTriangleForTriangle) {
  struct Case {
    std::string name;
    int resolution;
    TMetaBalls balls;
    bool weldHasWork = false;
  };
  const Case cases[] = {
      // Element 0 alone, its centre on the grid point at the origin.
      {"one blob on a grid point", 2, {{22.5f, {0, 0, 0}}}},
      // The six neighbours of the centre are exactly 1.0: crossings on them.
      {"values of exactly 1.0", 2, {{1.0f, {0, 0, 0}}}},
      // ... and just above 1.0: crossings a hair's breadth apart, welded.
      {"values just above 1.0", 2, {{std::nextafter(1.0f, 2.0f), {0, 0, 0}}}, true},
      {"blob and spheres",
       2,
       {{22.5f, {0, 0, 0}},
        {0.0417f, {2.31f, 0.77f, 0.4f}},
        {0.0417f, {2.31f, 0.77f, -0.4f}},
        {0.15f, {0.3f, 2.6f, 0.11f}},
        {0.09f, {-1.7f, -1.9f, 0.9f}}}},
      // A small sphere centred on a grid point with its neighbours outside:
      // crossings with an infinite corner.
      {"small sphere on a grid point", 2, {{9.0f, {0.1f, 0.2f, 0.3f}}, {0.0417f, {4.0f, 1.0f, -2.0f}}}},
      {"overlapping balls off the dyadic grid",
       3,
       {{4.0f, {0.25f, -0.4f, 0.1f}}, {1.5f, {1.9f, 0.3f, -0.2f}}, {0.6f, {-1.3f, 1.1f, 0.7f}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TMetaGrid grid = InitMetaGrid(c.resolution * kSketchCellsPerStep + 1, kSketchGridExtent);
    TSketchSurface ours;
    ASSERT_TRUE(Polygonise(c.balls, grid, ours));
    TSketchSurface plain = sketch_reference::PolygoniseUnshared(sketch_reference::SampleField(c.balls, grid), grid);
    sketch_reference::MergeEqualPositions(plain);
    ExpectIdentical(ours, plain);

    TSketchSurface welded;
    ASSERT_TRUE(BuildSketchSurface(c.balls, c.resolution, welded));
    const Tfaces beforeWeld = plain.faces;
    sketch_reference::WeldPairwise(plain);
    EXPECT_EQ(plain.faces != beforeWeld, c.weldHasWork);
    ExpectIdentical(welded, plain);
  }
}

// A grid point on a ball's centre is infinite and counts as inside: a weak
// ball there gives the octahedron of its six neighbours, not NaN vertices.
TEST(Polygonise, AGridPointOnABallCentreIsInside) {
  const TMetaGrid grid = InitMetaGrid(2 * kSketchCellsPerStep + 1, kSketchGridExtent);
  const TGLCoord centre{1.0f, 2.0f, -3.0f};  // grid spacing 1
  TSketchSurface s;
  ASSERT_TRUE(Polygonise({{0.02f, centre}}, grid, s));
  ASSERT_EQ(s.vertices.size(), 6u);
  EXPECT_EQ(s.faces.size(), 24u);
  for (const TGLCoord& v : s.vertices) {
    const float d = std::fabs(v.x - centre.x) + std::fabs(v.y - centre.y) + std::fabs(v.z - centre.z);
    EXPECT_EQ(d, 1.0f) << v.x << " " << v.y << " " << v.z;
  }
  sketch_checks::ExpectClosedManifoldOutward(s.vertices, s.faces);
}

TEST(Polygonise, BallsWithoutASurfaceGiveNoTriangles) {
  const TMetaGrid grid = InitMetaGrid(81, kSketchGridExtent);
  const TMetaBalls cases[] = {
      {},
      {{-9.0f, {0.1f, 0.1f, 0.1f}}},  // a negative field
      {{9.0f, {0.1f, 0.1f, 0.1f}}, {1.0f, {kNaN, 0, 0}}},  // NaN everywhere: nothing below the level
      {{9.0f, {100.0f, 0, 0}}},  // outside the grid
  };
  for (const TMetaBalls& balls : cases) {
    TSketchSurface s;
    ASSERT_TRUE(Polygonise(balls, grid, s));
    EXPECT_TRUE(s.faces.empty());
    EXPECT_TRUE(s.vertices.empty());
  }
}

TEST(Polygonise, ProgressCanCutItShort) {
  const TMetaGrid grid = InitMetaGrid(81, kSketchGridExtent);
  int calls = 0;
  TSketchSurface s;
  EXPECT_FALSE(Polygonise({{9.0f, {0, 0, 0}}}, grid, s, [&](int done, int total) {
    EXPECT_EQ(total, 80);
    return ++calls, done < 40;
  }));
  EXPECT_EQ(calls, 41);
  EXPECT_TRUE(s.faces.empty());
}

}  // namespace

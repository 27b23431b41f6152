#include "processing/meshify_simplify_quadric.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "mesh_shapes.h"
#include "processing/meshify_simplify_quadric_element.h"

namespace {

struct Mesh {
  TFaces faces;
  TVertices vertices;
};

Mesh FromElement(const TGeosphera& e) {
  Mesh m;
  for (const TGLCoord& p : e.vertices) m.vertices.push_back({p.x, p.y, p.z});
  for (size_t c = 0; c + 2 < e.faces.size(); c += 3) {
    m.faces.push_back(
        {static_cast<int32_t>(e.faces[c]), static_cast<int32_t>(e.faces[c + 1]), static_cast<int32_t>(e.faces[c + 2])});
  }
  return m;
}

Mesh Sphere(int levels) { return FromElement(MakeGeodesicSphere(levels, 1.0f)); }

// Each directed edge of the triangles, with its use count.
std::map<std::pair<int32_t, int32_t>, int> DirectedEdges(const TFaces& faces) {
  std::map<std::pair<int32_t, int32_t>, int> edges;
  for (const TPoint3i& f : faces) {
    ++edges[{f.x, f.y}];
    ++edges[{f.y, f.z}];
    ++edges[{f.z, f.x}];
  }
  return edges;
}

// Closed and consistently oriented: every directed edge once, its reverse once.
bool ClosedAndOriented(const TFaces& faces) {
  const auto edges = DirectedEdges(faces);
  return std::all_of(edges.begin(), edges.end(), [&](const auto& entry) {
    const auto reverse = edges.find({entry.first.second, entry.first.first});
    return entry.second == 1 && reverse != edges.end() && reverse->second == 1;
  });
}

double SignedVolume(const Mesh& m) {
  double volume = 0;
  for (const TPoint3i& f : m.faces) {
    const TPoint3f &a = m.vertices[f.x], &b = m.vertices[f.y], &c = m.vertices[f.z];
    volume +=
        (double(a.x) * (double(b.y) * c.z - double(b.z) * c.y) - double(a.y) * (double(b.x) * c.z - double(b.z) * c.x) +
         double(a.z) * (double(b.x) * c.y - double(b.y) * c.x)) /
        6;
  }
  return volume;
}

// An n x n grid of quads over [-1, 1]^2 lifted to z = (1 - x^2)(1 - y^2): open,
// with its whole border at z = 0 exactly.
Mesh Dome(int n) {
  Mesh m;
  for (int j = 0; j <= n; ++j) {
    for (int i = 0; i <= n; ++i) {
      const float x = -1 + 2.0f * i / n, y = -1 + 2.0f * j / n;
      m.vertices.push_back({x, y, (1 - x * x) * (1 - y * y)});
    }
  }
  for (int j = 0; j < n; ++j) {
    for (int i = 0; i < n; ++i) {
      const int32_t a = j * (n + 1) + i, b = a + 1, c = a + n + 2, d = a + n + 1;
      m.faces.push_back({a, b, c});
      m.faces.push_back({a, c, d});
    }
  }
  return m;
}

float MaxNorm(const TPoint3f& p) { return std::max({std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)}); }

// The cube-sphere's triangles pushed back onto the cube [-0.5, 0.5]^3: every
// face of the box is exactly flat.
Mesh UnitBox(int n) {
  Mesh m = FromElement(MakeCubeSphere(n, 1.0f));
  for (TPoint3f& p : m.vertices) {
    const float m = MaxNorm(p);
    p = {p.x / m * 0.5f, p.y / m * 0.5f, p.z / m * 0.5f};
  }
  return m;
}

TEST(ReduceMesh, RefusesWhatItCannotReduceAndLeavesItUnchanged) {
  const Mesh sphere = Sphere(1);  // 80 triangles
  Mesh outOfRange = sphere;
  outOfRange.faces[7].y = static_cast<int32_t>(sphere.vertices.size());
  Mesh negative = sphere;
  negative.faces[3].z = -1;
  Mesh fewFaces = sphere;
  fewFaces.faces.resize(4);
  const Mesh fewVertices{{{0, 1, 2}, {0, 2, 3}, {0, 3, 1}, {1, 3, 2}, {0, 1, 2}},
                         {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
  const struct {
    const char* name;
    Mesh mesh;
    int target;
  } cases[] = {
      {"0 percent", sphere, 0},
      {"target below 4", sphere, 3},
      {"target above the faces", sphere, 81},
      {"fewer than 5 faces", fewFaces, 4},
      {"fewer than 5 vertices", fewVertices, 4},
      {"index past the vertices", outOfRange, 10},
      {"negative index", negative, 10},
  };
  for (const auto& c : cases) {
    Mesh m = c.mesh;
    TReductionSources sources;
    EXPECT_FALSE(ReduceMesh(m.faces, m.vertices, c.target, 5.0, true, &sources)) << c.name;
    EXPECT_EQ(m.faces, c.mesh.faces) << c.name;
    EXPECT_EQ(m.vertices, c.mesh.vertices) << c.name;
    ASSERT_EQ(sources.vertices.size(), m.vertices.size()) << c.name;
    EXPECT_EQ(sources.vertices.back(), static_cast<int32_t>(m.vertices.size()) - 1) << c.name;
  }
}

TEST(ReduceMesh, FullTargetKeepsEveryTriangle) {
  Mesh m = Sphere(2);
  const Mesh before = m;
  ASSERT_TRUE(ReduceMesh(m.faces, m.vertices, static_cast<int>(m.faces.size()), 5.0, true));
  EXPECT_EQ(m.faces, before.faces);
  ASSERT_EQ(m.vertices.size(), before.vertices.size());
  for (size_t v = 0; v < m.vertices.size(); ++v) {
    EXPECT_NEAR(m.vertices[v].x, before.vertices[v].x, 1e-6f);
    EXPECT_NEAR(m.vertices[v].z, before.vertices[v].z, 1e-6f);
  }
}

TEST(ReduceMesh, ClosedSphereStaysClosedOrientedAndKeepsItsVolume) {
  Mesh m = Sphere(6);  // 81920 triangles: working arrays of huge-page size
  const double volume = SignedVolume(m);
  const int target = 8192;
  ASSERT_TRUE(ReduceMesh(m.faces, m.vertices, target, 5.0, true));
  EXPECT_LE(m.faces.size(), static_cast<size_t>(target));
  EXPECT_GE(m.faces.size(), static_cast<size_t>(target - 4));
  EXPECT_TRUE(ClosedAndOriented(m.faces));
  EXPECT_NEAR(SignedVolume(m), volume, 0.02 * volume);
  // No vertex is left without a triangle.
  std::set<int32_t> used;
  for (const TPoint3i& f : m.faces) used.insert({f.x, f.y, f.z});
  EXPECT_EQ(used.size(), m.vertices.size());
}

TEST(ReduceMesh, ThinTubesKeepTwoTrianglesOnEveryEdge) {
  // Collapses across a thin tube would join its far side: the ends of such an
  // edge share a neighbour besides the corners of the edge's own triangles.
  Mesh m = FromElement(MakeRotationRings(96, 8, 2.5f, 0.1f));  // 4608 triangles
  ASSERT_TRUE(ReduceMesh(m.faces, m.vertices, 230, 5.0, true));
  EXPECT_LE(m.faces.size(), 230u);
  EXPECT_GE(m.faces.size(), 200u);
  EXPECT_TRUE(ClosedAndOriented(m.faces));
}

TEST(ReduceMesh, UnitBoxKeepsItsExactCoordinates) {
  Mesh m = UnitBox(12);  // 1728 triangles
  ASSERT_TRUE(ReduceMesh(m.faces, m.vertices, 100, 5.0, true));
  EXPECT_LE(m.faces.size(), 100u);
  EXPECT_TRUE(ClosedAndOriented(m.faces));
  // Flat faces collapse onto their own points, so every vertex stays exactly
  // on the box and the corners keep their coordinates.
  int corners = 0;
  for (const TPoint3f& p : m.vertices) {
    EXPECT_EQ(MaxNorm(p), 0.5f);
    corners += std::fabs(p.x) == 0.5f && std::fabs(p.y) == 0.5f && std::fabs(p.z) == 0.5f;
  }
  EXPECT_EQ(corners, 8);
  EXPECT_NEAR(SignedVolume(m), 1.0, 1e-6);
}

TEST(ReduceMesh, PointSizedModelIsNeitherScaledNorBroken) {
  Mesh m = Sphere(1);
  for (TPoint3f& p : m.vertices) p = {3, -2, 7};
  ReduceMesh(m.faces, m.vertices, 8, 5.0, true);
  ASSERT_FALSE(m.vertices.empty());
  for (const TPoint3f& p : m.vertices) EXPECT_EQ(p, (TPoint3f{3, -2, 7}));
}

TEST(ReduceMesh, BorderVerticesCollapseOnlyAlongTheBorderToEndpointsOrMidpoints) {
  Mesh m = Dome(16);  // 512 triangles, border at z = 0
  std::vector<uint8_t> border(m.vertices.size());
  for (size_t v = 0; v < m.vertices.size(); ++v) border[v] = m.vertices[v].z == 0;
  TReductionSources sources;
  ASSERT_TRUE(ReduceMesh(m.faces, m.vertices, 128, 5.0, true, &sources));
  EXPECT_LE(m.faces.size(), 128u);

  // Every vertex that was on the border is still exactly in its plane: it met
  // only border vertices, at one of them or halfway.
  for (size_t v = 0; v < m.vertices.size(); ++v) {
    if (border[static_cast<size_t>(sources.vertices[v])]) {
      EXPECT_EQ(m.vertices[v].z, 0.0f) << v;
    }
  }
  // And the border of the result is made of those vertices only.
  const auto edges = DirectedEdges(m.faces);
  int borderEdges = 0;
  for (const auto& [edge, count] : edges) {
    if (edges.count({edge.second, edge.first})) continue;
    ++borderEdges;
    EXPECT_TRUE(border[static_cast<size_t>(sources.vertices[static_cast<size_t>(edge.first)])]);
    EXPECT_TRUE(border[static_cast<size_t>(sources.vertices[static_cast<size_t>(edge.second)])]);
  }
  EXPECT_GE(borderEdges, 4);
}

// A flat fan of six triangles (0, i, i + 1) around vertex 0 at the origin,
// facing +z, prepared as for the first pass.
TReductionState Fan() {
  TReductionState s;
  s.vertices.resize(7);
  for (int i = 0; i < 6; ++i) {
    const double a = M_PI / 3 * i;
    s.vertices[static_cast<size_t>(i + 1)].p = {static_cast<float>(std::cos(a)), static_cast<float>(std::sin(a)), 0};
  }
  for (int32_t i = 0; i < 6; ++i) {
    TTriangle t;
    t.v[0] = 0;
    t.v[1] = i + 1;
    t.v[2] = (i + 1) % 6 + 1;
    s.triangles.push_back(t);
    s.triangleSource.push_back(i);
  }
  RefreshReductionState(s, 0);
  return s;
}

TEST(CollapseFlipsTriangle, RefusesTurnedAndDegenerateTrianglesAndMarksTheVanishingOnes) {
  const TReductionState s = Fan();
  const TPoint3f ring3 = s.vertices[4].p, ring4 = s.vertices[5].p;
  const struct {
    const char* name;
    TPoint3f p;
    bool refused;
  } cases[] = {
      {"small move", {0.1f, 0.05f, 0}, false},
      {"raised, turned by 74 degrees", {0, 0, 3}, false},
      {"raised, turned by 80 degrees", {0, 0, 6}, true},
      {"across the opposite edge", {-1.2f, 0.1f, 0}, true},
      {"onto the opposite edge", {(ring3.x + ring4.x) / 2, (ring3.y + ring4.y) / 2, 0}, true},
      {"onto an opposite corner", ring3, true},
  };
  for (const auto& c : cases) {
    TBools marks(6, 7);
    EXPECT_EQ(CollapseFlipsTriangle(s, c.p, /*other=*/1, s.vertices[0], marks), c.refused) << c.name;
    // The two triangles around the edge (0, 1) disappear in the collapse.
    if (!c.refused) {
      EXPECT_EQ(marks, (TBools{1, 0, 0, 0, 0, 1})) << c.name;
    }
  }
}

TEST(EdgeCollapseCost, BorderEdgeGoesToAnEndpointOrTheMidpointInsideToTheOptimum) {
  TReductionState s = Fan();  // vertices 1..6 are on the border, 0 is inside
  TPoint3f p;
  EXPECT_FLOAT_EQ(EdgeCollapseCost(s, 1, 2, p), 0);
  const TPoint3f a = s.vertices[1].p, b = s.vertices[2].p;
  EXPECT_EQ(p, (TPoint3f{(a.x + b.x) * 0.5f, (a.y + b.y) * 0.5f, 0}));  // zero cost everywhere: the last candidate wins

  // Without the border flags the plane's quadric is singular too; lift vertex 0
  // and give it a full quadric: the optimum is its own point.
  for (TVertex& v : s.vertices) v.border = 0;
  std::fill(std::begin(s.vertices[0].q), std::end(s.vertices[0].q), 0.0f);
  const float planes[3][4] = {{1, 0, 0, -0.25f}, {0, 1, 0, 0.5f}, {0, 0, 1, -2}};
  for (const auto& n : planes) {
    const float terms[10] = {n[0] * n[0], n[0] * n[1], n[0] * n[2], n[0] * n[3], n[1] * n[1],
                             n[1] * n[2], n[1] * n[3], n[2] * n[2], n[2] * n[3], n[3] * n[3]};
    for (int i = 0; i < 10; ++i) s.vertices[0].q[i] += terms[i];
  }
  std::fill(std::begin(s.vertices[3].q), std::end(s.vertices[3].q), 0.0f);
  EXPECT_NEAR(EdgeCollapseCost(s, 0, 3, p), 0, 1e-6);
  EXPECT_NEAR(p.x, 0.25f, 1e-6);
  EXPECT_NEAR(p.y, -0.5f, 1e-6);
  EXPECT_NEAR(p.z, 2.0f, 1e-6);
  EXPECT_DOUBLE_EQ(QuadricError(s.vertices[0].q, 1.25, -0.5, 2), 1.0);
}

// Two vertices that stand for many triangles of a gently curved patch far from
// the origin, as after a run of collapses on a large smooth part of a model:
// each carries the tangent planes of a 16 x 16 grid of points 0.002 apart on a
// sphere of radius 0.7 about the origin. The cost must be the summed squared
// plane distances at the point it returns; in single precision the large
// offsets of these planes drowned it (negative, or far too large).
TEST(EdgeCollapseCost, StaysExactForManyPlanesFarFromTheOrigin) {
  constexpr double kRadius = 0.7, kStep = 0.002 / kRadius;  // angular grid step
  constexpr int kGrid = 16;
  std::vector<std::array<double, 4>> planes[2];
  TReductionState s;
  s.vertices.resize(2);
  for (int v = 0; v < 2; ++v) {
    const double centre = (v ? 0.5 : -0.5) * kGrid * kStep;
    for (int i = 0; i < kGrid; ++i) {
      for (int j = 0; j < kGrid; ++j) {
        const double ax = centre + (i - (kGrid - 1) / 2.0) * kStep / 2, az = (j - (kGrid - 1) / 2.0) * kStep;
        const std::array<double, 4> n{std::sin(ax), std::cos(ax) * std::cos(az), std::cos(ax) * std::sin(az),
                                      -kRadius};
        planes[v].push_back(n);
        const double terms[10] = {n[0] * n[0], n[0] * n[1], n[0] * n[2], n[0] * n[3], n[1] * n[1],
                                  n[1] * n[2], n[1] * n[3], n[2] * n[2], n[2] * n[3], n[3] * n[3]};
        for (int k = 0; k < 10; ++k) s.vertices[v].q[k] += terms[k];
      }
    }
    s.vertices[v].p = {static_cast<float>(kRadius * std::sin(centre)), static_cast<float>(kRadius * std::cos(centre)),
                       0};
  }

  TPoint3f p;
  const float cost = EdgeCollapseCost(s, 0, 1, p);
  double exact = 0;
  for (const auto& group : planes) {
    for (const auto& n : group) exact += std::pow(n[0] * p.x + n[1] * p.y + n[2] * p.z + n[3], 2);
  }
  EXPECT_GE(cost, 0);
  EXPECT_NEAR(cost, exact, 1e-3 * exact + 1e-12);
  // The optimum lies at the patch, within a fraction of the edge's length.
  const double edge = s.vertices[1].p.x - s.vertices[0].p.x;
  EXPECT_LT(std::hypot(p.x, p.y - kRadius, p.z), 0.1 * edge);
}

// --- the element -------------------------------------------------------------

TEST(ReduceElement, PerVertexDataFollowsItsVertex) {
  TGeosphera e = MakeGeodesicSphere(4, 1.0f);  // 5120 triangles
  const TRGBA red{255, 0, 0, 255};
  e.uvs.resize(e.vertices.size());
  for (size_t v = 0; v < e.vertices.size(); ++v) {
    const TGLCoord& p = e.vertices[v];
    if (p.x > 0) e.colors[v] = red;
    e.vertexState[v] = p.y > 0 ? kVertexFrozen : kVertexFree;
    e.uvs[v] = {p.x, p.z};
  }
  e.uvCount = static_cast<int32_t>(e.uvs.size());
  e.subdivLevel = 2;
  e.levelVertexCounts = {12, 42};

  EXPECT_GT(ReduceElement(e, 20), 0);
  EXPECT_LE(e.triangleCount(), 1024);
  EXPECT_GE(e.triangleCount(), 1020);
  ASSERT_EQ(e.colors.size(), e.vertices.size());
  ASSERT_EQ(e.vertexState.size(), e.vertices.size());
  ASSERT_EQ(e.uvs.size(), e.vertices.size());
  EXPECT_EQ(e.uvCount, e.vertexCount);
  EXPECT_EQ(e.normals.size(), e.vertices.size());
  EXPECT_EQ(e.valence.size(), e.vertices.size());
  EXPECT_EQ(e.subdivLevel, 0);
  EXPECT_TRUE(e.levelVertexCounts.empty());
  // Vertices move by less than an edge of the reduced sphere, so away from
  // the cuts every vertex still carries the data of its own side.
  int checked = 0;
  for (size_t v = 0; v < e.vertices.size(); ++v) {
    const TGLCoord& p = e.vertices[v];
    if (std::fabs(p.x) > 0.2f) {
      EXPECT_EQ(e.colors[v] == red, p.x > 0) << v;
      EXPECT_EQ(e.uvs[v].u > 0, p.x > 0) << v;
      ++checked;
    }
    if (std::fabs(p.y) > 0.2f) {
      EXPECT_EQ(e.vertexState[v], p.y > 0 ? kVertexFrozen : kVertexFree) << v;
    }
  }
  EXPECT_GT(checked, e.vertexCount / 2);
}

TEST(ReduceElement, TextureTrianglesFollowTheirTriangles) {
  TGeosphera e = MakeGeodesicSphere(3, 1.0f);
  e.faces.push_back(0);  // the spare entry loaders leave
  e.uvFaces.resize(static_cast<size_t>(e.indexCount));
  e.uvs.resize(e.uvFaces.size());
  for (size_t c = 0; c < e.uvFaces.size(); ++c) {
    e.uvFaces[c] = static_cast<uint32_t>(c);
    e.uvs[c] = {static_cast<float>(c), 0};
  }
  const Tuv uvs = e.uvs;
  ReduceElement(e, 25);
  EXPECT_EQ(e.faces.size(), static_cast<size_t>(e.indexCount));
  ASSERT_EQ(e.uvFaces.size(), e.faces.size());
  EXPECT_EQ(e.uvs, uvs);
  for (size_t c = 0; c < e.uvFaces.size(); c += 3) {
    EXPECT_EQ(e.uvFaces[c] % 3, 0u);
    EXPECT_EQ(e.uvFaces[c + 1], e.uvFaces[c] + 1);
    EXPECT_EQ(e.uvFaces[c + 2], e.uvFaces[c] + 2);
  }
}

TEST(ReduceElement, ReducesAReducedMeshAgainAndKeepsItAtFullOrZeroPercent) {
  TGeosphera e = MakeGeodesicSphere(4, 1.0f);
  ReduceElement(e, 50);
  EXPECT_NEAR(e.triangleCount(), 2560, 4);
  ReduceElement(e, 50);
  EXPECT_NEAR(e.triangleCount(), 1280, 4);

  const TGeosphera reduced = e;
  for (int percent : {100, 0}) {
    ReduceElement(e, percent);
    EXPECT_EQ(e.faces, reduced.faces) << percent;
    EXPECT_EQ(e.colors, reduced.colors) << percent;
    EXPECT_EQ(e.vertexCount, reduced.vertexCount) << percent;
  }
}

TEST(ReduceElement, TargetRoundsHalvesToEven) {
  EXPECT_EQ(ReductionTarget(1000, 40), 400);
  EXPECT_EQ(ReductionTarget(25, 50), 12);  // 12.5
  EXPECT_EQ(ReductionTarget(35, 50), 18);  // 17.5
  EXPECT_EQ(ReductionTarget(2000000000, 100), 2000000000);
}

}  // namespace

#include "processing/ambient_occlusion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "mesh_shapes.h"
#include "model/scene.h"

namespace {

constexpr TRGBA kColour{200, 100, 50, 77};
constexpr TRGBA kNinetyPercent{180, 90, 45, 77};

void Finish(TGeosphera& e) {
  e.vertexCount = static_cast<int32_t>(e.vertices.size());
  e.indexCount = static_cast<int32_t>(e.faces.size());
  e.colors.assign(e.vertices.size(), kColour);
  e.vertexState.assign(e.vertices.size(), kVertexFree);
  ASSERT_TRUE(RefreshElement(e));
}

// A 21 x 21 grid of unit spacing in the plane z = 0, facing +z, and a last
// vertex without triangles (so without area: it casts no shadow) half a unit
// above the grid's centre, facing `probeNormal`.
TGeosphera MakePlaneAndProbe(TGLCoord probeNormal) {
  const uint32_t k = 21;
  TGeosphera e;
  for (uint32_t y = 0; y < k; ++y) {
    for (uint32_t x = 0; x < k; ++x) e.vertices.push_back({float(x), float(y), 0});
  }
  for (uint32_t y = 0; y + 1 < k; ++y) {
    for (uint32_t x = 0; x + 1 < k; ++x) {
      const uint32_t a = y * k + x, b = a + 1, c = a + k + 1, d = a + k;
      e.faces.insert(e.faces.end(), {a, b, c, a, c, d});
    }
  }
  e.vertices.push_back({10, 10, 0.5f});
  Finish(e);
  e.normals.back() = probeNormal;
  return e;
}

// A cube-sphere of radius about 1 with bumps along the normals, its vertices
// in shuffled order.
TGeosphera MakeBumpySphere(int n) {
  TGeosphera e = MakeCubeSphere(n, 1);
  for (TGLCoord& p : e.vertices) {
    const float s = 1 + 0.2f * std::sin(5 * p.x) * std::sin(7 * p.y) * std::sin(3 * p.z + 1);
    p = {p.x * s, p.y * s, p.z * s};
  }
  std::vector<uint32_t> order(e.vertices.size());
  for (uint32_t i = 0; i < order.size(); ++i) order[i] = i;
  std::shuffle(order.begin(), order.end(), std::mt19937(7));
  Tvertices shuffled(e.vertices.size());
  for (uint32_t i = 0; i < order.size(); ++i) shuffled[order[i]] = e.vertices[i];
  e.vertices = shuffled;
  for (uint32_t& v : e.faces) v = order[v];
  Finish(e);
  return e;
}

// A grid whose spacing grows geometrically along x (triangle areas over four
// orders of magnitude), waved in z.
TGeosphera MakeGradedTerrain() {
  TGeosphera e;
  const uint32_t nx = 60, ny = 40;
  for (uint32_t y = 0; y < ny; ++y) {
    for (uint32_t x = 0; x < nx; ++x) {
      const float px = std::pow(1.12f, float(x)) - 1, py = 0.25f * float(y);
      e.vertices.push_back({px, py, 0.4f * std::sin(py * 2) + 0.02f * px * std::cos(px)});
    }
  }
  for (uint32_t y = 0; y + 1 < ny; ++y) {
    for (uint32_t x = 0; x + 1 < nx; ++x) {
      const uint32_t a = y * nx + x, b = a + 1, c = a + nx + 1, d = a + nx;
      e.faces.insert(e.faces.end(), {a, b, c, a, c, d});
    }
  }
  Finish(e);
  return e;
}

// The inside of a cube of n x n quads per face: triangles wound so that the
// normals point into the cube.
TGeosphera MakeInsideOfCube(int n) {
  TGeosphera e;
  std::map<std::array<int, 3>, uint32_t> index;
  auto vertex = [&](std::array<int, 3> g) {
    auto [it, fresh] = index.try_emplace(g, static_cast<uint32_t>(e.vertices.size()));
    if (fresh) e.vertices.push_back({float(g[0]), float(g[1]), float(g[2])});
    return it->second;
  };
  for (int axis = 0; axis < 3; ++axis) {
    const int u = (axis + 1) % 3, v = (axis + 2) % 3;
    for (int side : {0, n}) {
      for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
          auto at = [&](int di, int dj) {
            std::array<int, 3> g{};
            g[axis] = side, g[u] = i + di, g[v] = j + dj;
            return vertex(g);
          };
          const uint32_t a = at(0, 0), b = at(1, 0), c = at(1, 1), d = at(0, 1);
          // (u x v) is +axis: inward on the side at 0, outward on the side at n.
          if (side == 0) {
            e.faces.insert(e.faces.end(), {a, b, c, a, c, d});
          } else {
            e.faces.insert(e.faces.end(), {a, c, b, a, d, c});
          }
        }
      }
    }
  }
  Finish(e);
  return e;
}

bool Darker(const TRGBA& c, const TRGBA& than) { return c.r < than.r && c.g < than.g && c.b < than.b && c.a == than.a; }

TEST(AmbientOcclusion, ProbeAboveAPlane) {
  struct Case {
    std::string name;
    TGLCoord probeNormal;
    int strength;
    bool planeWithoutNormals;
    bool probeDarkened;
  };
  const Case cases[] = {
      {"facing the plane", {0, 0, -1}, 4, false, true},
      {"facing away from every disc in front of it", {0, 0, 1}, 4, false, false},
      {"strength 0", {0, 0, -1}, 0, false, false},
      {"emitters with zero normals", {0, 0, -1}, 4, true, false},
      {"probe with a zero normal", {0, 0, 0}, 4, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TGeosphera e = MakePlaneAndProbe(c.probeNormal);
    if (c.planeWithoutNormals) std::fill(e.normals.begin(), e.normals.end() - 1, TGLCoord{});
    const TGeosphera before = e;
    ASSERT_TRUE(BakeAmbientOcclusion(e, c.strength));
    if (c.probeDarkened) {
      EXPECT_TRUE(Darker(e.colors.back(), kNinetyPercent));
    } else {
      EXPECT_EQ(e.colors.back(), kNinetyPercent);
    }
    // The plane's discs lie in each other's planes: no shadow among them.
    for (size_t v = 0; v + 1 < e.colors.size(); ++v) ASSERT_EQ(e.colors[v], kNinetyPercent) << v;
    EXPECT_EQ(e.vertices, before.vertices);
    EXPECT_EQ(e.normals, before.normals);
    EXPECT_EQ(e.faces, before.faces);
    EXPECT_TRUE(e.aoDiscs.empty());
  }
}

TEST(AmbientOcclusion, StrengthZeroOrNoTrianglesOnlyMultipliesByNinetyPercent) {
  TGeosphera bumpy = MakeBumpySphere(12);
  ASSERT_TRUE(BakeAmbientOcclusion(bumpy, 0));
  TGeosphera points = MakePlaneAndProbe({0, 0, -1});
  points.faces.clear();
  points.indexCount = 0;
  ASSERT_TRUE(BakeAmbientOcclusion(points, 50));
  for (const TGeosphera* e : {&bumpy, &points}) {
    for (const TRGBA& c : e->colors) ASSERT_EQ(c, kNinetyPercent);
  }
}

TEST(AmbientOcclusion, StrengthOutsideItsRangeIsClamped) {
  TGeosphera strong = MakePlaneAndProbe({0, 0, -1}), beyond = strong, weak = strong, below = strong;
  ASSERT_TRUE(BakeAmbientOcclusion(strong, kAoStrengthMax));
  ASSERT_TRUE(BakeAmbientOcclusion(beyond, 1000));
  ASSERT_TRUE(BakeAmbientOcclusion(weak, kAoStrengthMin));
  ASSERT_TRUE(BakeAmbientOcclusion(below, -5));
  EXPECT_EQ(beyond.colors, strong.colors);
  EXPECT_EQ(below.colors, weak.colors);
}

TEST(AmbientOcclusion, CoincidentDiscOfZeroAreaChangesNothing) {
  // Coincident with the probe, facing the plane, without triangles: its form
  // factor on the probe would be 0 x ... / (0 + 0) at distance zero.
  const TGeosphera alone = [] {
    TGeosphera e = MakePlaneAndProbe({0, 0, -1});
    EXPECT_TRUE(BakeAmbientOcclusion(e, 4));
    return e;
  }();
  TGeosphera e = MakePlaneAndProbe({0, 0, -1});
  e.vertices.push_back(e.vertices.back());
  e.normals.push_back({0, 0, -1});
  e.colors.push_back(kColour);
  ++e.vertexCount;
  ASSERT_TRUE(BakeAmbientOcclusion(e, 4));
  EXPECT_TRUE(Darker(alone.colors.back(), kNinetyPercent));
  const size_t probe = alone.colors.size() - 1;
  EXPECT_EQ(e.colors[probe], alone.colors[probe]);
  EXPECT_EQ(e.colors[probe + 1], alone.colors[probe]);
}

TEST(AmbientOcclusion, SliverTriangleKeepsItsVerticesCastingShadows) {
  // A sliver from vertex 220 at (10, 10): its three corners lie on one line,
  // and Heron's product of its float side lengths rounds below zero.
  TGeosphera plain = MakePlaneAndProbe({0, 0, -1});
  TGeosphera sliver = plain;
  sliver.vertices.insert(sliver.vertices.end() - 1, {{10.1f, 10.5f, 0}, {10.2f, 11, 0}});
  // The probe moves to the end: keep it there and point the sliver at the new vertices.
  const uint32_t first = 441, probe = 443;
  sliver.faces.insert(sliver.faces.end(), {220, first, first + 1});
  sliver.vertexCount += 2;
  sliver.indexCount += 3;
  sliver.colors.assign(sliver.vertices.size(), kColour);
  ASSERT_TRUE(RefreshElement(sliver));
  sliver.normals[probe] = {0, 0, -1};
  ASSERT_TRUE(BakeAmbientOcclusion(plain, 4));
  ASSERT_TRUE(BakeAmbientOcclusion(sliver, 4));
  EXPECT_EQ(sliver.colors[probe], plain.colors.back());
}

TEST(AmbientOcclusion, InnerCornerOfACubeIsDarkerThanItsFaceCentres) {
  // The corner vertex itself lies in the plane of every disc of the three
  // walls (cosE = 0), as the edge vertices lie in two: the shadow falls on the
  // vertices diagonally next to it.
  const int n = 16;
  TGeosphera cube = MakeInsideOfCube(n);
  ASSERT_TRUE(BakeAmbientOcclusion(cube, kAoStrengthDefault));
  auto colourAt = [&](TGLCoord p) {
    const auto it = std::find(cube.vertices.begin(), cube.vertices.end(), p);
    return cube.colors[static_cast<size_t>(it - cube.vertices.begin())];
  };
  const float h = n / 2.0f, m = float(n);
  for (TGLCoord corner : {TGLCoord{0, 1, 1}, {1, 0, 1}, {1, 1, 0}}) {
    for (TGLCoord centre : {TGLCoord{0, h, h}, {m, h, h}, {h, 0, h}, {h, m, h}, {h, h, 0}, {h, h, m}}) {
      EXPECT_TRUE(Darker(colourAt(corner), colourAt(centre)))
          << corner.x << corner.y << corner.z << " than " << centre.x << " " << centre.y << " " << centre.z;
    }
  }
  EXPECT_TRUE(Darker(colourAt({h, h, 0}), kNinetyPercent));
}

TGeosphera BakedWith(TGeosphera e, int strength, AoGatherPass gather) {
  EXPECT_TRUE(BakeAmbientOcclusion(e, strength, {}, gather));
  return e;
}

// The discs as the bake hands them to the gathering pass.
TElements DiscsOf(TGeosphera e) {
  TElements discs;
  BakeAmbientOcclusion(e, 0, [&](const AoProgress& p) {
    discs = e.aoDiscs;
    return p.status != std::string(kAoStatusOcclusion);
  });
  return discs;
}

bool SameBits(const TElements& a, const TElements& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(TDisco)) == 0;
}

TEST(AmbientOcclusion, GridPassEqualsTheQuadraticLoopByteForByte) {
  // Coincident vertices: every seventh triangle takes a fresh copy of its
  // first corner; zero normals: every eleventh vertex.
  TGeosphera seams = MakeBumpySphere(22);
  for (size_t t = 0; t < seams.faces.size(); t += 21) {
    seams.vertices.push_back(seams.vertices[seams.faces[t]]);
    seams.faces[t] = static_cast<uint32_t>(seams.vertices.size() - 1);
  }
  Finish(seams);
  for (size_t v = 0; v < seams.normals.size(); v += 11) seams.normals[v] = {};
  // Extremes: areas beyond the float range (infinite reach), a vertex at
  // infinity, one that is not a number.
  TGeosphera extremes = MakeBumpySphere(6);
  for (TGLCoord& p : extremes.vertices) p = {p.x * 1e11f, p.y * 1e11f, p.z * 1e11f};
  const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
  extremes.vertices.insert(extremes.vertices.end(), {{inf, 0, 0}, {nan, 1, 1}, {0, 0, 0}});
  Finish(extremes);
  extremes.normals.back() = extremes.normals.end()[-2] = extremes.normals.end()[-3] = {1, 0, 0};

  const std::pair<std::string, TGeosphera> meshes[] = {
      {"seams and zero normals", seams}, {"graded terrain", MakeGradedTerrain()}, {"extremes", extremes}};
  for (const auto& [name, mesh] : meshes) {
    for (int strength : {0, 4, 50}) {
      SCOPED_TRACE(name + " at strength " + std::to_string(strength));
      const TGeosphera grid = BakedWith(mesh, strength, GatherOcclusion);
      const TGeosphera quadratic = BakedWith(mesh, strength, GatherOcclusionQuadratic);
      ASSERT_EQ(grid.colors.size(), mesh.colors.size());
      EXPECT_EQ(grid.colors, quadratic.colors);
      // The visibilities too: a byte rarely shows a term added out of order.
      TElements gridDiscs = DiscsOf(mesh), quadraticDiscs = gridDiscs;
      ASSERT_EQ(gridDiscs.size(), mesh.vertices.size());
      ASSERT_TRUE(GatherOcclusion(gridDiscs, float(strength)));
      ASSERT_TRUE(GatherOcclusionQuadratic(quadraticDiscs, float(strength)));
      EXPECT_TRUE(SameBits(gridDiscs, quadraticDiscs));
      if (strength == 50 && name != "extremes") {
        const auto darkened = std::count_if(grid.colors.begin(), grid.colors.end(),
                                            [](const TRGBA& c) { return Darker(c, kNinetyPercent); });
        EXPECT_GT(darkened, 0);
      }
    }
  }
}

TEST(AmbientOcclusion, ReportsEveryStepAndAllItsWork) {
  ATGeosphera scene{MakeBumpySphere(5), MakePlaneAndProbe({0, 0, -1})};
  std::vector<std::string> statuses;
  int64_t last = 0, total = 0;
  bool monotone = true;
  ASSERT_TRUE(BakeSceneAmbientOcclusion(scene, 4, [&](const AoProgress& p) {
    if (statuses.empty() || statuses.back() != p.status) statuses.push_back(p.status);
    monotone = monotone && p.done >= last;
    last = p.done, total = p.total;
    return true;
  }));
  const std::vector<std::string> element{kAoStatusDiscs, kAoStatusAreas, kAoStatusOcclusion, kAoStatusFinish};
  std::vector<std::string> expected{kAoStatusStart};
  for (int i = 0; i < 2; ++i) expected.insert(expected.end(), element.begin(), element.end());
  EXPECT_EQ(statuses, expected);
  EXPECT_TRUE(monotone);
  const int64_t work =
      scene[0].triangleCount() + 3 * scene[0].vertexCount + scene[1].triangleCount() + 3 * scene[1].vertexCount;
  EXPECT_EQ(total, work);
  EXPECT_EQ(last, work);
  EXPECT_EQ(AmbientOcclusionWork(scene), work);
}

TEST(AmbientOcclusion, CancelKeepsFinishedVerticesDarkenedAndTheRestUntouched) {
  const ATGeosphera original{MakeBumpySphere(8), MakeBumpySphere(4)};
  ATGeosphera complete = original;
  ASSERT_TRUE(BakeSceneAmbientOcclusion(complete, 50));
  for (const char* step : {kAoStatusDiscs, kAoStatusAreas, kAoStatusOcclusion, kAoStatusFinish}) {
    SCOPED_TRACE(step);
    ATGeosphera scene = original;
    int64_t stepStart = -1;
    const bool finished = BakeSceneAmbientOcclusion(scene, 50, [&](const AoProgress& p) {
      if (p.status != std::string(step)) return true;
      if (stepStart < 0) stepStart = p.done;
      return p.done - stepStart < 100;  // some way into the step
    });
    EXPECT_FALSE(finished);
    const TCores& colours = scene[0].colors;
    const size_t prefix = step == kAoStatusFinish ? 120 : 0;  // whole chunks of 24 when the callback said stop
    for (size_t v = 0; v < colours.size(); ++v) {
      ASSERT_EQ(colours[v], v < prefix ? complete[0].colors[v] : original[0].colors[v]) << v;
    }
    EXPECT_EQ(scene[1].colors, original[1].colors);
    EXPECT_TRUE(scene[0].aoDiscs.empty());
  }
}

}  // namespace

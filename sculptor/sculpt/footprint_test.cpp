#include "sculpt/footprint.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>
#include <vector>

#include "model/test_meshes.h"

static bool operator==(const TContsel& a, const TContsel& b) {
  return a.vertex == b.vertex && a.distance == b.distance;
}

namespace {

// Vertices along x at 0, 0.5, 1, 1.5, 2 with normals (0, 0, 1) and (0, 1, 0)
// alternating; vertex 5 is the mirror image of vertex 1.
TGeosphera MakeLine() {
  TGeosphera e = MakeElement({{0, 0, 1}, {0.5f, 0, 1}, {1, 0, 1}, {1.5f, 0, 1}, {2, 0, 1}, {0.5f, 0, -1}}, {});
  e.normals = {{0, 0, 1}, {0, 1, 0}, {0, 0, 1}, {0, 1, 0}, {0, 0, 1}, {0, 0, -1}};
  return e;
}

TEST(Footprint, KeepsTheVerticesInsideTheRadius) {
  const TGeosphera e = MakeLine();
  const std::vector<int32_t> candidates = {3, -1, 2, 4, 1, 99};
  TFootprint f;
  GatherFootprint(e, candidates, {0.5f, 0, 1}, 1, f);
  // Vertex 3 at exactly r belongs to the footprint but is not the pick;
  // vertex 4 is beyond the radius, -1 and 99 are no vertices.
  EXPECT_EQ(f.entries, (ATContsel{{1, 0}, {2, 0.5f}, {3, 1}}));
  EXPECT_EQ(f.pickedVertex, 1);
  EXPECT_EQ(f.normal, (TGLCoord{0, 2.0f / 3, 1.0f / 3}));
  EXPECT_FLOAT_EQ(f.centre.x, 1);
  EXPECT_FLOAT_EQ(f.centre.z, 1);

  // Only rim vertices: a footprint without a pick.
  GatherFootprint(e, std::vector<int32_t>{3}, {0.5f, 0, 1}, 1, f);
  EXPECT_EQ(f.entries.size(), 1u);
  EXPECT_EQ(f.pickedVertex, -1);
  EXPECT_EQ(PickFootprintVertex(e, candidates, {0.5f, 0, 1}, 1), 1);
  EXPECT_EQ(PickFootprintVertex(e, std::vector<int32_t>{3}, {0.5f, 0, 1}, 1), -1);

  GatherFootprint(e, std::vector<int32_t>{4}, {0, 0, 1}, 1, f);
  EXPECT_TRUE(f.entries.empty());
  EXPECT_EQ(f.normal, TGLCoord{});
}

// Vertices at every float distance from just inside to just beyond r are kept
// exactly when their rounded distance is at most r, for tiny, usual and huge radii.
TEST(Footprint, RimDecisionFollowsTheRoundedDistance) {
  for (const float radius : {1e-30f, 3e-20f, 1e-3f, 0.37f, 1.0f, 7.5f, 1e19f, 3e38f}) {
    float x = radius;
    for (int step = 0; step < 2000; ++step) x = std::nextafter(x, 0.0f);
    TGeosphera e;
    for (int step = 0; step < 4000; ++step, x = std::nextafter(x, 2 * radius)) {
      e.vertices.push_back({x * 0.6f, x * 0.8f, 0});
    }
    e.vertices.push_back({radius * 1.2f, 0, 0});
    e.vertexCount = static_cast<int32_t>(e.vertices.size());
    e.normals.assign(e.vertices.size(), TGLCoord{0, 0, 1});
    const std::vector<TGLCoord>& points = e.vertices;
    std::vector<int32_t> candidates(points.size());
    std::iota(candidates.begin(), candidates.end(), 0);
    ATContsel expected;
    for (size_t v = 0; v < points.size(); ++v) {
      const TGLCoord& p = points[v];
      const float d = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
      if (d <= radius) expected.push_back({static_cast<int32_t>(v), d});
    }
    SortUnique(expected);
    TFootprint f;
    GatherFootprint(e, candidates, {0, 0, 0}, radius, f);
    EXPECT_EQ(f.entries, expected) << radius;
  }
}

TEST(Footprint, MirrorSideGathersAroundTheMirroredPoint) {
  const TGeosphera e = MakeLine();
  TBrushFrame frame;
  frame.radius = 0.1f;
  frame.symmetry = true;
  const std::vector<int32_t> direct = {1, 5}, mirror = {5, 1};
  GatherBrushFrame(e, direct, mirror, {0.5f, 0, 1}, frame);
  EXPECT_EQ(frame.direct.pickedVertex, 1);
  EXPECT_EQ(frame.mirror.entries, (ATContsel{{5, 0}}));
  EXPECT_EQ(frame.mirror.pickedVertex, 5);
  EXPECT_EQ(frame.mirror.normal, (TGLCoord{0, 0, -1}));

  frame.symmetry = false;
  GatherBrushFrame(e, direct, mirror, {0.5f, 0, 1}, frame);
  EXPECT_TRUE(frame.mirror.entries.empty());
  EXPECT_EQ(frame.mirror.pickedVertex, -1);
}

TEST(Footprint, SortUniqueOrdersByRecordBytes) {
  // 256 is stored as bytes 00 01 00 00 and sorts before 1 (01 00 00 00); the
  // same vertex at two distances stays twice (0.5 = 00 00 00 3F before
  // 0.25 = 00 00 80 3E), an exact repeat goes.
  ATContsel list = {{1, 0.5f}, {256, 0.25f}, {1, 0.25f}, {2, 0}, {1, 0.5f}, {0x01000000, 0}};
  SortUnique(list);
  EXPECT_EQ(list, (ATContsel{{0x01000000, 0}, {256, 0.25f}, {1, 0.5f}, {1, 0.25f}, {2, 0}}));

  TAinteger numbers = {5, 256, 1, 5, -2};
  SortUnique(numbers);
  EXPECT_EQ(numbers, (TAinteger{-2, 1, 5, 256}));
}

TEST(Footprint, SortUniqueMatchesAComparisonSortOnAManyEntryList) {
  ATContsel list;
  for (int32_t i = 0; i < 5000; ++i) list.push_back({(i * 7919) % 3001, static_cast<float>(i % 13) * 0.125f});
  ATContsel expected = list;
  std::sort(expected.begin(), expected.end(), [](const TContsel& a, const TContsel& b) {
    return std::memcmp(&a, &b, sizeof a) < 0;
  });
  expected.erase(std::unique(expected.begin(), expected.end()), expected.end());
  SortUnique(list);
  EXPECT_EQ(list, expected);
}

}  // namespace

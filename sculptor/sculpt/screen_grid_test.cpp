#include "sculpt/screen_grid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "model/test_meshes.h"

namespace {

constexpr int kWidth = 10, kHeight = 8;

// Identity matrices: a vertex's x, y are its normalised device coordinates,
// so window x = (x + 1) * 5 and window y (from the bottom) = (y + 1) * 4.
TProjectionSetup IdentitySetup() {
  TProjectionSetup s;
  for (int i = 0; i < 4; ++i) s.modelview[i * 5] = s.projection[i * 5] = 1;
  s.viewport = {0, 0, kWidth, kHeight};
  return s;
}

// The model point that projects to window position (x, y from the top).
TGLCoord AtWindow(double x, double yFromTop) {
  return {static_cast<float>(x / kWidth * 2 - 1), static_cast<float>((kHeight - yFromTop) / kHeight * 2 - 1), 0};
}

TScreenGrid BuildFrom(const Tvertices& points) {
  TScreenGrid grid;
  grid.Build(points, static_cast<int32_t>(points.size()), IdentitySetup(), kWidth, kHeight);
  return grid;
}

TEST(ScreenGrid, BinsByRoundedWindowPositionInVertexOrder) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const Tvertices points = {
      AtWindow(3, 2),     // 0: cell (3, 2)
      AtWindow(2.5, 2),   // 1: half to even -> column 2
      AtWindow(7.5, 2),   // 2: half to even -> column 8
      AtWindow(3.2, 1.8), // 3: cell (3, 2) after vertex 0
      AtWindow(0.2, 3),   // 4: column 0 holds nothing
      AtWindow(5, 0.3),   // 5: row 0 holds nothing
      AtWindow(9, 7),     // 6: the last column and row hold vertices
      AtWindow(10, 4),    // 7: column = width is outside
      {nan, 0, 0},        // 8: no position: skipped
      {1e30f, 1e30f, 0},  // 9: far outside
  };
  const TScreenGrid grid = BuildFrom(points);
  EXPECT_EQ(grid.Cell(3, 2), (std::vector<int32_t>{0, 3}));
  EXPECT_EQ(grid.Cell(2, 2), (std::vector<int32_t>{1}));
  EXPECT_EQ(grid.Cell(8, 2), (std::vector<int32_t>{2}));
  EXPECT_EQ(grid.Cell(9, 7), (std::vector<int32_t>{6}));
  for (int y = 0; y < kHeight; ++y) EXPECT_TRUE(grid.Cell(0, y).empty()) << y;
  for (int x = 0; x < kWidth; ++x) EXPECT_TRUE(grid.Cell(x, 0).empty()) << x;
  std::vector<int32_t> all;
  grid.AppendWindow(5, 4, 10, all);
  EXPECT_EQ(all, (std::vector<int32_t>{1, 0, 3, 2, 6}));
}

TEST(ScreenGrid, WindowIsClampedAtTheTopLeftAndKeepsItsSize) {
  // One vertex in every cell that can hold one, in column order.
  Tvertices points;
  for (int x = 1; x < kWidth; ++x) {
    for (int y = 1; y < kHeight; ++y) points.push_back(AtWindow(x, y));
  }
  const TScreenGrid grid = BuildFrom(points);
  auto window = [&](int cx, int cy, int r) {
    std::vector<int32_t> found, cells;
    grid.AppendWindow(cx, cy, r, found);
    for (int32_t v : found) cells.push_back(static_cast<int32_t>((v / 7 + 1) * 10 + v % 7 + 1));
    return cells;
  };
  // R = 2 at (5, 4): columns 3..6, rows 2..5, columns outer.
  std::vector<int32_t> expected;
  for (int x = 3; x <= 6; ++x) {
    for (int y = 2; y <= 5; ++y) expected.push_back(x * 10 + y);
  }
  EXPECT_EQ(window(5, 4, 2), expected);
  // Near the left and top edges the window runs from 0 to 2R - 1.
  EXPECT_EQ(window(1, 2, 2), (std::vector<int32_t>{11, 12, 13, 21, 22, 23, 31, 32, 33}));
  // At the right and bottom it is cut at the grid; beyond it, nothing.
  EXPECT_EQ(window(9, 7, 1), (std::vector<int32_t>{86, 87, 96, 97}));
  EXPECT_TRUE(window(40, 40, 2).empty());
  EXPECT_TRUE(window(5, 4, 0).empty());
}

TEST(ScreenGrid, MirrorGridUsesTheMirrorSetup) {
  TGeosphera e = MakeElement({AtWindow(2, 3), AtWindow(7, 5)}, {});
  TProjectionSetup mirror = IdentitySetup();
  mirror.projection[0] = -1;  // x mirrored: window x -> width - x
  TScreenGrid main, mirrored;
  BuildScreenGrid(e, IdentitySetup(), mirror, kWidth, kHeight, main, mirrored);
  EXPECT_EQ(main.Cell(2, 3), (std::vector<int32_t>{0}));
  EXPECT_EQ(mirrored.Cell(8, 3), (std::vector<int32_t>{0}));
  EXPECT_EQ(mirrored.Cell(3, 5), (std::vector<int32_t>{1}));
  // A rebuild for a narrower panel drops what no longer fits.
  main.Build(e.vertices, e.vertexCount, IdentitySetup(), 5, kHeight);
  std::vector<int32_t> all;
  main.AppendWindow(2, 4, 8, all);
  EXPECT_EQ(all, (std::vector<int32_t>{0}));
}

}  // namespace

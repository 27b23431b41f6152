#include "sculpt/stamp.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/test_meshes.h"
#include "sculpt/brush_dispatch.h"

namespace {

// A picture of w x h pixels, RGB, each pixel from f(x, yFromTop).
template <typename F>
TImagePixels Picture(int w, int h, F f) {
  TImagePixels p{w, h, 3, {}};
  p.pixels.resize(static_cast<size_t>(w * h * 3));
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const TRGBA c = f(x, y);
      uint8_t* px = &p.pixels[static_cast<size_t>(((h - 1 - y) * w + x) * 3)];
      px[0] = c.r;
      px[1] = c.g;
      px[2] = c.b;
    }
  }
  return p;
}

TEST(StampCoordinate, SphericalProjectionOnceAndTenTimes) {
  struct Case {
    TGLCoord p;
    TGLUV once, tenTimes;
  };
  const Case cases[] = {
      {{1, 0, 0}, {0, 0.5f}, {0, 0}},              // longitude 0 on the equator
      {{0, 0, 1}, {0.75f, 0.5f}, {0.5f, 0}},       // a quarter turn
      {{-1, 0, 0}, {0.5f, 0.5f}, {0, 0}},          // half a turn
      {{0, -1, 1}, {0.75f, 0.25f}, {0.5f, 0.5f}},  // latitude 45 degrees (b = -y)
      {{1, 0, -1}, {0.125f, 0.5f}, {0.25f, 0}},    // longitude -45 degrees
      {{2, 1, 0}, {0, 0.5f + static_cast<float>(std::atan(0.5) / M_PI)}, {0, 0.4758362f}},
  };
  for (const Case& c : cases) {
    const TGLUV once = StampCoordinate(c.p, {}, 1), ten = StampCoordinate(c.p, {}, 10);
    EXPECT_NEAR(once.u, c.once.u, 1e-6f) << c.p.x << " " << c.p.y << " " << c.p.z;
    EXPECT_NEAR(once.v, c.once.v, 1e-6f) << c.p.x << " " << c.p.y << " " << c.p.z;
    EXPECT_NEAR(ten.u, c.tenTimes.u, 1e-5f) << c.p.x << " " << c.p.y << " " << c.p.z;
    EXPECT_NEAR(ten.v, c.tenTimes.v, 1e-5f) << c.p.x << " " << c.p.y << " " << c.p.z;
  }
}

// The origin's components enter crossed (a = x - O.z, b = -y - O.y, c = z + O.x);
// straight above the origin and at the origin itself the mapping stays finite.
TEST(StampCoordinate, CrossedOriginAndThePointsAboveIt) {
  const TGLCoord origin{1, 2, 3};
  const TGLUV quarter = StampCoordinate({3, -2, 0}, origin, 1);  // a = 0, b = 0, c = 1
  EXPECT_NEAR(quarter.u, 0.75f, 1e-6f);
  EXPECT_NEAR(quarter.v, 0.5f, 1e-6f);
  const TGLUV above = StampCoordinate({3, -5, -1}, origin, 10);  // a = c = 0, b = 3
  EXPECT_EQ(above.u, 0.0f);
  EXPECT_EQ(above.v, 0.0f);
  const TGLUV below = StampCoordinate({3, 1, -1}, origin, 1);  // a = c = 0, b = -3
  EXPECT_EQ(below.u, 0.0f);
  EXPECT_EQ(below.v, 0.0f);  // D = 1, whose fraction is 0
  const TGLUV at = StampCoordinate({3, -2, -1}, origin, 1);
  EXPECT_TRUE(std::isfinite(at.u) && std::isfinite(at.v));
}

TEST(StampGrid, SamplesTheResampledPictureFromTheTop) {
  // 4 x 2: the top row's blue grows with the column, the bottom row is blue.
  const TImagePixels picture = Picture(4, 2, [](int x, int y) {
    return TRGBA{0, 0, static_cast<uint8_t>(y == 0 ? 60 * x : 255), 255};
  });
  const std::vector<int32_t> grid = SampleStampGrid(picture, 2, 2);
  // Columns 0, 2, 3 (one past the edge repeats it); rows 0, 1, 1. Heights are
  // 65536 B / 10000: 0, 786, 1179 on top, 1671 below.
  const std::vector<int32_t> expected = {0, 1671, 1671, 786, 1671, 1671, 1179, 1671, 1671};
  EXPECT_EQ(grid, expected);
  EXPECT_EQ(SampleStampGrid(picture, 0, 2), std::vector<int32_t>{});
  EXPECT_EQ(SampleStampGrid(TImagePixels{}, 2, 2), std::vector<int32_t>{});
}

// An all-white stamp lifts every vertex by 1677 x 4 x s along its normal, at the
// rim too; an all-black one moves nothing.
TEST(StampGrid, WhiteLiftsByItsFullHeightAndBlackMovesNothing) {
  for (const uint8_t level : {uint8_t{255}, uint8_t{0}}) {
    TGeosphera e = MakeElement({{0, 0, 1}, {1, 0, 1}, {0, 1, 1}}, {});
    e.normals.assign(3, TGLCoord{0, 0, 1});
    TStampSampler stamp;
    stamp.width = stamp.height = 8;
    stamp.heights = SampleStampGrid(Picture(16, 16,
                                            [level](int, int) {
                                              return TRGBA{level, level, level, 255};
                                            }),
                                    8, 8);
    CoverElement(stamp, e, {});
    TBrushFrame frame;
    frame.radius = 1;
    frame.strength = 15.0f / 10000000;
    frame.direct.entries = {{0, 0}, {1, 1}, {2, 1}};
    frame.direct.pickedVertex = 0;
    ApplyBrush(e, frame, TBrushTool{TBrushTarget::Shape, kSculptStamp, {}, &stamp});
    const float lift = level == 255 ? 1677 * 4 * frame.strength : 0;
    for (const TGLCoord& p : e.vertices) EXPECT_NEAR(p.z, 1 + lift, 1e-6f) << int(level);
  }
}

TEST(StampCoords, RecomputedOnlyWhenFewerThanTheVertices) {
  TGeosphera e = MakeElement({{1, 0, 0}, {0, 0, 1}}, {});
  TStampSampler stamp;
  CoverElement(stamp, e, {{}, 1});
  ASSERT_EQ(stamp.coords.size(), 2u);
  EXPECT_NEAR(stamp.coords[1].u, 0.75f, 1e-6f);
  stamp.coords[0] = {0.3f, 0.3f};
  CoverElement(stamp, e, {{}, 1});  // enough: kept
  EXPECT_EQ(stamp.coords[0], (TGLUV{0.3f, 0.3f}));
  e = MakeElement({{1, 0, 0}, {0, 0, 1}, {-1, 0, 0}}, {});  // a vertex more, as after Subdivide
  CoverElement(stamp, e, {{}, 1});
  ASSERT_EQ(stamp.coords.size(), 3u);
  EXPECT_EQ(stamp.coords[0], (TGLUV{0, 0.5f}));
  EXPECT_NEAR(stamp.coords[2].u, 0.5f, 1e-6f);
}

TEST(StampReader, ExtensionsComparedExactly) {
  const std::pair<const char*, StampReader> cases[] = {
      {"a.bmp", StampReader::Bitmap},   {"a.BMP", StampReader::Bitmap}, {"a.jpg", StampReader::Jpeg},
      {"a.jpeg", StampReader::Jpeg},    {"a.JPG", StampReader::None},   {"a.png", StampReader::Png},
      {"a.PNG", StampReader::Png},      {"a.gif", StampReader::Gif},    {"a.tif", StampReader::Generic},
      {"a.tiff", StampReader::Generic}, {"a.Bmp", StampReader::None},   {"dir.png/a", StampReader::None},
      {"a.tga", StampReader::None},
  };
  for (const auto& [name, reader] : cases) EXPECT_EQ(StampReaderOfName(name), reader) << name;
}

}  // namespace

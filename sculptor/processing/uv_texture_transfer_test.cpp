#include "processing/uv_texture_transfer.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/test_meshes.h"
#include "processing/uv_create.h"

// The texel under a corner's coordinate becomes its vertex's colour; the
// samples never leave the image, also at u = 1 and v = 0.
TEST(UvTextureTransfer, SamplesTheTexelUnderEachCorner) {
  constexpr int kSize = 4;
  std::vector<uint8_t> image(kSize * kSize * 3);
  for (int row = 0; row < kSize; ++row) {
    for (int column = 0; column < kSize; ++column) {
      uint8_t* texel = &image[static_cast<size_t>((row * kSize + column) * 3)];
      texel[0] = static_cast<uint8_t>(column);
      texel[1] = static_cast<uint8_t>(row);
      texel[2] = 99;
    }
  }
  struct Case {
    TGLUV uv;
    int column, row;  // rows counted from the bottom
  };
  const Case cases[] = {
      {{0.5f, 0.5f}, 2, 1},     {{0.0f, 0.0f}, 0, 0},     {{1.0f, 1.0f}, 3, 3},
      {{0.125f, 0.375f}, 0, 1}, {{0.375f, 0.625f}, 2, 1},  // halves round to even
      {{-0.5f, 2.0f}, 0, 3},    {{NAN, NAN}, 0, 0},
  };
  for (const Case& c : cases) {
    std::vector<TRGBA> colors(1);
    const uint32_t faces[] = {0};
    SampleTextureIntoColors({image, kSize}, faces, {}, std::span(&c.uv, 1), colors);
    EXPECT_EQ(colors[0], (TRGBA{static_cast<uint8_t>(c.column), static_cast<uint8_t>(c.row), 99, 255}))
        << c.uv.u << ", " << c.uv.v;
  }
}

// Corners that share a vertex but not a texture coordinate get a vertex each;
// the first pair met keeps the vertex and repeats reuse theirs.
TEST(UvTextureTransfer, CornersSplitPerTextureCoordinate) {
  TGeosphera e = MakeElement({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {0, 1, 2, 0, 2, 3, 2, 1, 0});
  e.colors[2] = {1, 2, 3, 4};
  e.normals.assign(4, TGLCoord{0, 0, 1});
  e.uvs = {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0.5f, 0.5f}};
  e.uvFaces = {0, 1, 2, 0, 4, 3, 4, 1, 0};
  SplitElementByTextureCorner(e);
  EXPECT_EQ(e.faces, (Tfaces{0, 1, 2, 0, 4, 3, 4, 1, 0}));
  ASSERT_EQ(e.vertexCount, 5);
  EXPECT_EQ(e.vertices[4], e.vertices[2]);
  EXPECT_EQ(e.colors[4], e.colors[2]);
  EXPECT_EQ(e.uvs[2], (TGLUV{1, 1}));
  EXPECT_EQ(e.uvs[4], (TGLUV{0.5f, 0.5f}));
  EXPECT_EQ(e.uvFaces, e.faces);

  const TGeosphera once = e;
  SplitElementByTextureCorner(e);
  EXPECT_EQ(e.vertices, once.vertices);
  EXPECT_EQ(e.faces, once.faces);
}

// The texture panel's canvas and drawing in texture space, in a real GL
// context (Mesa under Xvfb).
#include "render/texture_space.h"

#include <gtest/gtest.h>

#include "render/offscreen_gl_test.h"
#include "render/panel_centro_tex.h"

namespace {

constexpr int kSize = 64;
constexpr TRGBA kRed{255, 0, 0, 255};

using TextureSpace = OffscreenGlTest;

std::array<uint8_t, 3> Texel(const AByte& rgb, int x, int y) {
  const size_t at = (static_cast<size_t>(y) * kSize + static_cast<size_t>(x)) * 3;
  return {rgb[at], rgb[at + 1], rgb[at + 2]};
}

constexpr std::array<uint8_t, 3> kRedTexel{255, 0, 0};
constexpr std::array<uint8_t, 3> kWhiteTexel{255, 255, 255};

// One red triangle over texels (16..48, 16..48) and a second one whose
// corner names a missing vertex.
TScene OneTriangle() {
  TScene scene;
  TGeosphera& e = scene.elements.emplace_back();
  e.vertices.resize(3);
  e.colors.assign(3, kRed);
  e.vertexCount = 3;
  e.uvs = {{0.25f, 0.25f}, {0.75f, 0.25f}, {0.5f, 0.75f}};
  e.faces = {0, 1, 2, 0, 1, 7};
  e.indexCount = 6;
  return scene;
}

}  // namespace

// The canvas is a context of its own; the one current before comes back.
TEST_F(TextureSpace, CanvasDrawsInItsOwnContextAndReadsBack) {
  PanelCentroTex canvas;
  ASSERT_TRUE(canvas.Begin(kSize));
  EXPECT_NE(QOpenGLContext::currentContext(), &context_);
  AByte rgb;
  canvas.ReadPixels(rgb);
  ASSERT_EQ(rgb.size(), size_t{kSize} * kSize * 3);
  EXPECT_EQ(Texel(rgb, 5, 5), kWhiteTexel);  // a new canvas is white
  glClearColor(0, 0, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  canvas.ReadPixels(rgb);
  canvas.End();
  EXPECT_EQ(QOpenGLContext::currentContext(), &context_);
  EXPECT_EQ(Texel(rgb, 5, 5), (std::array<uint8_t, 3>{0, 0, 255}));
  EXPECT_FALSE(canvas.Begin(1 << 20));  // beyond any renderbuffer
  EXPECT_EQ(QOpenGLContext::currentContext(), &context_);
}

// Triangles land at their texture coordinates (rows bottom-up), their
// outlines bleed past the border, and the rest of the canvas keeps its image.
TEST_F(TextureSpace, VertexPaintLandsAtTheTextureCoordinates) {
  PanelCentroTex canvas;
  ASSERT_TRUE(canvas.Begin(kSize));
  const AByte blue = [] {
    AByte image(size_t{kSize} * kSize * 3, 0);
    for (size_t i = 2; i < image.size(); i += 3) image[i] = 255;
    return image;
  }();
  DrawImageOverPanel(blue.data(), kSize, kSize);
  DrawSceneInTextureSpace(OneTriangle(), kSize);
  AByte rgb;
  canvas.ReadPixels(rgb);
  canvas.End();
  EXPECT_EQ(Texel(rgb, 32, 30), kRedTexel);  // inside
  EXPECT_EQ(Texel(rgb, 32, 14), kRedTexel);  // two texels below the lower edge
  EXPECT_EQ(Texel(rgb, 32, 8), (std::array<uint8_t, 3>{0, 0, 255}));
  EXPECT_EQ(Texel(rgb, 5, 60), (std::array<uint8_t, 3>{0, 0, 255}));
}

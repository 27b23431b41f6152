// Texture uploads in a real GL context (Mesa under Xvfb).
#include "render/texture_upload.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <memory>

#include "io/test_files.h"
#include "model/messages.h"

namespace {

class TextureUpload : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "texture_tests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
  }
  void SetUp() override {
    surface_.create();
    ASSERT_TRUE(context_.create());
    ASSERT_TRUE(context_.makeCurrent(&surface_));
    textureNameCounter = 0;
  }
  void TearDown() override { context_.doneCurrent(); }

  QOffscreenSurface surface_;
  QOpenGLContext context_;
};

TImagePixels Picture(int width, int height, int channels) {
  TImagePixels image{width, height, channels, {}};
  for (int i = 0; i < width * height * channels; ++i) image.pixels.push_back(static_cast<uint8_t>(7 * i + 1));
  return image;
}

}  // namespace

// RGB rows of an odd width arrive unsheared; RGBA textures get their mipmaps.
TEST_F(TextureUpload, PixelsArriveAsTheyAre) {
  const TImagePixels rgb = Picture(3, 2, 3);
  const GLuint name = CreateTexture(rgb, GL_TEXTURE_2D, GL_LINEAR, GL_LINEAR, 0);
  ASSERT_NE(name, 0u);
  AByte back(rgb.pixels.size());
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, back.data());
  EXPECT_EQ(back, rgb.pixels);

  CreateTexture(Picture(4, 4, 4), GL_TEXTURE_2D, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, 0);
  GLint width = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 2, GL_TEXTURE_WIDTH, &width);
  EXPECT_EQ(width, 1);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// The first nine textures of a run get names of their own, later ones take
// the current element's name.
TEST_F(TextureUpload, TenthTextureReusesTheElementsName) {
  std::vector<GLuint> names;
  for (int i = 0; i < 10; ++i)
    names.push_back(CreateTexture(Picture(1, 1, 3), GL_TEXTURE_2D, GL_LINEAR, GL_LINEAR, 77));
  for (int i = 0; i < 9; ++i) {
    EXPECT_NE(names[static_cast<size_t>(i)], 77u);
    for (int j = 0; j < i; ++j) EXPECT_NE(names[static_cast<size_t>(i)], names[static_cast<size_t>(j)]);
  }
  EXPECT_EQ(names[9], 77u);
}

TEST_F(TextureUpload, FailedLoadKeepsTheName) {
  CapturingMessageSink sink;
  TempDir dir;
  GLuint name = 5;
  EXPECT_FALSE(LoadTextureFile(dir.File("missing.bmp"), name, GL_TEXTURE_2D, GL_LINEAR, GL_LINEAR, 0));
  EXPECT_EQ(name, 5u);
  EXPECT_EQ(sink.Texts(), std::vector<std::string>{"Error opening " + dir.File("missing.bmp")});
  EXPECT_EQ(textureNameCounter, 0);
}

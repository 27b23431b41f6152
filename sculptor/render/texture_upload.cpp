#include "render/texture_upload.h"

#include <GL/glu.h>

#include "io/image_loader.h"

int textureNameCounter = 0;

namespace {

constexpr int kFreshNames = 9;

// Uploads the pixels to `target` (a 2D texture or one face of a cube map):
// RGBA with its whole mipmap chain, RGB as level 0 only.
void UploadPixels(const TImagePixels& image, GLenum target) {
  // Rows are packed without padding (an RGB row of an odd width is no
  // multiple of 4 bytes).
  GLint alignment = 4;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  if (image.channels == 4) {
    gluBuild2DMipmaps(target, GL_RGBA8, image.width, image.height, GL_RGBA, GL_UNSIGNED_BYTE, image.pixels.data());
  } else {
    glTexImage2D(target, 0, GL_RGB, image.width, image.height, 0, GL_RGB, GL_UNSIGNED_BYTE, image.pixels.data());
  }
  glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
}

}  // namespace

GLuint CreateTexture(const TImagePixels& image, GLenum target, GLint minFilter, GLint magFilter,
                     GLuint currentTextureId) {
  GLuint name = currentTextureId;
  if (textureNameCounter < kFreshNames) {
    glGenTextures(1, &name);
    ++textureNameCounter;
  }
  glBindTexture(target, name);
  glTexParameteri(target, GL_TEXTURE_MAG_FILTER, magFilter);
  glTexParameteri(target, GL_TEXTURE_MIN_FILTER, minFilter);
  UploadPixels(image, target);
  return name;
}

bool LoadTextureFile(const std::string& fileName, GLuint& textureName, GLenum target, GLint minFilter, GLint magFilter,
                     GLuint currentTextureId) {
  const TImageLoad load = LoadTextureImage(fileName);
  if (!load.ok) return false;
  textureName = CreateTexture(load.image, target, minFilter, magFilter, currentTextureId);
  return true;
}

bool LoadCubeMapFace(const std::string& fileName, GLenum faceTarget) {
  const TImageLoad load = LoadTextureImage(fileName);
  if (load.ok) UploadPixels(load.image, faceTarget);
  return load.ok;
}

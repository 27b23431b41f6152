// PanelCentro: the pictures over the viewport (projection stencil, reference
// image) as textures, and the stencil buffer the stroke reads.
#include "io/image_loader.h"
#include "render/panel_centro.h"

std::optional<TRGBA> PanelCentro::StencilPixel(int column, int row) {
  if (column < 0 || row < 0 || column >= framebufferWidth() || row >= framebufferHeight()) return std::nullopt;
  if (!glReady_ || overlayFramebuffer() == 0 || inputs_.stencil.texture == 0) return std::nullopt;
  const std::array<uint8_t, 3> rgb = ReadOverlayPixel(column, row);
  return TRGBA{rgb[0], rgb[1], rgb[2], 255};
}

bool PanelCentro::LoadOverlayTexture(const QString& fileName, uint32_t& texture) {
  const TImageLoad load = LoadTextureImage(fileName.toStdString());  // shows a refusal
  if (!load.ok || !glReady_) return false;
  makeCurrent();
  const TImagePixels& image = load.image;
  if (texture == 0) glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  GLint alignment = 4;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);  // rows without padding
  const GLenum format = image.channels == 4 ? GL_RGBA : GL_RGB;
  glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), image.width, image.height, 0, format, GL_UNSIGNED_BYTE,
               image.pixels.data());
  glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
  requestRedraw();
  return true;
}

void PanelCentro::DeleteOverlayTexture(uint32_t& texture) {
  if (texture != 0 && glReady_) {
    makeCurrent();
    glDeleteTextures(1, &texture);
  }
  texture = 0;
}

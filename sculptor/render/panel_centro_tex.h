// The texture panel: an OpenGL context of its own, apart from the viewport's,
// drawing into a square off-screen target one texture image in size. Texture
// images are rasterised on it and read back; it is never on screen (a side
// reaches 4096 texels).
#pragma once

#include <QOffscreenSurface>
#include <QOpenGLContext>

#include "model/geosphera.h"

class PanelCentroTex {
 public:
  PanelCentroTex();
  ~PanelCentroTex();
  PanelCentroTex(const PanelCentroTex&) = delete;
  PanelCentroTex& operator=(const PanelCentroTex&) = delete;

  // Makes the panel's context current, drawing into a target of `size`
  // texels a side (made white when new), with the viewport on all of it and
  // the projection glOrtho(0, size, 0, size, -100, 100). False when no
  // context or target can be had; nothing is current then.
  bool Begin(int size);
  // The target's texels: size x size RGB, rows bottom-up.
  void ReadPixels(AByte& rgb) const;
  // Gives the context that was current before Begin back.
  void End();

  int size() const { return size_; }
  QOpenGLContext& context() { return context_; }

 private:
  bool MakeTarget(int size);
  void DeleteTarget();

  QOffscreenSurface surface_;
  QOpenGLContext context_;
  unsigned framebuffer_ = 0, color_ = 0, depth_ = 0;
  int size_ = 0;
  QOpenGLContext* previous_ = nullptr;
  QSurface* previousSurface_ = nullptr;
};

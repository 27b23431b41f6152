// The texture panel: a second GL widget with a context of its own, the canvas
// on which texture images are rasterised and read back.
#pragma once

#include <QOpenGLWidget>
#include <functional>

class PanelCentroTex : public QOpenGLWidget {
  Q_OBJECT

 public:
  // Draws the panel's content with the panel's context current (size in
  // framebuffer pixels).
  using Painter = std::function<void(int width, int height)>;

  explicit PanelCentroTex(QWidget* parent);
  void SetPainter(Painter painter);
  // Framebuffer object to bind for drawing and reading back (never 0).
  unsigned framebuffer() const { return defaultFramebufferObject(); }

 protected:
  void initializeGL() override;
  void paintGL() override;

 private:
  Painter painter_;
};

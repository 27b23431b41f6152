#include "render/panel_centro_tex.h"

#include <GL/gl.h>

#include <cmath>

PanelCentroTex::PanelCentroTex(QWidget* parent) : QOpenGLWidget(parent) {
  setObjectName("PanelCentroTex");
}

void PanelCentroTex::SetPainter(Painter painter) {
  painter_ = std::move(painter);
  update();
}

void PanelCentroTex::initializeGL() {
  glClearColor(1, 1, 1, 1);
  glDisable(GL_DITHER);
}

void PanelCentroTex::paintGL() {
  const int w = static_cast<int>(std::lround(width() * devicePixelRatioF()));
  const int h = static_cast<int>(std::lround(height() * devicePixelRatioF()));
  glViewport(0, 0, w, h);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  if (painter_) painter_(w, h);
}

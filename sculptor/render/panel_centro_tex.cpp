#include "render/panel_centro_tex.h"

#include <GL/gl.h>
#include <GL/glext.h>

PanelCentroTex::PanelCentroTex() = default;

PanelCentroTex::~PanelCentroTex() {
  if (framebuffer_ != 0 && context_.makeCurrent(&surface_)) {
    DeleteTarget();
    context_.doneCurrent();
  }
}

bool PanelCentroTex::Begin(int size) {
  previous_ = QOpenGLContext::currentContext();
  previousSurface_ = previous_ != nullptr ? previous_->surface() : nullptr;
  if (!surface_.isValid()) surface_.create();
  if (!context_.isValid() && !context_.create()) return false;
  if (!context_.makeCurrent(&surface_)) return false;
  if ((size != size_ || framebuffer_ == 0) && !MakeTarget(size)) {
    End();
    return false;
  }
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
  glViewport(0, 0, size, size);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, size, 0, size, -100, 100);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  return true;
}

bool PanelCentroTex::MakeTarget(int size) {
  DeleteTarget();
  GLint largest = 0;
  glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &largest);
  if (size <= 0 || size > largest) return false;
  glGenFramebuffers(1, &framebuffer_);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
  glGenRenderbuffers(1, &color_);
  glBindRenderbuffer(GL_RENDERBUFFER, color_);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, size, size);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, color_);
  glGenRenderbuffers(1, &depth_);
  glBindRenderbuffer(GL_RENDERBUFFER, depth_);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, size, size);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth_);
  if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    DeleteTarget();
    return false;
  }
  size_ = size;
  glDisable(GL_DITHER);
  glClearColor(1, 1, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  return true;
}

void PanelCentroTex::DeleteTarget() {
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  if (framebuffer_ != 0) glDeleteFramebuffers(1, &framebuffer_);
  for (unsigned* buffer : {&color_, &depth_}) {
    if (*buffer != 0) glDeleteRenderbuffers(1, buffer);
    *buffer = 0;
  }
  framebuffer_ = 0;
  size_ = 0;
}

void PanelCentroTex::ReadPixels(AByte& rgb) const {
  const size_t side = static_cast<size_t>(size_);
  rgb.resize(side * side * 3);
  glFinish();
  glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glPixelStorei(GL_PACK_ROW_LENGTH, 0);
  glReadPixels(0, 0, size_, size_, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
}

void PanelCentroTex::End() {
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  if (previous_ != nullptr && previousSurface_ != nullptr) {
    previous_->makeCurrent(previousSurface_);
  } else {
    context_.doneCurrent();
  }
  previous_ = nullptr;
  previousSurface_ = nullptr;
}

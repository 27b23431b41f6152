// GPU objects of the viewport created at GL start-up: environment cube map,
// brush textures, shadow-map target, overlay framebuffer.
#include <GL/gl.h>
#include <GL/glext.h>

#include <QImageReader>
#include <algorithm>

#include "model/messages.h"
#include "render/element_buffers.h"
#include "render/panel_centro.h"
#include "render/texture_upload.h"

namespace {

constexpr int kShadowMapSize = 2048;

constexpr std::array<const char*, 6> kCubeFaces{"xpos.jpg", "xneg.jpg", "ypos.jpg",
                                                "yneg.jpg", "zpos.jpg", "zneg.jpg"};
constexpr std::array<const char*, 8> kBrushImages{"round.tga",   "soft.tga",  "diffuse.tga",
                                                  "disform.tga", "stones.tga", "lines.tga",
                                                  "disc.tga",    "star.tga"};

void SetLinearFilters(GLenum target) {
  glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

void DeleteTexture(uint32_t& name) {
  if (name != 0) glDeleteTextures(1, &name);
  name = 0;
}

}  // namespace

bool EnvironmentImagesReadable(const QString& programDir) {
  return std::all_of(kCubeFaces.begin(), kCubeFaces.end(), [&programDir](const char* face) {
    return QImageReader(programDir + QStringLiteral("/images/") + face).canRead();
  });
}

void PanelCentro::LoadTextures() {
  const std::string images = (programDir_ + QStringLiteral("/images/")).toStdString();
  // The textures of an earlier context died with it: the brush images get
  // fresh names again.
  textureNameCounter = 0;
  glGenTextures(1, &cubeMap_);
  glBindTexture(GL_TEXTURE_CUBE_MAP, cubeMap_);
  bool allFaces = true;
  for (size_t k = 0; k < kCubeFaces.size(); ++k) {
    allFaces &= LoadCubeMapFace(images + kCubeFaces[k], GL_TEXTURE_CUBE_MAP_POSITIVE_X + static_cast<GLenum>(k));
  }
  SetLinearFilters(GL_TEXTURE_CUBE_MAP);
  glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
  if (!allFaces) startupError_ = QString::fromUtf8(kEnvironmentImagesMissing);

  // A missing brush image leaves its texture name 0; only the cube map is vital.
  for (size_t k = 0; k < kBrushImages.size(); ++k) {
    LoadTextureFile(images + kBrushImages[k], brushTextures_[k], GL_TEXTURE_2D, GL_LINEAR, GL_LINEAR, 0);
  }
  glGenTextures(1, &depthViewTexture_);
  glBindTexture(GL_TEXTURE_2D, 0);
}

void PanelCentro::CreateShadowTarget() {
  glGenTextures(1, &shadowTexture_);
  glBindTexture(GL_TEXTURE_2D, shadowTexture_);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT24, kShadowMapSize, kShadowMapSize, 0,
               GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, nullptr);
  SetLinearFilters(GL_TEXTURE_2D);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_DEPTH_TEXTURE_MODE, GL_LUMINANCE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, GL_COMPARE_R_TO_TEXTURE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_FUNC, GL_LEQUAL);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  for (GLenum coord : {GL_S, GL_T, GL_R, GL_Q}) glTexGeni(coord, GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
  glPolygonOffset(2, 2);
  glGenTextures(1, &whiteTexture_);
  glBindTexture(GL_TEXTURE_2D, whiteTexture_);
  const uint8_t white[4] = {255, 255, 255, 255};
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
  // The depth pass renders straight into the shadow texture: a target of its
  // own, so the map never depends on the size of the window.
  glGenFramebuffers(1, &shadowFbo_);
  glBindFramebuffer(GL_FRAMEBUFFER, shadowFbo_);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D, shadowTexture_, 0);
  glDrawBuffer(GL_NONE);
  glReadBuffer(GL_NONE);
  glBindFramebuffer(GL_FRAMEBUFFER, defaultFramebufferObject());
  glBindTexture(GL_TEXTURE_2D, 0);
}

void PanelCentro::CreateOverlayFramebuffer(int width, int height) {
  if (overlayFbo_ != 0) glDeleteFramebuffers(1, &overlayFbo_);
  if (overlayDepth_ != 0) glDeleteRenderbuffers(1, &overlayDepth_);
  DeleteTexture(overlayColor_);
  overlayFbo_ = overlayDepth_ = 0;
  width = std::max(width, 1);
  height = std::max(height, 1);

  glGenTextures(1, &overlayColor_);
  glBindTexture(GL_TEXTURE_2D, overlayColor_);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glBindTexture(GL_TEXTURE_2D, 0);
  glGenRenderbuffers(1, &overlayDepth_);
  glBindRenderbuffer(GL_RENDERBUFFER, overlayDepth_);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT, width, height);
  glBindRenderbuffer(GL_RENDERBUFFER, 0);

  glGenFramebuffers(1, &overlayFbo_);
  glBindFramebuffer(GL_FRAMEBUFFER, overlayFbo_);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, overlayColor_, 0);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, overlayDepth_);
  const GLenum drawBuffer = GL_COLOR_ATTACHMENT0;
  glDrawBuffers(1, &drawBuffer);
  const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
  glBindFramebuffer(GL_FRAMEBUFFER, defaultFramebufferObject());
  if (!complete) {
    glDeleteFramebuffers(1, &overlayFbo_);
    overlayFbo_ = 0;
    if (!glReady_) ShowError(kFramebufferIncomplete);  // reported once, at start-up
  }
}

void PanelCentro::ReleaseGl() {
  for (uint32_t* name : {&cubeMap_, &depthViewTexture_, &shadowTexture_, &whiteTexture_,
                         &overlayColor_}) {
    DeleteTexture(*name);
  }
  for (uint32_t& name : brushTextures_) DeleteTexture(name);
  for (uint32_t& name : elementTextures_) DeleteTexture(name);
  elementTextures_.clear();
  for (uint32_t* fbo : {&shadowFbo_, &overlayFbo_}) {
    if (*fbo != 0) glDeleteFramebuffers(1, fbo);
    *fbo = 0;
  }
  if (overlayDepth_ != 0) glDeleteRenderbuffers(1, &overlayDepth_);
  overlayDepth_ = 0;
  for (uint32_t& name : gizmoBuffers_) {
    if (name != 0) glDeleteBuffers(1, &name);
    name = 0;
  }
}

void PanelCentro::ReleaseGpuObjects() {
  if (!glReady_) return;
  makeCurrent();
  buffers_.DeleteAll();
  ReleaseGl();
  glReady_ = false;
}

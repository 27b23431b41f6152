#include "render/map_renders.h"

#include <GL/gl.h>

#include <QOpenGLFramebufferObject>
#include <algorithm>
#include <cstring>
#include <memory>

#include "render/panel_centro.h"

namespace {

void UploadEveryElement(TScene& scene) {
  for (int i = 0; i < scene.elementCount(); ++i) UploadElementBuffers(scene, i);
}

void ResetPackState(int alignment) {
  glPixelStorei(GL_PACK_ALIGNMENT, alignment);
  glPixelStorei(GL_PACK_ROW_LENGTH, 0);
  glPixelStorei(GL_PACK_SKIP_ROWS, 0);
  glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
}

// The rectangle of `framebuffer` as a top-down opaque image.
QImage ReadFramebufferRect(PanelCentro& view, uint32_t framebuffer, const TCaptureRect& rect) {
  if (rect.empty() || view.context() == nullptr) return {};
  // RGBA rows, bottom-up as GL counts them; the picture is opaque whatever
  // alpha the frame holds.
  QImage image(rect.width, rect.height, QImage::Format_RGBX8888);
  if (image.isNull()) return {};
  view.makeCurrent();
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glFinish();
  while (glGetError() != GL_NO_ERROR) {
  }
  ResetPackState(4);
  std::vector<uint8_t> pixels(static_cast<size_t>(rect.width) * static_cast<size_t>(rect.height) * 4);
  glReadPixels(rect.x, rect.y, rect.width, rect.height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  glBindFramebuffer(GL_FRAMEBUFFER, view.defaultFramebufferObject());
  if (glGetError() != GL_NO_ERROR) return {};
  const size_t rowBytes = static_cast<size_t>(rect.width) * 4;
  for (int row = 0; row < rect.height; ++row) {
    uint8_t* line = image.scanLine(rect.height - 1 - row);
    std::memcpy(line, pixels.data() + static_cast<size_t>(row) * rowBytes, rowBytes);
    for (size_t alpha = 3; alpha < rowBytes; alpha += 4) line[alpha] = 255;
  }
  return image;
}

// The depth the last depth-mode frame copied into the viewport's depth view
// texture, `width` x `height`, inverted as the depth map shows it (near
// bright), as a top-down 16-bit grey image; null when the texture has another
// size (no element was drawn in that mode).
QImage ReadDepthView(PanelCentro& view, int width, int height) {
  view.makeCurrent();
  glBindTexture(GL_TEXTURE_2D, view.depthViewTexture());
  GLint textureWidth = 0, textureHeight = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &textureWidth);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &textureHeight);
  QImage image;
  if (width > 0 && height > 0 && textureWidth == width && textureHeight == height) {
    while (glGetError() != GL_NO_ERROR) {
    }
    ResetPackState(2);
    std::vector<uint16_t> depth(static_cast<size_t>(width) * static_cast<size_t>(height));
    glGetTexImage(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, GL_UNSIGNED_SHORT, depth.data());
    if (glGetError() == GL_NO_ERROR) image = QImage(width, height, QImage::Format_Grayscale16);
    for (int row = 0; row < image.height(); ++row) {
      auto* line = reinterpret_cast<uint16_t*>(image.scanLine(height - 1 - row));
      const uint16_t* source = depth.data() + static_cast<size_t>(row) * static_cast<size_t>(width);
      for (int x = 0; x < width; ++x) line[x] = static_cast<uint16_t>(0xFFFF - source[x]);
    }
  }
  glBindTexture(GL_TEXTURE_2D, 0);
  return image;
}

TCaptureRect Scaled(const TCaptureRect& rect, int scale) {
  return {rect.x * scale, rect.y * scale, rect.width * scale, rect.height * scale};
}

// Where the maps are drawn and read: the viewport's own frame at scale 1, an
// offscreen framebuffer of `scale` times its size otherwise.
class MapTarget {
 public:
  MapTarget(PanelCentro& view, int scale)
      : view_(view),
        scale_(scale),
        rect_(Scaled(ScreenCaptureRect(view.framebufferWidth(), view.framebufferHeight()), scale)) {
    if (scale_ > 1 && !rect_.empty()) CreateFramebuffer();
  }
  ~MapTarget() {
    if (framebuffer_ == nullptr) return;
    view_.makeCurrent();
    framebuffer_.reset();
  }
  MapTarget(const MapTarget&) = delete;
  MapTarget& operator=(const MapTarget&) = delete;

  // Two frames in the viewport's current mode, as the special modes need one
  // to settle, then the capture rectangle read back (or the depth view as 16
  // bits); null when it could not be drawn or read.
  QImage DrawAndCapture(bool depth16) {
    if (rect_.empty() || (scale_ > 1 && framebuffer_ == nullptr)) return {};
    for (int frame = 0; frame < 2; ++frame) {
      if (framebuffer_ != nullptr) {
        view_.RenderSceneOffscreen(framebuffer_->handle(), scale_);
      } else {
        view_.RenderScene(view_.framebufferWidth(), view_.framebufferHeight());
      }
    }
    if (depth16) return ReadDepthView(view_, rect_.width, rect_.height);
    return ReadFramebufferRect(view_, framebuffer_ ? framebuffer_->handle() : view_.defaultFramebufferObject(), rect_);
  }

 private:
  // A colour texture and a packed depth-stencil buffer, as the viewport's own
  // framebuffer has; none when the size is beyond what GL can draw into.
  void CreateFramebuffer() {
    if (view_.context() == nullptr) return;
    view_.makeCurrent();
    const QSize size(view_.framebufferWidth() * scale_, view_.framebufferHeight() * scale_);
    GLint viewportMax[2] = {0, 0}, textureMax = 0, renderbufferMax = 0;
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewportMax);
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &textureMax);
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbufferMax);
    const int largest = std::min({viewportMax[0], viewportMax[1], textureMax, renderbufferMax});
    if (size.width() > largest || size.height() > largest) return;
    QOpenGLFramebufferObjectFormat format;
    format.setAttachment(QOpenGLFramebufferObject::CombinedDepthStencil);
    format.setInternalTextureFormat(GL_RGBA8);
    auto framebuffer = std::make_unique<QOpenGLFramebufferObject>(size, format);
    if (framebuffer->isValid()) framebuffer_ = std::move(framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, view_.defaultFramebufferObject());
  }

  PanelCentro& view_;
  const int scale_;
  const TCaptureRect rect_;
  std::unique_ptr<QOpenGLFramebufferObject> framebuffer_;
};

// What the sequence changes of the viewport besides the mode it draws, put
// back however it ends.
class ViewportSetAside {
 public:
  explicit ViewportSetAside(PanelCentro& view) : view_(view), state_(view.state()), inputs_(view.inputs()) {
    TRenderState& state = view.state();
    state.reflectionOn = state.shadowsOn = state.depthRenderOn = state.maskRenderOn = false;
    TViewportInputs& inputs = view.inputs();
    inputs.hoveredVertex = inputs.mirrorVertex = -1;
    inputs.screenSaveFrameShown = false;
  }
  ~ViewportSetAside() {
    TRenderState& state = view_.state();
    state.reflectionOn = state_.reflectionOn;
    state.shadowsOn = state_.shadowsOn;
    state.depthRenderOn = state_.depthRenderOn;
    state.maskRenderOn = state_.maskRenderOn;
    TViewportInputs& inputs = view_.inputs();
    inputs.hoveredVertex = inputs_.hoveredVertex;
    inputs.mirrorVertex = inputs_.mirrorVertex;
    inputs.screenSaveFrameShown = inputs_.screenSaveFrameShown;
  }
  ViewportSetAside(const ViewportSetAside&) = delete;
  ViewportSetAside& operator=(const ViewportSetAside&) = delete;

 private:
  PanelCentro& view_;
  const TRenderState state_;
  const TViewportInputs inputs_;
};

}  // namespace

TCaptureRect ScreenCaptureRect(int framebufferWidth, int framebufferHeight) {
  return {200, 40, framebufferWidth - 400, framebufferHeight - 80};
}

QImage CaptureRect(PanelCentro& view, const TCaptureRect& rect) {
  return ReadFramebufferRect(view, view.defaultFramebufferObject(), rect);
}

TVertexRgbBackup::TVertexRgbBackup(const TScene& scene) {
  rgb_.reserve(scene.elements.size());
  for (const TGeosphera& e : scene.elements) {
    std::vector<std::array<uint8_t, 3>>& saved = rgb_.emplace_back();
    saved.reserve(e.colors.size());
    for (const TRGBA& c : e.colors) saved.push_back({c.r, c.g, c.b});
  }
}

void TVertexRgbBackup::Restore(TScene& scene) const {
  const size_t count = std::min(rgb_.size(), scene.elements.size());
  for (size_t i = 0; i < count; ++i) {
    TCores& colors = scene.elements[i].colors;
    if (colors.size() != rgb_[i].size()) continue;
    for (size_t v = 0; v < colors.size(); ++v) {
      colors[v].r = rgb_[i][v][0];
      colors[v].g = rgb_[i][v][1];
      colors[v].b = rgb_[i][v][2];
    }
  }
}

void WhiteOutVertexColors(TScene& scene) {
  for (TGeosphera& e : scene.elements) {
    for (TRGBA& c : e.colors) c.r = c.g = c.b = 255;
  }
}

bool RenderMaps(PanelCentro& view, TScene& scene, const std::function<void(TMapKind, const QImage&)>& captured,
                const TMapRequest& request) {
  const TVertexRgbBackup saved(scene);
  UploadEveryElement(scene);
  bool ok = true;
  {
    MapTarget target(view, request.scale);
    const ViewportSetAside setAside(view);
    TRenderState& state = view.state();
    // Each map: its preparation (made also for a map not wanted, as later
    // maps build on it), its mode switched on, drawn, read, switched off.
    const auto map = [&](TMapKind kind, bool* mode, const std::function<void()>& prepare) {
      if (!ok) return;
      if (prepare) prepare();
      if ((request.maps & MapBit(kind)) == 0) return;
      if (mode != nullptr) *mode = true;
      const QImage image = target.DrawAndCapture(kind == TMapKind::Depth && request.depth16);
      if (mode != nullptr) *mode = false;
      ok = !image.isNull();
      if (ok) captured(kind, image);
    };
    map(TMapKind::Shaded, nullptr, {});
    map(TMapKind::Depth, &state.depthRenderOn, {});
    map(TMapKind::Reflect, &state.reflectionOn, [&scene] {
      WhiteOutVertexColors(scene);
      UploadEveryElement(scene);
    });
    map(TMapKind::Mask, &state.maskRenderOn, {});
    map(TMapKind::Shadow, &state.shadowsOn, {});
    // An occlusion still being computed shows in the colours of its element.
    map(TMapKind::AmbientOcclusion, nullptr, [&scene] {
      for (int i = 0; i < scene.elementCount(); ++i) {
        if (!scene.elements[static_cast<size_t>(i)].aoDiscs.empty()) UploadElementBuffers(scene, i);
      }
    });
  }
  saved.Restore(scene);
  UploadEveryElement(scene);
  view.requestRedraw();
  return ok;
}

#include "render/map_renders.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstring>

#include "render/panel_centro.h"

namespace {

void UploadEveryElement(TScene& scene) {
  for (int i = 0; i < scene.elementCount(); ++i) UploadElementBuffers(scene, i);
}

// Two frames, as the special modes need one to settle (the depth view copies
// the depth of the frame before), then the read.
QImage DrawAndCapture(PanelCentro& view, const TCaptureRect& rect) {
  const int width = view.framebufferWidth(), height = view.framebufferHeight();
  view.RenderScene(width, height);
  view.RenderScene(width, height);
  return CaptureRect(view, rect);
}

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
  if (rect.empty() || view.context() == nullptr) return {};
  view.makeCurrent();
  glBindFramebuffer(GL_FRAMEBUFFER, view.defaultFramebufferObject());
  glFinish();
  while (glGetError() != GL_NO_ERROR) {
  }
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glPixelStorei(GL_PACK_ROW_LENGTH, 0);
  glPixelStorei(GL_PACK_SKIP_ROWS, 0);
  glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
  // RGBA rows, bottom-up as GL counts them; the picture is opaque whatever
  // alpha the frame holds.
  QImage image(rect.width, rect.height, QImage::Format_RGBX8888);
  if (image.isNull()) return {};
  std::vector<uint8_t> pixels(static_cast<size_t>(rect.width) * static_cast<size_t>(rect.height) * 4);
  glReadPixels(rect.x, rect.y, rect.width, rect.height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  if (glGetError() != GL_NO_ERROR) return {};
  const size_t rowBytes = static_cast<size_t>(rect.width) * 4;
  for (int row = 0; row < rect.height; ++row) {
    uint8_t* line = image.scanLine(rect.height - 1 - row);
    std::memcpy(line, pixels.data() + static_cast<size_t>(row) * rowBytes, rowBytes);
    for (size_t alpha = 3; alpha < rowBytes; alpha += 4) line[alpha] = 255;
  }
  return image;
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

bool RenderMaps(PanelCentro& view, TScene& scene, const std::function<void(TMapKind, const QImage&)>& captured) {
  const TCaptureRect rect = ScreenCaptureRect(view.framebufferWidth(), view.framebufferHeight());
  const TVertexRgbBackup saved(scene);
  UploadEveryElement(scene);
  bool ok = true;
  {
    const ViewportSetAside setAside(view);
    TRenderState& state = view.state();
    // Each map: its mode switched on (and a preparation), drawn, read, switched off.
    const auto map = [&](TMapKind kind, bool* mode, const std::function<void()>& prepare) {
      if (!ok) return;
      if (mode != nullptr) *mode = true;
      if (prepare) prepare();
      const QImage image = DrawAndCapture(view, rect);
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

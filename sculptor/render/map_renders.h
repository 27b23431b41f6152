// Image renders of the current view: six maps (shaded, depth, reflection,
// mask, shadow, ambient occlusion), each drawn by the viewport in its special
// mode and read back from the capture rectangle of the framebuffer.
//
// The sequence whitens the vertex colours for the reflection, shadow and
// occlusion maps and gives every element its own R, G and B back at the end
// (alpha is never touched). The viewport's own display switches (reflection,
// shadows) are set aside while the maps are drawn and come back afterwards,
// so each map shows its own mode only; the brush cursor and the red capture
// frame are left out of the pictures.
#pragma once

#include <QImage>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "model/scene.h"

class PanelCentro;

// The maps, in the order they are drawn.
enum class TMapKind { Shaded, Depth, Reflect, Mask, Shadow, AmbientOcclusion };
inline constexpr int kMapCount = 6;

// The framed part of the viewport, in framebuffer pixels from the bottom-left:
// 200 pixels in from each side and 40 from the top and the bottom.
struct TCaptureRect {
  int x = 0, y = 0, width = 0, height = 0;
  bool empty() const { return width <= 0 || height <= 0; }
};
TCaptureRect ScreenCaptureRect(int framebufferWidth, int framebufferHeight);

// Reads the rectangle of the viewport's last frame (glReadPixels, RGBA) into a
// top-down image; a null image when the rectangle is empty or the read failed.
QImage CaptureRect(PanelCentro& view, const TCaptureRect& rect);

// The R, G, B bytes of every vertex colour of every element, to be put back.
class TVertexRgbBackup {
 public:
  explicit TVertexRgbBackup(const TScene& scene);
  // Puts the saved bytes back into the elements that still have as many colours.
  void Restore(TScene& scene) const;

 private:
  std::vector<std::vector<std::array<uint8_t, 3>>> rgb_;
};

// Every vertex colour of every element becomes white; alpha stays.
void WhiteOutVertexColors(TScene& scene);

// Draws and captures the six maps in turn; `captured` receives each map as it
// is read. Stops at the first capture that fails and returns false (the
// colours and switches are put back all the same).
bool RenderMaps(PanelCentro& view, TScene& scene, const std::function<void(TMapKind, const QImage&)>& captured);

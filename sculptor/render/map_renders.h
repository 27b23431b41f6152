// Image renders of the current view: six maps (shaded, depth, reflection,
// mask, shadow, ambient occlusion), each drawn by the viewport in its special
// mode and read back from the capture rectangle of the framebuffer.
//
// The maps are read from the viewport's own frame, or, for pictures of two or
// four times the size, drawn into an offscreen framebuffer of that size: the
// same view rendered with more pixels, not a scaled copy.
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
constexpr unsigned MapBit(TMapKind kind) { return 1u << static_cast<unsigned>(kind); }
inline constexpr unsigned kAllMaps = (1u << kMapCount) - 1;

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

// What RenderMaps draws.
struct TMapRequest {
  // 1: read from the viewport's frame; 2 or 4: pictures of that many times
  // the capture rectangle's width and height, from an offscreen framebuffer.
  int scale = 1;
  unsigned maps = kAllMaps;  // MapBit of each map wanted
  // The depth map as 16-bit grey levels (QImage::Format_Grayscale16, near
  // bright as in the 8-bit map) read from the depth buffer itself.
  bool depth16 = false;
};

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

// Draws and captures the requested maps in turn; `captured` receives each map
// as it is read. Stops at the first capture that fails (also an empty capture
// rectangle, or an offscreen framebuffer beyond what GL can make) and returns
// false; the colours and switches are put back all the same.
bool RenderMaps(PanelCentro& view, TScene& scene, const std::function<void(TMapKind, const QImage&)>& captured,
                const TMapRequest& request = {});

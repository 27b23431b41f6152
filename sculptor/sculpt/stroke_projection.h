// What a stroke needs of the viewport it runs on: the projection of model
// points to window positions and back, the depth under the cursor, and the
// camera set-ups that bin the vertices into the screen grids.
#pragma once

#include <cmath>
#include <optional>

#include "model/geosphera.h"
#include "sculpt/screen_grid.h"

// A window position: x and y from the top in framebuffer pixels, and the depth.
struct TScreenPoint {
  double x = 0, y = 0, depth = 0;
};

// A window coordinate as a pixel, rounded to nearest with halves to even;
// far-off values are clamped so the conversion stays defined.
inline int ToPixel(double value) {
  if (!(std::fabs(value) < 1e6)) return value > 0 ? 1000000 : -1000000;
  return static_cast<int>(std::nearbyint(value));
}

// The main camera's turn in degrees.
struct TViewAngles {
  double pitch = 0, yaw = 0;
};

// What the stroke needs of the viewport.
class StrokeProjection {
 public:
  virtual ~StrokeProjection() = default;
  // The model point under (x, y), read through the depth buffer of the last
  // frame (over the background a point far behind the model); nullopt when
  // it cannot be read or does not unproject.
  virtual std::optional<TGLCoord> PointUnderCursor(int x, int y) = 0;
  // The model point of (x, y) at window depth 0.
  virtual std::optional<TGLCoord> PointAtDepthZero(double x, double y) const = 0;
  // The window position of a model point under the last frame's matrices.
  virtual TScreenPoint Project(const TGLCoord& point) const = 0;
  // Draws a fresh frame and gives the main and the mirror camera's set-ups
  // (their viewports give the grid size), leaving the main camera's in force;
  // false while there is nothing to draw with yet.
  virtual bool CameraSetups(TProjectionSetup& main, TProjectionSetup& mirror) = 0;
  // Half the side in pixels of the screen window searched for the vertices of
  // a brush of `radius` model units, at the current view.
  virtual float BrushWindow(float radius) const = 0;
  // The main camera's pitch and yaw.
  virtual TViewAngles MainCameraAngles() const = 0;
};

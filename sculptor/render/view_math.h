// Camera state and the viewport's matrix arithmetic, free of any GL context:
// orthographic projection, the camera's modelview, project and unproject in
// the conventions of gluProject/gluUnProject, presets, the view label and the
// wheel zoom factors.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

// One viewing direction. Angles in degrees; the modelview rotates by `pitch`
// about X, then by -`yaw` about Y.
struct TCamera {
  double pitch = 0;
  double roll = 0;  // kept and reset with the others; only the view label reads it
  double yaw = 270;
  float panX = 0;
  float panY = 0;
};

// Column-major 4 x 4 matrix, as glGetDoublev returns it.
using TMatrix4 = std::array<double, 16>;
// x, y, width, height, as glGetIntegerv(GL_VIEWPORT) returns it.
using TViewport = std::array<int, 4>;

struct TWindowPoint {
  double x = 0, y = 0, depth = 0;
};

inline constexpr float kStartZoom = 20.0f;
inline constexpr float kDefaultZoomStep = 0.08f;
inline constexpr float kNearPlane = -100, kFarPlane = 500;
inline constexpr float kDepthRenderNear = -1, kDepthRenderFar = 24;
// Fixed zoom factor of the Up / Down keys, independent of the wheel's step.
inline constexpr float kKeyZoomStep = 0.08f;

// tan(17.5 degrees): half the height of the view at zoom 1.
double StartViewHalfHeight();
// halfHeight x round(w / 2) / round(h / 2); a panel of 1 pixel or less in
// height counts as 2 pixels so the result stays finite.
double ViewHalfWidthFor(double halfHeight, int width, int height);

// zoom after one wheel notch: away from the user (up) brings the view closer.
float WheelZoom(float zoom, float zoomStep, bool notchUp);

enum class ViewPreset { Front, Left, Right, Back };
// The presets of the view-position box in its order, and its item captions.
inline constexpr std::array<ViewPreset, 4> kViewPresets{ViewPreset::Front, ViewPreset::Left,
                                                        ViewPreset::Right, ViewPreset::Back};
const char* ViewPresetCaption(ViewPreset preset);
std::optional<ViewPreset> ViewPresetFromCaption(const std::string& caption);
// Sets pitch and roll of both cameras to 0 and the preset's yaws.
void ApplyViewPreset(ViewPreset preset, TCamera& mainCamera, TCamera& mirrorCamera);

// "Front Position" etc. when the camera looks exactly along a preset, else "".
std::string ViewLabelFor(const TCamera& camera);

// glOrtho of the 3-D pass for a camera.
TMatrix4 CameraProjection(const TCamera& camera, double halfWidth, double halfHeight, float zoom,
                          float nearPlane, float farPlane);
// gluLookAt(eye, centre, up) followed by the camera's two rotations.
TMatrix4 CameraModelview(const TCamera& camera, const std::array<float, 9>& eyeSetup);

TMatrix4 MultiplyMatrices(const TMatrix4& a, const TMatrix4& b);
TMatrix4 OrthoMatrix(double left, double right, double bottom, double top, double nearPlane,
                     double farPlane);
TMatrix4 LookAtMatrix(const std::array<float, 9>& eyeSetup);
TMatrix4 RotationMatrix(double degrees, double x, double y, double z);
std::optional<TMatrix4> InvertMatrix(const TMatrix4& m);

// gluProject: window coordinates (y from the bottom) of an object point.
std::optional<TWindowPoint> ProjectWithMatrices(const std::array<double, 3>& point,
                                                const TMatrix4& modelview,
                                                const TMatrix4& projection,
                                                const TViewport& viewport);
// gluUnProject: object point of window coordinates (y from the bottom).
std::optional<std::array<double, 3>> UnprojectWithMatrices(const TWindowPoint& window,
                                                           const TMatrix4& modelview,
                                                           const TMatrix4& projection,
                                                           const TViewport& viewport);

// Offsets of a circle of `segments` points: (r cos(2 pi k / n), r sin(2 pi k / n), 0).
std::vector<std::array<float, 3>> BuildCursorCircle(int segments, float radius);

#include "render/view_math.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kDegrees = std::numbers::pi / 180.0;

TMatrix4 Identity() {
  TMatrix4 m{};
  m[0] = m[5] = m[10] = m[15] = 1;
  return m;
}

std::array<double, 4> Transform(const TMatrix4& m, const std::array<double, 4>& v) {
  std::array<double, 4> out{};
  for (int row = 0; row < 4; ++row) {
    out[row] = m[row] * v[0] + m[4 + row] * v[1] + m[8 + row] * v[2] + m[12 + row] * v[3];
  }
  return out;
}

struct PresetYaws {
  ViewPreset preset;
  const char* caption;
  const char* label;
  double mainYaw;
  double mirrorYaw;
};

// The mirror camera sees the model through the plane z = 0: yaw 180 - main (mod 360),
// with "Left" given as 360 rather than 0.
constexpr std::array<PresetYaws, 4> kPresetTable{{
    {ViewPreset::Front, "Front", "Front Position", 270, 270},
    {ViewPreset::Left, "Left", "Left Position", 180, 360},
    {ViewPreset::Right, "Right", "Right Position", 0, 180},
    {ViewPreset::Back, "Back", "Back Position", 90, 90},
}};

const PresetYaws& PresetEntry(ViewPreset preset) {
  for (const auto& entry : kPresetTable) {
    if (entry.preset == preset) return entry;
  }
  return kPresetTable[0];
}

}  // namespace

double StartViewHalfHeight() { return std::tan(17.5 * kDegrees); }

double ViewHalfWidthFor(double halfHeight, int width, int height) {
  const double halfW = std::nearbyint(width / 2.0);
  const double halfH = std::max(1.0, std::nearbyint(height / 2.0));
  return halfHeight * halfW / halfH;
}

float WheelZoom(float zoom, float zoomStep, bool notchUp) {
  return notchUp ? zoom - zoom * zoomStep : zoom + zoom * zoomStep;
}

const char* ViewPresetCaption(ViewPreset preset) { return PresetEntry(preset).caption; }

std::optional<ViewPreset> ViewPresetFromCaption(const std::string& caption) {
  for (const auto& entry : kPresetTable) {
    if (caption == entry.caption) return entry.preset;
  }
  return std::nullopt;
}

void ApplyViewPreset(ViewPreset preset, TCamera& mainCamera, TCamera& mirrorCamera) {
  const PresetYaws& entry = PresetEntry(preset);
  for (TCamera* camera : {&mainCamera, &mirrorCamera}) {
    camera->pitch = 0;
    camera->roll = 0;
  }
  mainCamera.yaw = entry.mainYaw;
  mirrorCamera.yaw = entry.mirrorYaw;
}

std::string ViewLabelFor(const TCamera& camera) {
  if (camera.pitch != 0 || camera.roll != 0) return {};
  for (const auto& entry : kPresetTable) {
    if (camera.yaw == entry.mainYaw) return entry.label;
  }
  return {};
}

TMatrix4 MultiplyMatrices(const TMatrix4& a, const TMatrix4& b) {
  TMatrix4 out{};
  for (int col = 0; col < 4; ++col) {
    for (int row = 0; row < 4; ++row) {
      double sum = 0;
      for (int k = 0; k < 4; ++k) sum += a[k * 4 + row] * b[col * 4 + k];
      out[col * 4 + row] = sum;
    }
  }
  return out;
}

TMatrix4 OrthoMatrix(double left, double right, double bottom, double top, double nearPlane,
                     double farPlane) {
  TMatrix4 m = Identity();
  m[0] = 2 / (right - left);
  m[5] = 2 / (top - bottom);
  m[10] = -2 / (farPlane - nearPlane);
  m[12] = -(right + left) / (right - left);
  m[13] = -(top + bottom) / (top - bottom);
  m[14] = -(farPlane + nearPlane) / (farPlane - nearPlane);
  return m;
}

TMatrix4 LookAtMatrix(const std::array<float, 9>& e) {
  std::array<double, 3> f{e[3] - e[0], e[4] - e[1], e[5] - e[2]};
  const auto normalise = [](std::array<double, 3>& v) {
    const double len = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (len > 0) {
      for (double& c : v) c /= len;
    }
  };
  const auto cross = [](const std::array<double, 3>& a, const std::array<double, 3>& b) {
    return std::array<double, 3>{a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2],
                                 a[0] * b[1] - a[1] * b[0]};
  };
  normalise(f);
  std::array<double, 3> up{e[6], e[7], e[8]};
  std::array<double, 3> s = cross(f, up);
  normalise(s);
  const std::array<double, 3> u = cross(s, f);
  TMatrix4 m = Identity();
  for (int i = 0; i < 3; ++i) {
    m[i * 4 + 0] = s[i];
    m[i * 4 + 1] = u[i];
    m[i * 4 + 2] = -f[i];
  }
  TMatrix4 translate = Identity();
  translate[12] = -e[0];
  translate[13] = -e[1];
  translate[14] = -e[2];
  return MultiplyMatrices(m, translate);
}

TMatrix4 RotationMatrix(double degrees, double x, double y, double z) {
  const double len = std::sqrt(x * x + y * y + z * z);
  if (len == 0) return Identity();
  x /= len;
  y /= len;
  z /= len;
  const double c = std::cos(degrees * kDegrees), s = std::sin(degrees * kDegrees), t = 1 - c;
  TMatrix4 m = Identity();
  m[0] = x * x * t + c;
  m[1] = y * x * t + z * s;
  m[2] = x * z * t - y * s;
  m[4] = x * y * t - z * s;
  m[5] = y * y * t + c;
  m[6] = y * z * t + x * s;
  m[8] = x * z * t + y * s;
  m[9] = y * z * t - x * s;
  m[10] = z * z * t + c;
  return m;
}

TMatrix4 CameraProjection(const TCamera& camera, double halfWidth, double halfHeight, float zoom,
                          float nearPlane, float farPlane) {
  return OrthoMatrix(camera.panX - halfWidth * zoom, camera.panX + halfWidth * zoom,
                     camera.panY - halfHeight * zoom, camera.panY + halfHeight * zoom, nearPlane,
                     farPlane);
}

TMatrix4 CameraModelview(const TCamera& camera, const std::array<float, 9>& eyeSetup) {
  TMatrix4 m = LookAtMatrix(eyeSetup);
  m = MultiplyMatrices(m, RotationMatrix(camera.pitch, 1, 0, 0));
  return MultiplyMatrices(m, RotationMatrix(-camera.yaw, 0, 1, 0));
}

std::optional<TMatrix4> InvertMatrix(const TMatrix4& m) {
  // Gauss-Jordan elimination with partial pivoting on [m | I].
  double a[4][8];
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) {
      a[r][c] = m[c * 4 + r];
      a[r][c + 4] = r == c ? 1 : 0;
    }
  }
  for (int col = 0; col < 4; ++col) {
    int pivot = col;
    for (int r = col + 1; r < 4; ++r) {
      if (std::fabs(a[r][col]) > std::fabs(a[pivot][col])) pivot = r;
    }
    if (a[pivot][col] == 0) return std::nullopt;
    if (pivot != col) {
      for (int c = 0; c < 8; ++c) std::swap(a[pivot][c], a[col][c]);
    }
    const double inv = 1 / a[col][col];
    for (int c = 0; c < 8; ++c) a[col][c] *= inv;
    for (int r = 0; r < 4; ++r) {
      if (r == col || a[r][col] == 0) continue;
      const double f = a[r][col];
      for (int c = 0; c < 8; ++c) a[r][c] -= f * a[col][c];
    }
  }
  TMatrix4 out{};
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) out[c * 4 + r] = a[r][c + 4];
  }
  return out;
}

std::optional<TWindowPoint> ProjectWithMatrices(const std::array<double, 3>& point,
                                                const TMatrix4& modelview,
                                                const TMatrix4& projection,
                                                const TViewport& viewport) {
  const auto clip = Transform(projection, Transform(modelview, {point[0], point[1], point[2], 1}));
  if (clip[3] == 0) return std::nullopt;
  const double nx = clip[0] / clip[3], ny = clip[1] / clip[3], nz = clip[2] / clip[3];
  return TWindowPoint{viewport[0] + viewport[2] * (nx + 1) / 2,
                      viewport[1] + viewport[3] * (ny + 1) / 2, (nz + 1) / 2};
}

std::optional<std::array<double, 3>> UnprojectWithMatrices(const TWindowPoint& window,
                                                           const TMatrix4& modelview,
                                                           const TMatrix4& projection,
                                                           const TViewport& viewport) {
  const auto inverse = InvertMatrix(MultiplyMatrices(projection, modelview));
  if (!inverse || viewport[2] == 0 || viewport[3] == 0) return std::nullopt;
  const std::array<double, 4> ndc{(window.x - viewport[0]) / viewport[2] * 2 - 1,
                                  (window.y - viewport[1]) / viewport[3] * 2 - 1,
                                  window.depth * 2 - 1, 1};
  const auto obj = Transform(*inverse, ndc);
  if (obj[3] == 0) return std::nullopt;
  return std::array<double, 3>{obj[0] / obj[3], obj[1] / obj[3], obj[2] / obj[3]};
}

std::vector<std::array<float, 3>> BuildCursorCircle(int segments, float radius) {
  std::vector<std::array<float, 3>> circle;
  circle.reserve(static_cast<size_t>(std::max(segments, 0)));
  for (int k = 0; k < segments; ++k) {
    const double angle = 2 * std::numbers::pi * k / segments;
    circle.push_back({static_cast<float>(radius * std::cos(angle)),
                      static_cast<float>(radius * std::sin(angle)), 0.0f});
  }
  return circle;
}

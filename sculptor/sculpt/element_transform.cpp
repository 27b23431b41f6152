#include "sculpt/element_transform.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "model/topology.h"

namespace {

using Matrix3 = std::array<std::array<float, 3>, 3>;

// Rodrigues' formula as a matrix: R = I cos t + [k]x sin t + (1 - cos t) k k^T.
Matrix3 AxisRotation(const TGLCoord& k, float degrees) {
  const double t = degrees * std::numbers::pi / 180.0;
  const float c = static_cast<float>(std::cos(t)), s = static_cast<float>(std::sin(t)), u = 1 - c;
  return {{{c + u * k.x * k.x, u * k.x * k.y - s * k.z, u * k.x * k.z + s * k.y},
           {u * k.y * k.x + s * k.z, c + u * k.y * k.y, u * k.y * k.z - s * k.x},
           {u * k.z * k.x - s * k.y, u * k.z * k.y + s * k.x, c + u * k.z * k.z}}};
}

TGLCoord Apply(const Matrix3& m, const TGLCoord& v) {
  return {m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z, m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z,
          m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z};
}

// `second` applied after `first`.
Matrix3 Then(const Matrix3& first, const Matrix3& second) {
  Matrix3 r{};
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      for (int k = 0; k < 3; ++k) r[i][j] += second[i][k] * first[k][j];
    }
  }
  return r;
}

size_t VertexCount(const TGeosphera& e) {
  return std::min(static_cast<size_t>(std::max(e.vertexCount, 0)), e.vertices.size());
}

constexpr float kPixelsPerDegree = 5;
constexpr float kScaleStep = 0.1f;

}  // namespace

TGLCoord RotateAboutAxis(const TGLCoord& v, const TGLCoord& axis, float degrees) {
  return Apply(AxisRotation(axis, degrees), v);
}

void ApplyRotationStep(TGeosphera& e) {
  const float x = e.rotation.x, z = e.rotation.y, y = e.rotation.z;
  const Matrix3 turn = Then(Then(AxisRotation({1, 0, 0}, x), AxisRotation({0, 0, 1}, z)), AxisRotation({0, 1, 0}, -y));
  const TGLCoord c = e.center;
  const size_t count = VertexCount(e);
  for (size_t i = 0; i < count; ++i) {
    const TGLCoord& v = e.vertices[i];
    const TGLCoord r = Apply(turn, {v.x - c.x, v.y - c.y, v.z - c.z});
    e.vertices[i] = {r.x + c.x, r.y + c.y, r.z + c.z};
  }
  for (TGLCoord& n : e.normals) n = Apply(turn, n);
  e.rotation = {};
}

TGLCoord HandleRotationStep(int handleVertex, int dx, int dy) {
  const int k = handleVertex;
  TGLCoord step;  // X, Z, Y
  if (k >= 0 && k < kHandleRingVertices) {
    step.z = dx / kPixelsPerDegree;
  } else if (k > kHandleRingVertices + 1 && k < 2 * kHandleRingVertices) {
    step.x = dy / kPixelsPerDegree;
  } else if (k > 2 * kHandleRingVertices) {
    step.y = -dy / kPixelsPerDegree;
  }
  return step;
}

void ApplyScaleStep(TGeosphera& e, bool shrink) {
  const float s = 1 + (shrink ? -kScaleStep : kScaleStep);
  e.scale = {s, s, s};
  const TGLCoord c = e.center;
  const size_t count = VertexCount(e);
  for (size_t i = 0; i < count; ++i) {
    TGLCoord& v = e.vertices[i];
    v = {c.x + (v.x - c.x) * e.scale.x, c.y + (v.y - c.y) * e.scale.y, c.z + (v.z - c.z) * e.scale.z};
  }
  e.scale = {1, 1, 1};
}

void BakePosition(TGeosphera& e) {
  const TGLCoord p = e.position;
  const size_t count = VertexCount(e);
  for (size_t i = 0; i < count; ++i) {
    TGLCoord& v = e.vertices[i];
    v = {v.x + p.x, v.y + p.y, v.z + p.z};
  }
  e.position = {};
  if (count > 0) e.center = ElementCenter(e);
}

void PlaceHandleAt(TGeosphera& handle, const TGLCoord& center) {
  const size_t count = VertexCount(handle);
  if (count == 0) return;
  const TGLCoord mean = ElementCenter(handle);
  const TGLCoord shift{center.x - mean.x, center.y - mean.y, center.z - mean.z};
  for (size_t i = 0; i < count; ++i) {
    TGLCoord& v = handle.vertices[i];
    v = {v.x + shift.x, v.y + shift.y, v.z + shift.z};
  }
  handle.center = center;
}

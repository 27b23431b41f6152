#include "assets/mesh_preview.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "vec3d.h"

namespace {

constexpr int kSupersampling = 3;
constexpr double kFill = 0.85;

Vec3d At(const TGeosphera& mesh, uint32_t v) {
  const TGLCoord& p = mesh.vertices[v];
  return {p.x, p.y, p.z};
}

std::vector<Vec3d> VertexNormals(const TGeosphera& mesh) {
  std::vector<Vec3d> normals(mesh.vertices.size());
  for (size_t c = 0; c + 2 < mesh.faces.size(); c += 3) {
    const uint32_t a = mesh.faces[c], b = mesh.faces[c + 1], d = mesh.faces[c + 2];
    const Vec3d n = Cross(At(mesh, b) - At(mesh, a), At(mesh, d) - At(mesh, a));
    normals[a] += n;
    normals[b] += n;
    normals[d] += n;
  }
  for (Vec3d& n : normals) n = Normalized(n);
  return normals;
}

// The view's axes in model coordinates: right, up and towards the viewer.
struct ViewAxes {
  Vec3d right, up, back;
};

ViewAxes AxesOf(PreviewView view) {
  const double yaw = view.yaw * std::numbers::pi / 180, pitch = view.pitch * std::numbers::pi / 180;
  const Vec3d back{-std::cos(yaw), 0, std::sin(yaw)}, right{std::sin(yaw), 0, std::cos(yaw)}, up{0, 1, 0};
  return {right, up * std::cos(pitch) - back * std::sin(pitch), back * std::cos(pitch) + up * std::sin(pitch)};
}

// The grey model and one light of the start-mesh previews, for a normal in
// view coordinates.
Vec3d Shade(Vec3d n) {
  const Vec3d light = Normalized({-0.4, 0.6, 0.7}), halfway = Normalized(light + Vec3d{0, 0, 1});
  const double diffuse = std::max(0.0, Dot(n, light));
  const double specular = std::pow(std::max(0.0, Dot(n, halfway)), 13) * 0.45;
  return Vec3d{0.55, 0.55, 0.58} * (0.12 + 0.75 * diffuse) + Vec3d{1, 1, 1} * specular;
}

}  // namespace

Raster RenderPreview(const TGeosphera& mesh, PreviewView view, int size) {
  const ViewAxes axes = AxesOf(view);
  const int big = size * kSupersampling;
  // Screen position (pixels) and depth (towards the viewer) of every vertex.
  std::vector<Vec3d> screen(mesh.vertices.size());
  double left = 1e30, right = -1e30, bottom = 1e30, top = -1e30;
  for (size_t v = 0; v < screen.size(); ++v) {
    const Vec3d p = At(mesh, uint32_t(v));
    screen[v] = {Dot(p, axes.right), Dot(p, axes.up), Dot(p, axes.back)};
    left = std::min(left, screen[v].x);
    right = std::max(right, screen[v].x);
    bottom = std::min(bottom, screen[v].y);
    top = std::max(top, screen[v].y);
  }
  const double scale = kFill * big / std::max({right - left, top - bottom, 1e-9});
  for (Vec3d& s : screen) {
    s.x = (s.x - (left + right) / 2) * scale + big / 2.0;
    s.y = big / 2.0 - (s.y - (bottom + top) / 2) * scale;
  }

  const std::vector<Vec3d> normals = VertexNormals(mesh);
  std::vector<double> depth(size_t(big) * big, -std::numeric_limits<double>::infinity());
  std::vector<Vec3d> normalAt(size_t(big) * big);
  for (size_t c = 0; c + 2 < mesh.faces.size(); c += 3) {
    const uint32_t i[3] = {mesh.faces[c], mesh.faces[c + 1], mesh.faces[c + 2]};
    const Vec3d &a = screen[i[0]], &b = screen[i[1]], &d = screen[i[2]];
    // Counter-clockwise in the model is clockwise on the y-down screen.
    const double area = (b.x - a.x) * (d.y - a.y) - (b.y - a.y) * (d.x - a.x);
    if (area >= 0) continue;
    const int x0 = std::max(0, int(std::floor(std::min({a.x, b.x, d.x}))));
    const int x1 = std::min(big - 1, int(std::ceil(std::max({a.x, b.x, d.x}))));
    const int y0 = std::max(0, int(std::floor(std::min({a.y, b.y, d.y}))));
    const int y1 = std::min(big - 1, int(std::ceil(std::max({a.y, b.y, d.y}))));
    for (int y = y0; y <= y1; ++y) {
      for (int x = x0; x <= x1; ++x) {
        const double px = x + 0.5, py = y + 0.5;
        const double wa = ((b.x - px) * (d.y - py) - (b.y - py) * (d.x - px)) / area;
        const double wb = ((d.x - px) * (a.y - py) - (d.y - py) * (a.x - px)) / area;
        const double wd = 1 - wa - wb;
        if (wa < 0 || wb < 0 || wd < 0) continue;
        const double z = wa * a.z + wb * b.z + wd * d.z;
        const size_t pixel = size_t(y) * big + x;
        if (z <= depth[pixel]) continue;
        depth[pixel] = z;
        normalAt[pixel] = normals[i[0]] * wa + normals[i[1]] * wb + normals[i[2]] * wd;
      }
    }
  }

  Raster image(size, size);
  const Vec3d ground{0.15, 0.15, 0.15};
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      Vec3d sum;
      for (int sy = 0; sy < kSupersampling; ++sy) {
        for (int sx = 0; sx < kSupersampling; ++sx) {
          const size_t pixel = size_t(y * kSupersampling + sy) * big + size_t(x * kSupersampling + sx);
          if (!std::isfinite(depth[pixel])) {
            sum += ground;
            continue;
          }
          const Vec3d n = Normalized(normalAt[pixel]);
          sum += Shade({Dot(n, axes.right), Dot(n, axes.up), Dot(n, axes.back)});
        }
      }
      const Vec3d colour = sum / double(kSupersampling * kSupersampling);
      image.Set(x, y, colour.x, colour.y, colour.z);
    }
  }
  return image;
}

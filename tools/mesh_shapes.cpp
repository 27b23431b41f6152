#include "mesh_shapes.h"

#include <array>
#include <cmath>
#include <map>
#include <unordered_map>

namespace {

TGLCoord Normalized(TGLCoord p, float radius) {
  const double length = std::sqrt(double(p.x) * p.x + double(p.y) * p.y + double(p.z) * p.z);
  const double s = radius / length;
  return {float(p.x * s), float(p.y * s), float(p.z * s)};
}

}  // namespace

void FinishShape(TGeosphera& e) {
  e.vertexCount = static_cast<int32_t>(e.vertices.size());
  e.indexCount = static_cast<int32_t>(e.faces.size());
  e.colors.assign(e.vertices.size(), kDefaultVertexColor);
  e.vertexState.assign(e.vertices.size(), kVertexFree);
}

TGeosphera MakeGeodesicSphere(int levels, float radius) {
  const float t = (1.0f + std::sqrt(5.0f)) / 2.0f;
  TGeosphera e;
  e.vertices = {{-1, t, 0}, {1, t, 0}, {-1, -t, 0}, {1, -t, 0}, {0, -1, t}, {0, 1, t},
                {0, -1, -t}, {0, 1, -t}, {t, 0, -1}, {t, 0, 1}, {-t, 0, -1}, {-t, 0, 1}};
  for (TGLCoord& p : e.vertices) p = Normalized(p, radius);
  e.faces = {0, 11, 5, 0, 5,  1, 0, 1, 7, 0, 7,  10, 0, 10, 11, 1, 5, 9, 5, 11, 4,  11, 10, 2, 10, 7, 6, 7, 1, 8,
             3, 9,  4, 3, 4,  2, 3, 2, 6, 3, 6,  8,  3, 8,  9,  4, 9, 5, 2, 4,  11, 6,  2,  10, 8,  6, 7, 9, 8, 1};
  for (int level = 0; level < levels; ++level) {
    std::unordered_map<uint64_t, uint32_t> midpoints;
    auto midpoint = [&](uint32_t a, uint32_t b) {
      const uint64_t key = a < b ? (uint64_t(a) << 32 | b) : (uint64_t(b) << 32 | a);
      auto [it, fresh] = midpoints.try_emplace(key, static_cast<uint32_t>(e.vertices.size()));
      if (fresh) {
        const TGLCoord &p = e.vertices[a], &q = e.vertices[b];
        e.vertices.push_back(Normalized({(p.x + q.x) / 2, (p.y + q.y) / 2, (p.z + q.z) / 2}, radius));
      }
      return it->second;
    };
    Tfaces refined;
    refined.reserve(e.faces.size() * 4);
    for (size_t c = 0; c < e.faces.size(); c += 3) {
      const uint32_t a = e.faces[c], b = e.faces[c + 1], d = e.faces[c + 2];
      const uint32_t ab = midpoint(a, b), bd = midpoint(b, d), da = midpoint(d, a);
      refined.insert(refined.end(), {a, ab, da, b, bd, ab, d, da, bd, ab, bd, da});
    }
    e.faces = std::move(refined);
  }
  FinishShape(e);
  return e;
}

TGeosphera MakeCubeSphere(int n, float radius) {
  TGeosphera e;
  // Grid points have integer coordinates in [-n, n] (steps of 2), so points on
  // shared cube edges are found again exactly.
  std::map<std::array<int, 3>, uint32_t> index;
  auto vertex = [&](std::array<int, 3> g) {
    auto [it, fresh] = index.try_emplace(g, static_cast<uint32_t>(e.vertices.size()));
    if (fresh) e.vertices.push_back(Normalized({float(g[0]), float(g[1]), float(g[2])}, radius));
    return it->second;
  };
  // Each face: the axis it faces, its sign, and two in-plane axes ordered so
  // that (u x v) points outward.
  struct Face {
    int axis, sign, u, v;
  };
  const Face cubeFaces[6] = {{0, 1, 1, 2}, {0, -1, 2, 1}, {1, 1, 2, 0}, {1, -1, 0, 2}, {2, 1, 0, 1}, {2, -1, 1, 0}};
  for (const Face& f : cubeFaces) {
    for (int i = 0; i < n; ++i) {
      for (int j = 0; j < n; ++j) {
        auto at = [&](int di, int dj) {
          std::array<int, 3> g{};
          g[f.axis] = f.sign * n;
          g[f.u] = -n + 2 * (i + di);
          g[f.v] = -n + 2 * (j + dj);
          return vertex(g);
        };
        const uint32_t a = at(0, 0), b = at(1, 0), c = at(1, 1), d = at(0, 1);
        e.faces.insert(e.faces.end(), {a, b, c, a, c, d});
      }
    }
  }
  FinishShape(e);
  return e;
}

TGeosphera MakeRotationRings(int segments, int sides, float radius, float tubeRadius) {
  TGeosphera e;
  const double twoPi = 6.283185307179586;
  // Ring k turns about axis k' of (y, x, z); p(s) runs around the ring in the
  // plane perpendicular to that axis.
  const int axes[3] = {1, 0, 2};
  for (int axis : axes) {
    const uint32_t base = static_cast<uint32_t>(e.vertices.size());
    const int a1 = (axis + 1) % 3, a2 = (axis + 2) % 3;
    for (int s = 0; s < segments; ++s) {
      const double phi = twoPi * s / segments;
      for (int k = 0; k < sides; ++k) {
        const double theta = twoPi * k / sides;
        const double r = radius + tubeRadius * std::cos(theta);
        double p[3];
        p[a1] = r * std::cos(phi);
        p[a2] = r * std::sin(phi);
        p[axis] = tubeRadius * std::sin(theta);
        e.vertices.push_back({float(p[0]), float(p[1]), float(p[2])});
      }
    }
    auto at = [&](int s, int k) { return base + uint32_t((s % segments) * sides + (k % sides)); };
    for (int s = 0; s < segments; ++s) {
      for (int k = 0; k < sides; ++k) {
        const uint32_t a = at(s, k), b = at(s + 1, k), c = at(s + 1, k + 1), d = at(s, k + 1);
        e.faces.insert(e.faces.end(), {a, b, c, a, c, d});
      }
    }
  }
  FinishShape(e);
  return e;
}

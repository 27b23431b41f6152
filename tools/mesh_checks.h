// Checks of a closed triangle mesh for the tests of the generated shapes.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <numeric>
#include <unordered_map>
#include <utility>
#include <vector>

#include "model/geosphera.h"
#include "vec3d.h"

inline Vec3d PointOf(const TGeosphera& e, uint32_t v) {
  const TGLCoord& p = e.vertices[v];
  return {p.x, p.y, p.z};
}

// Every directed edge appears once and its reverse once: closed, manifold
// along its edges and consistently oriented.
inline bool ClosedAndOriented(const TGeosphera& e) {
  std::map<std::pair<uint32_t, uint32_t>, int> directed;
  for (size_t c = 0; c < e.faces.size(); c += 3) {
    for (int k = 0; k < 3; ++k) ++directed[{e.faces[c + k], e.faces[c + (k + 1) % 3]}];
  }
  for (const auto& [edge, count] : directed) {
    if (count != 1) return false;
    auto reverse = directed.find({edge.second, edge.first});
    if (reverse == directed.end() || reverse->second != 1) return false;
  }
  return true;
}

inline double SignedVolume(const TGeosphera& e) {
  double volume = 0;
  for (size_t c = 0; c < e.faces.size(); c += 3) {
    volume += Dot(PointOf(e, e.faces[c]), Cross(PointOf(e, e.faces[c + 1]), PointOf(e, e.faces[c + 2]))) / 6.0;
  }
  return volume;
}

// The number of edge-connected pieces of the triangles.
inline int ShellCount(const TGeosphera& e) {
  std::vector<uint32_t> parent(e.vertices.size());
  std::iota(parent.begin(), parent.end(), 0u);
  auto root = [&](uint32_t v) {
    while (parent[v] != v) v = parent[v] = parent[parent[v]];
    return v;
  };
  for (size_t c = 0; c < e.faces.size(); c += 3) {
    parent[root(e.faces[c + 1])] = root(e.faces[c]);
    parent[root(e.faces[c + 2])] = root(e.faces[c]);
  }
  int shells = 0;
  std::vector<bool> used(e.vertices.size(), false);
  for (uint32_t v : e.faces) used[v] = true;
  for (uint32_t v = 0; v < parent.size(); ++v) shells += used[v] && root(v) == v;
  return shells;
}

// Triangles that face against the mean normal of their corners: folded over,
// a dark fleck in any shading.
inline size_t FoldedTriangles(const TGeosphera& e) {
  std::vector<Vec3d> normals(e.vertices.size());
  auto normal = [&](size_t c) {
    const Vec3d a = PointOf(e, e.faces[c]);
    return Cross(PointOf(e, e.faces[c + 1]) - a, PointOf(e, e.faces[c + 2]) - a);
  };
  for (size_t c = 0; c < e.faces.size(); c += 3) {
    for (int k = 0; k < 3; ++k) normals[e.faces[c + k]] += normal(c);
  }
  size_t folded = 0;
  for (size_t c = 0; c < e.faces.size(); c += 3) {
    folded += Dot(normal(c), normals[e.faces[c]] + normals[e.faces[c + 1]] + normals[e.faces[c + 2]]) < 0;
  }
  return folded;
}

inline double PointTriangleDistance(Vec3d p, Vec3d a, Vec3d b, Vec3d c) {
  // Ericson, "Real-Time Collision Detection", 5.1.5: the closest point by Voronoi regions.
  const Vec3d ab = b - a, ac = c - a, ap = p - a;
  const double d1 = Dot(ab, ap), d2 = Dot(ac, ap);
  if (d1 <= 0 && d2 <= 0) return Length(ap);
  const Vec3d bp = p - b;
  const double d3 = Dot(ab, bp), d4 = Dot(ac, bp);
  if (d3 >= 0 && d4 <= d3) return Length(bp);
  const double vc = d1 * d4 - d3 * d2;
  if (vc <= 0 && d1 >= 0 && d3 <= 0) return Length(p - (a + ab * (d1 / (d1 - d3))));
  const Vec3d cp = p - c;
  const double d5 = Dot(ab, cp), d6 = Dot(ac, cp);
  if (d6 >= 0 && d5 <= d6) return Length(cp);
  const double vb = d5 * d2 - d1 * d6;
  if (vb <= 0 && d2 >= 0 && d6 <= 0) return Length(p - (a + ac * (d2 / (d2 - d6))));
  const double va = d3 * d6 - d5 * d4;
  if (va <= 0 && d4 - d3 >= 0 && d5 - d6 >= 0) return Length(p - (b + (c - b) * ((d4 - d3) / ((d4 - d3) + (d5 - d6)))));
  const double denominator = 1 / (va + vb + vc);
  return Length(p - (a + ab * (vb * denominator) + ac * (vc * denominator)));
}

// The largest distance from the mirror image across z = 0 of every `stride`-th
// vertex to the mesh: to the triangles around the mesh vertex nearest to it.
inline double MirrorDeviation(const TGeosphera& e, size_t stride) {
  // Vertices binned in cubes of about the mean edge length.
  double edges = 0;
  for (size_t c = 0; c < e.faces.size(); c += 3) edges += Length(PointOf(e, e.faces[c]) - PointOf(e, e.faces[c + 1]));
  const double cell = edges / double(e.faces.size() / 3);
  auto key = [cell](Vec3d p) {
    const auto i = [cell](double v) { return int64_t(std::floor(v / cell)) & 0x1FFFFF; };
    return uint64_t(i(p.x)) << 42 | uint64_t(i(p.y)) << 21 | uint64_t(i(p.z));
  };
  std::unordered_map<uint64_t, std::vector<uint32_t>> bins;
  for (uint32_t v = 0; v < e.vertices.size(); ++v) bins[key(PointOf(e, v))].push_back(v);
  std::vector<std::vector<uint32_t>> triangles(e.vertices.size());
  for (size_t c = 0; c < e.faces.size(); ++c) triangles[e.faces[c]].push_back(uint32_t(c / 3));

  double worst = 0;
  for (uint32_t v = 0; v < e.vertices.size(); v += uint32_t(stride)) {
    const Vec3d m = MirroredZ(PointOf(e, v));
    // A near vertex: the nearest within a cube of bins, grown until it holds one.
    uint32_t nearest = v;
    double best = 1e30;
    for (int reach = 2; best == 1e30; reach *= 2) {
      for (int dx = -reach; dx <= reach; ++dx) {
        for (int dy = -reach; dy <= reach; ++dy) {
          for (int dz = -reach; dz <= reach; ++dz) {
            auto bin = bins.find(key(m + Vec3d{dx * cell, dy * cell, dz * cell}));
            if (bin == bins.end()) continue;
            for (uint32_t w : bin->second) {
              const double d = Length(PointOf(e, w) - m);
              if (d < best) best = d, nearest = w;
            }
          }
        }
      }
    }
    for (uint32_t t : triangles[nearest]) {
      const uint32_t* f = &e.faces[size_t(t) * 3];
      best = std::min(best, PointTriangleDistance(m, PointOf(e, f[0]), PointOf(e, f[1]), PointOf(e, f[2])));
    }
    worst = std::max(worst, best);
  }
  return worst;
}

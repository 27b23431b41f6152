// Test checks of a triangle mesh's shape: closed, manifold, oriented outwards.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numeric>
#include <utility>
#include <vector>

#include "model/geosphera.h"

namespace sketch_checks {

// Every directed edge once and its reverse once (so every edge lies on exactly
// two triangles that agree in orientation), no degenerate triangle, and every
// connected part encloses a positive volume (its triangles face outwards).
inline void ExpectClosedManifoldOutward(const Tvertices& vertices, const Tfaces& faces) {
  ASSERT_FALSE(faces.empty());
  std::map<std::pair<uint32_t, uint32_t>, int> directed;
  std::vector<uint32_t> part(vertices.size());
  std::iota(part.begin(), part.end(), 0u);
  const auto root = [&](uint32_t v) {
    while (part[v] != v) v = part[v] = part[part[v]];
    return v;
  };
  for (size_t t = 0; t < faces.size(); t += 3) {
    const uint32_t a = faces[t], b = faces[t + 1], c = faces[t + 2];
    EXPECT_TRUE(a != b && b != c && c != a) << "degenerate triangle " << t / 3;
    for (const auto& [u, v] : {std::pair{a, b}, std::pair{b, c}, std::pair{c, a}}) {
      ++directed[{u, v}];
      part[root(u)] = root(v);
    }
  }
  int faults = 0;
  for (const auto& [edge, count] : directed) {
    const auto reverse = directed.find({edge.second, edge.first});
    if (count != 1 || reverse == directed.end() || reverse->second != 1) ++faults;
  }
  EXPECT_EQ(faults, 0) << "edges that are open, shared by more than two triangles or disagree in orientation";
  // Six times the signed volume of each part (divergence theorem).
  std::map<uint32_t, double> volume;
  for (size_t t = 0; t < faces.size(); t += 3) {
    const TGLCoord& a = vertices[faces[t]];
    const TGLCoord& b = vertices[faces[t + 1]];
    const TGLCoord& c = vertices[faces[t + 2]];
    volume[root(faces[t])] += double(a.x) * (double(b.y) * c.z - double(b.z) * c.y) -
                              double(a.y) * (double(b.x) * c.z - double(b.z) * c.x) +
                              double(a.z) * (double(b.x) * c.y - double(b.y) * c.x);
  }
  for (const auto& [r, v] : volume) EXPECT_GT(v, 0) << "part of vertex " << r << " faces inwards";
}

}  // namespace sketch_checks

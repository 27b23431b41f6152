// Meshes shared by the texture-coordinate tests.
#pragma once

#include <array>
#include <map>

#include "model/geosphera.h"

// Closed box [-1, 1]^3 whose faces are `n` x `n` quads, each stored as two
// outward-facing triangles; the faces share their border vertices.
inline TGeosphera MakeBox(int n) {
  TGeosphera e;
  std::map<std::array<int, 3>, uint32_t> index;
  auto vertex = [&](std::array<int, 3> g) {
    const auto [at, added] = index.try_emplace(g, static_cast<uint32_t>(e.vertices.size()));
    if (added) {
      auto coordinate = [n](int i) { return 2.0f * static_cast<float>(i) / static_cast<float>(n) - 1.0f; };
      e.vertices.push_back({coordinate(g[0]), coordinate(g[1]), coordinate(g[2])});
    }
    return at->second;
  };
  for (int a = 0; a < 3; ++a) {
    const int b = (a + 1) % 3, c = (a + 2) % 3;
    for (int side : {0, n}) {
      for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
          std::array<uint32_t, 4> q;
          const int corner[4][2] = {{i, j}, {i + 1, j}, {i + 1, j + 1}, {i, j + 1}};
          for (int k = 0; k < 4; ++k) {
            std::array<int, 3> g{};
            g[static_cast<size_t>(a)] = side;
            g[static_cast<size_t>(b)] = corner[k][0];
            g[static_cast<size_t>(c)] = corner[k][1];
            q[static_cast<size_t>(k)] = vertex(g);
          }
          if (side == 0) std::swap(q[1], q[3]);  // the far side faces the other way
          e.faces.insert(e.faces.end(), {q[0], q[1], q[2], q[0], q[2], q[3]});
        }
      }
    }
  }
  e.vertexCount = static_cast<int32_t>(e.vertices.size());
  e.indexCount = static_cast<int32_t>(e.faces.size());
  e.normals.assign(e.vertices.size(), TGLCoord{});
  e.colors.assign(e.vertices.size(), kDefaultVertexColor);
  e.vertexState.assign(e.vertices.size(), kVertexFree);
  return e;
}

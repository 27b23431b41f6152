// The sketch conversion done the plain way: every grid point summed over every
// ball, every cube visited, three new vertices per triangle, then equal
// positions merged by text keys and close ones by a pairwise search. Slow and
// memory-hungry by design; the tests and the benchmark hold the fast
// conversion to it. Shares only the grid, the tables and the edge crossing.
#pragma once

#include <charconv>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "processing/sketch_spheres.h"
#include "processing/sketch_spheres_tables.h"
#include "processing/sketch_spheres_weld.h"

namespace sketch_reference {

// The value of every grid point, at (i * side + j) * side + k.
inline std::vector<float> SampleField(const TMetaBalls& balls, const TMetaGrid& grid) {
  const size_t side = static_cast<size_t>(grid.cells) + 1;
  std::vector<float> values(side * side * side);
  for (size_t i = 0; i < side; ++i) {
    for (size_t j = 0; j < side; ++j) {
      for (size_t k = 0; k < side; ++k) {
        const TGLCoord p = grid.Point(static_cast<int>(i), static_cast<int>(j), static_cast<int>(k));
        float value = 0;
        for (const TMetaBall& b : balls) {
          const float dx = p.x - b.position.x, dy = p.y - b.position.y, dz = p.z - b.position.z;
          const float d2 = dx * dx + dy * dy + dz * dz;
          value += b.strength / (d2 * d2);
        }
        values[(i * side + j) * side + k] = value;
      }
    }
  }
  return values;
}

// Every cube in order, three new vertices per triangle.
inline TSketchSurface PolygoniseUnshared(const std::vector<float>& values, const TMetaGrid& grid) {
  TSketchSurface s;
  const int n = grid.cells;
  const size_t side = static_cast<size_t>(n) + 1;
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) {
      for (int k = 0; k < n; ++k) {
        TGLCoord corner[8];
        float value[8];
        int caseIndex = 0;
        for (int c = 0; c < 8; ++c) {
          const int* d = kCubeCornerOffset[c];
          corner[c] = grid.Point(i + d[0], j + d[1], k + d[2]);
          value[c] = values[(static_cast<size_t>(i + d[0]) * side + static_cast<size_t>(j + d[1])) * side +
                            static_cast<size_t>(k + d[2])];
          if (value[c] < 1.0f) caseIndex |= 1 << c;
        }
        if (kCubeEdgeTable[caseIndex] == 0) continue;
        TGLCoord crossing[12];
        for (int e = 0; e < 12; ++e) {
          if (kCubeEdgeTable[caseIndex] & (1 << e)) {
            const int c1 = kCubeEdgeCorners[e][0], c2 = kCubeEdgeCorners[e][1];
            crossing[e] = EdgeCrossing(corner[c1], corner[c2], value[c1], value[c2]);
          }
        }
        for (const int8_t* e = kCubeTriangleTable[caseIndex]; *e != -1; ++e) {
          s.faces.push_back(static_cast<uint32_t>(s.vertices.size()));
          s.vertices.push_back(crossing[*e]);
        }
      }
    }
  }
  return s;
}

inline std::string Text(float c) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, c + 0.0f).ptr;  // -0 reads as 0
  return std::string(text, end);
}

// Walks the corners in order; a position's first corner gives it the next number.
inline void MergeEqualPositions(TSketchSurface& s) {
  std::unordered_map<std::string, uint32_t> numbers;
  Tvertices merged;
  for (uint32_t& corner : s.faces) {
    const TGLCoord p = s.vertices[corner];
    const auto [it, added] = numbers.emplace(Text(p.x) + "_" + Text(p.y) + "_" + Text(p.z), merged.size());
    if (added) merged.push_back(p);
    corner = it->second;
  }
  s.vertices = std::move(merged);
}

// For each vertex r the first later s closer than the weld distance; corners of
// each s then go to the r of the first pair naming it.
inline void WeldPairwise(TSketchSurface& s) {
  std::vector<std::pair<uint32_t, uint32_t>> pairs;
  std::vector<bool> marked(s.vertices.size(), false);
  for (size_t r = 0; r < s.vertices.size(); ++r) {
    for (size_t t = r + 1; t < s.vertices.size(); ++t) {
      const double dx = static_cast<double>(s.vertices[r].x) - s.vertices[t].x;
      const double dy = static_cast<double>(s.vertices[r].y) - s.vertices[t].y;
      const double dz = static_cast<double>(s.vertices[r].z) - s.vertices[t].z;
      if (dx * dx + dy * dy + dz * dz < kWeldDistance * kWeldDistance) {
        pairs.emplace_back(static_cast<uint32_t>(r), static_cast<uint32_t>(t));
        marked[t] = true;
        break;
      }
    }
  }
  for (uint32_t& corner : s.faces) {
    if (!marked[corner]) continue;
    for (const auto& [r, t] : pairs) {
      if (t == corner) {
        corner = r;
        break;
      }
    }
  }
}

// The whole surface at `resolution`, as BuildSketchSurface gives it.
inline TSketchSurface Convert(const TMetaBalls& balls, int resolution) {
  const TMetaGrid grid = InitMetaGrid(resolution * kSketchCellsPerStep + 1, kSketchGridExtent);
  TSketchSurface s = PolygoniseUnshared(SampleField(balls, grid), grid);
  MergeEqualPositions(s);
  WeldPairwise(s);
  return s;
}

}  // namespace sketch_reference

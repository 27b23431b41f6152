#include "processing/uv_charts.h"

#include <cmath>

#include "model/topology.h"

namespace {

// Vertex-to-corner table in compressed rows: the corners of vertex v, in
// increasing order, are corners[first[v] .. first[v + 1]).
struct VertexCorners {
  std::vector<uint32_t> first;
  std::vector<uint32_t> corners;
};

VertexCorners BuildVertexCorners(std::span<const uint32_t> faces, size_t vertexCount) {
  VertexCorners table;
  table.first.assign(vertexCount + 1, 0);
  for (uint32_t v : faces) ++table.first[v + 1];
  for (size_t v = 0; v < vertexCount; ++v) table.first[v + 1] += table.first[v];
  table.corners.resize(faces.size());
  std::vector<uint32_t> fill(table.first.begin(), table.first.end() - 1);
  for (size_t c = 0; c < faces.size(); ++c) table.corners[fill[faces[c]]++] = static_cast<uint32_t>(c);
  return table;
}

inline size_t NextInTriangle(size_t c) { return c % 3 == 2 ? c - 2 : c + 1; }

inline float Dot(const TGLCoord& a, const TGLCoord& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// `v` divided by its length, or by 1 when the length is 0.
inline TGLCoord Normalised(const TGLCoord& v) {
  float length = std::sqrt(Dot(v, v));
  if (length == 0) length = 1;
  return {v.x / length, v.y / length, v.z / length};
}

}  // namespace

std::vector<int32_t> CornerNeighbours(std::span<const uint32_t> faces, size_t vertexCount) {
  const size_t corners = faces.size() - faces.size() % 3;
  const VertexCorners table = BuildVertexCorners(faces.first(corners), vertexCount);
  std::vector<int32_t> neighbour(corners, -1);
  for (size_t c = 0; c < corners; ++c) {
    const uint32_t a = faces[c], b = faces[NextInTriangle(c)];
    // The reversed half-edge b -> a starts at a corner of b; rows are sorted,
    // so the first match is the lowest-numbered triangle.
    for (uint32_t k = table.first[b]; k < table.first[b + 1]; ++k) {
      const uint32_t d = table.corners[k];
      if (faces[NextInTriangle(d)] == a) {
        neighbour[c] = static_cast<int32_t>(d / 3);
        break;
      }
    }
  }
  return neighbour;
}

std::vector<TPatch> SegmentCharts(std::span<const TGLCoord> vertices, std::span<const uint32_t> faces,
                                  float threshold) {
  const size_t triangles = faces.size() / 3;
  std::vector<TGLCoord> normal(triangles);
  for (size_t t = 0; t < triangles; ++t) {
    normal[t] = FaceNormal(vertices[faces[3 * t]], vertices[faces[3 * t + 1]], vertices[faces[3 * t + 2]]);
  }
  const std::vector<int32_t> neighbour = CornerNeighbours(faces, vertices.size());
  std::vector<uint8_t> taken(triangles, 0);
  std::vector<uint8_t> visited(3 * triangles, 0);
  // "At most T/10 corners", compared without rounding.
  auto small = [triangles](size_t cornerCount) { return cornerCount * 10 <= triangles; };

  std::vector<TPatch> charts;
  size_t seed = 0;
  for (;;) {
    while (seed < triangles && taken[seed]) ++seed;
    if (seed == triangles) break;
    TPatch chart;
    chart.number = static_cast<int32_t>(charts.size());
    chart.normalSum = normal[seed];
    chart.seedPosition = vertices[faces[3 * seed]];
    chart.corners = {static_cast<uint32_t>(3 * seed), static_cast<uint32_t>(3 * seed + 1),
                     static_cast<uint32_t>(3 * seed + 2)};
    taken[seed] = 1;
    for (size_t next = 0; next < chart.corners.size() && small(chart.corners.size()); next += 3) {
      const size_t first = chart.corners[next];
      for (size_t h = first; h < first + 3; ++h) {
        if (visited[h]) continue;
        visited[h] = 1;
        const int32_t t = neighbour[h];
        if (t < 0 || taken[static_cast<size_t>(t)]) continue;
        const size_t ti = static_cast<size_t>(t);
        if (!(Dot(normal[ti], Normalised(chart.normalSum)) > threshold)) continue;
        taken[ti] = 1;
        for (uint32_t k = 0; k < 3; ++k) chart.corners.push_back(static_cast<uint32_t>(3 * ti + k));
        if (small(chart.corners.size())) {
          chart.normalSum.x += normal[ti].x;
          chart.normalSum.y += normal[ti].y;
          chart.normalSum.z += normal[ti].z;
        }
      }
    }
    charts.push_back(std::move(chart));
  }
  return charts;
}

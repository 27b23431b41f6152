// A small CPU rasteriser of texture-space triangles for the UV benchmark: it
// measures coverage and overlap of the charts and stands in for the texture
// panel's GL pass when vertex colours are drawn into the texture.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "model/geosphera.h"

namespace bench {

// Calls visit(x, y, l0, l1, l2) for every texel of a `size` x `size` texture
// whose centre lies in the triangle (a, b, c) of texture coordinates, with the
// barycentric weights of the centre. Top-left fill rule: two triangles that
// share an edge never both cover a texel.
template <typename Visit>
void ScanTriangle(TGLUV a, TGLUV b, TGLUV c, int size, Visit&& visit) {
  const double s = size;
  double ax = a.u * s, ay = a.v * s, bx = b.u * s, by = b.v * s, cx = c.u * s, cy = c.v * s;
  double area = (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
  if (!(std::fabs(area) > 0)) return;
  bool swapped = false;
  if (area < 0) {
    std::swap(bx, cx);
    std::swap(by, cy);
    area = -area;
    swapped = true;
  }
  // Edge i is opposite vertex i; a top or left edge owns its texels.
  auto owns = [](double x0, double y0, double x1, double y1) { return (y0 == y1 && x1 < x0) || y1 > y0; };
  const bool own0 = owns(bx, by, cx, cy), own1 = owns(cx, cy, ax, ay), own2 = owns(ax, ay, bx, by);
  const int x0 = std::max(0, static_cast<int>(std::floor(std::min({ax, bx, cx}))));
  const int x1 = std::min(size - 1, static_cast<int>(std::ceil(std::max({ax, bx, cx}))));
  const int y0 = std::max(0, static_cast<int>(std::floor(std::min({ay, by, cy}))));
  const int y1 = std::min(size - 1, static_cast<int>(std::ceil(std::max({ay, by, cy}))));
  for (int y = y0; y <= y1; ++y) {
    const double py = y + 0.5;
    for (int x = x0; x <= x1; ++x) {
      const double px = x + 0.5;
      const double w0 = (cx - bx) * (py - by) - (cy - by) * (px - bx);
      const double w1 = (ax - cx) * (py - cy) - (ay - cy) * (px - cx);
      const double w2 = (bx - ax) * (py - ay) - (by - ay) * (px - ax);
      if (w0 < 0 || w1 < 0 || w2 < 0) continue;
      if ((w0 == 0 && !own0) || (w1 == 0 && !own1) || (w2 == 0 && !own2)) continue;
      const float l0 = static_cast<float>(w0 / area);
      const float l1 = static_cast<float>(w1 / area), l2 = static_cast<float>(w2 / area);
      if (swapped) {
        visit(x, y, l0, l2, l1);
      } else {
        visit(x, y, l0, l1, l2);
      }
    }
  }
}

// Coverage of the charts: per texel the chart that covers it (-1 none) and
// the number of texels that more than one chart covers.
struct ChartCoverage {
  std::vector<int32_t> chart;
  int64_t covered = 0;
  int64_t overlapping = 0;
};

// `chartOfTriangle` names the chart of every triangle of `faces`.
inline ChartCoverage MeasureCoverage(const Tfaces& faces, const Tuv& uvs, const std::vector<int32_t>& chartOfTriangle,
                                     int size) {
  ChartCoverage result;
  result.chart.assign(static_cast<size_t>(size) * static_cast<size_t>(size), -1);
  std::vector<uint8_t> shared(result.chart.size(), 0);
  for (size_t t = 0; t < faces.size() / 3; ++t) {
    const int32_t chart = chartOfTriangle[t];
    ScanTriangle(uvs[faces[3 * t]], uvs[faces[3 * t + 1]], uvs[faces[3 * t + 2]], size,
                 [&](int x, int y, float, float, float) {
                   const size_t i = static_cast<size_t>(y) * static_cast<size_t>(size) + static_cast<size_t>(x);
                   if (result.chart[i] < 0) {
                     result.chart[i] = chart;
                     ++result.covered;
                   } else if (result.chart[i] != chart && !shared[i]) {
                     shared[i] = 1;
                     ++result.overlapping;
                   }
                 });
  }
  return result;
}

// "Vertex To Texture" on the CPU, as the texture panel draws it: first every
// triangle's outline `outline` texels wide with its corners' colours
// interpolated along each edge, then every triangle filled with its corners'
// colours interpolated. Rows bottom-up, RGB, white background.
inline std::vector<uint8_t> DrawVertexColors(const Tfaces& faces, const Tuv& uvs, const TCores& colors, int size,
                                             int outline) {
  std::vector<uint8_t> rgb(static_cast<size_t>(size) * static_cast<size_t>(size) * 3, 255);
  auto put = [&](int x, int y, float r, float g, float b) {
    if (x < 0 || y < 0 || x >= size || y >= size) return;
    uint8_t* texel = &rgb[(static_cast<size_t>(y) * static_cast<size_t>(size) + static_cast<size_t>(x)) * 3];
    texel[0] = static_cast<uint8_t>(std::lround(std::clamp(r, 0.0f, 255.0f)));
    texel[1] = static_cast<uint8_t>(std::lround(std::clamp(g, 0.0f, 255.0f)));
    texel[2] = static_cast<uint8_t>(std::lround(std::clamp(b, 0.0f, 255.0f)));
  };
  const int reach = outline / 2;
  for (size_t c = 0; c < faces.size(); ++c) {
    const uint32_t from = faces[c], to = faces[c % 3 == 2 ? c - 2 : c + 1];
    const TGLUV a = uvs[from], b = uvs[to];
    const TRGBA ca = colors[from], cb = colors[to];
    const float length = std::hypot(b.u - a.u, b.v - a.v) * static_cast<float>(size);
    const int steps = std::max(1, static_cast<int>(std::ceil(length * 2)));
    for (int i = 0; i <= steps; ++i) {
      const float t = static_cast<float>(i) / static_cast<float>(steps);
      const int x = static_cast<int>(std::floor((a.u + t * (b.u - a.u)) * static_cast<float>(size)));
      const int y = static_cast<int>(std::floor((a.v + t * (b.v - a.v)) * static_cast<float>(size)));
      const float r = ca.r + t * (cb.r - ca.r), g = ca.g + t * (cb.g - ca.g), bl = ca.b + t * (cb.b - ca.b);
      for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) put(x + dx, y + dy, r, g, bl);
      }
    }
  }
  for (size_t t = 0; t < faces.size() / 3; ++t) {
    const TRGBA& c0 = colors[faces[3 * t]];
    const TRGBA& c1 = colors[faces[3 * t + 1]];
    const TRGBA& c2 = colors[faces[3 * t + 2]];
    ScanTriangle(uvs[faces[3 * t]], uvs[faces[3 * t + 1]], uvs[faces[3 * t + 2]], size,
                 [&](int x, int y, float l0, float l1, float l2) {
                   put(x, y, l0 * c0.r + l1 * c1.r + l2 * c2.r, l0 * c0.g + l1 * c1.g + l2 * c2.g,
                       l0 * c0.b + l1 * c1.b + l2 * c2.b);
                 });
  }
  return rgb;
}

}  // namespace bench

#include "processing/sketch_spheres_polygonise.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>

#include "processing/sketch_spheres_blocks.h"
#include "processing/sketch_spheres_tables.h"
#include "processing/sketch_spheres_weld.h"

TMetaGrid InitMetaGrid(int points, float extent) {
  if (points < 2) throw std::invalid_argument("InitMetaGrid: a grid needs two points a side");
  TMetaGrid grid;
  grid.cells = points - 1;
  const double e = extent, n = grid.cells;
  for (int i = 0; i < points; ++i) {
    grid.x.push_back(static_cast<float>(2 * e * i / n - e));
    grid.z.push_back(static_cast<float>(e - 2 * e * i / n));
  }
  grid.y = grid.x;
  return grid;
}

TGLCoord EdgeCrossing(const TGLCoord& p1, const TGLCoord& p2, float a1, float a2) {
  if (std::fabs(a1) == 1.0f) return p1;
  if (std::fabs(a2) == 1.0f) return p2;
  if (a1 == a2) return p1;
  const float mu = (1.0f - a1) / (a2 - a1);
  if (std::isnan(mu)) return std::isfinite(a1) ? p1 : p2;
  return {p1.x + mu * (p2.x - p1.x), p1.y + mu * (p2.y - p1.y), p1.z + mu * (p2.z - p1.z)};
}

namespace {

// Field values of the grid points, one x plane at a time: two planes are kept
// (x = i and x = i + 1 while layer i of cubes is polygonised), and each point
// is summed once, when the first visited cube needs it.
class FieldPlanes {
 public:
  FieldPlanes(const TMetaBalls& balls, const TMetaGrid& grid)
      : balls_(balls), grid_(grid), side_(static_cast<size_t>(grid.cells) + 1) {
    for (int p = 0; p < 2; ++p) {
      values_[p].assign(side_ * side_, 0.0f);
      plane_[p].assign(side_ * side_, -1);
    }
  }

  // Sums the points (i, j, k) with j0 <= j <= j1, k0 <= k <= k1 not yet summed.
  void Evaluate(int i, int j0, int j1, int k0, int k1) {
    float* values = values_[i & 1].data();
    int32_t* plane = plane_[i & 1].data();
    for (int j = j0; j <= j1; ++j) {
      const size_t row = static_cast<size_t>(j) * side_;
      int k = k0;
      while (k <= k1) {
        if (plane[row + static_cast<size_t>(k)] == i) {
          ++k;
          continue;
        }
        int end = k;
        while (end <= k1 && plane[row + static_cast<size_t>(end)] != i) plane[row + static_cast<size_t>(end++)] = i;
        SumRow(i, j, k, end - k, values + row + static_cast<size_t>(k));
        k = end;
      }
    }
  }

  float Value(int i, int j, int k) const {
    return values_[i & 1][static_cast<size_t>(j) * side_ + static_cast<size_t>(k)];
  }

 private:
  // The field at points (i, j, k) .. (i, j, k + count - 1): per point the
  // terms of the balls in list order, d^2 summed as (dx^2 + dy^2) + dz^2.
  void SumRow(int i, int j, int k, int count, float* out) const {
    const float x = grid_.x[static_cast<size_t>(i)];
    const float y = grid_.y[static_cast<size_t>(j)];
    const float* z = grid_.z.data() + k;
    std::fill_n(out, count, 0.0f);
    for (const TMetaBall& b : balls_) {
      const float dx = x - b.position.x;
      const float dy = y - b.position.y;
      const float dxy = dx * dx + dy * dy;
      const float s = b.strength;
      const float bz = b.position.z;
      for (int n = 0; n < count; ++n) {
        const float dz = z[n] - bz;
        const float d2 = dxy + dz * dz;
        out[n] += s / (d2 * d2);
      }
    }
  }

  const TMetaBalls& balls_;
  const TMetaGrid& grid_;
  size_t side_;
  std::vector<float> values_[2];
  std::vector<int32_t> plane_[2];  // per point, the x index its value belongs to
};

// Emits the triangles of cube (i, j, k); vertices are numbered as the
// triangles name them.
void PolygoniseCube(const TMetaGrid& grid, const FieldPlanes& field, int i, int j, int k, SharedVertices& shared,
                    Tfaces& faces) {
  float value[8];
  int caseIndex = 0;
  for (int c = 0; c < 8; ++c) {
    const int* d = kCubeCornerOffset[c];
    value[c] = field.Value(i + d[0], j + d[1], k + d[2]);
    if (value[c] < 1.0f) caseIndex |= 1 << c;
  }
  const int cut = kCubeEdgeTable[caseIndex];
  if (cut == 0) return;
  TGLCoord crossing[12];
  for (int e = 0; e < 12; ++e) {
    if (!(cut & (1 << e))) continue;
    const int c1 = kCubeEdgeCorners[e][0], c2 = kCubeEdgeCorners[e][1];
    const int* d1 = kCubeCornerOffset[c1];
    const int* d2 = kCubeCornerOffset[c2];
    crossing[e] = EdgeCrossing(grid.Point(i + d1[0], j + d1[1], k + d1[2]), grid.Point(i + d2[0], j + d2[1], k + d2[2]),
                               value[c1], value[c2]);
  }
  for (const int8_t* edge = kCubeTriangleTable[caseIndex]; *edge != -1; ++edge) {
    faces.push_back(shared.Share(crossing[*edge]));
  }
}

bool HasNaN(const TMetaBalls& balls) {
  return std::any_of(balls.begin(), balls.end(), [](const TMetaBall& b) {
    return std::isnan(b.strength) || std::isnan(b.position.x) || std::isnan(b.position.y) || std::isnan(b.position.z);
  });
}

}  // namespace

bool Polygonise(const TMetaBalls& balls, const TMetaGrid& grid, TSketchSurface& surface,
                const SketchProgress& progress) {
  surface = {};
  // A NaN term makes every sum NaN: no corner is below the level anywhere.
  if (grid.cells < 1 || HasNaN(balls)) return true;
  const SurfaceBlocks blocks(balls, grid);
  FieldPlanes field(balls, grid);
  SharedVertices shared;
  Tfaces faces;
  const int n = grid.cells;
  std::vector<int> columns;  // active blocks along k in the current block row
  for (int i = 0; i < n; ++i) {
    if (progress && !progress(i, n)) return false;
    const int bi = i / SurfaceBlocks::kBlockCells;
    for (int bj = 0; bj < blocks.perAxis(); ++bj) {
      columns.clear();
      for (int bk = 0; bk < blocks.perAxis(); ++bk) {
        if (blocks.Active(bi, bj, bk)) columns.push_back(bk);
      }
      if (columns.empty()) continue;
      const int j0 = blocks.FirstCell(bj), j1 = blocks.EndCell(bj);
      for (const int bk : columns) {
        field.Evaluate(i, j0, j1, blocks.FirstCell(bk), blocks.EndCell(bk));
        field.Evaluate(i + 1, j0, j1, blocks.FirstCell(bk), blocks.EndCell(bk));
      }
      for (int j = j0; j < j1; ++j) {
        for (const int bk : columns) {
          for (int k = blocks.FirstCell(bk); k < blocks.EndCell(bk); ++k)
            PolygoniseCube(grid, field, i, j, k, shared, faces);
        }
      }
    }
  }
  surface.vertices = std::move(shared.vertices());
  surface.faces = std::move(faces);
  return true;
}

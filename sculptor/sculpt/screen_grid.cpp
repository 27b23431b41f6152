#include "sculpt/screen_grid.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr uint32_t kNoCell = UINT32_MAX;

// gluProject's arithmetic in its order (modelview, then projection, divide by
// w, map to the viewport), so the rounding of a position matches the picking
// of the renderer exactly. Only x and y are needed.
inline bool ProjectToWindow(const TGLCoord& p, const TProjectionSetup& s, double& winX, double& winY) {
  const auto& m = s.modelview;
  const auto& q = s.projection;
  double eye[4];
  for (int row = 0; row < 4; ++row) {
    eye[row] = p.x * m[row] + p.y * m[4 + row] + p.z * m[8 + row] + m[12 + row];
  }
  const double cx = eye[0] * q[0] + eye[1] * q[4] + eye[2] * q[8] + eye[3] * q[12];
  const double cy = eye[0] * q[1] + eye[1] * q[5] + eye[2] * q[9] + eye[3] * q[13];
  const double cw = eye[0] * q[3] + eye[1] * q[7] + eye[2] * q[11] + eye[3] * q[15];
  if (cw == 0) return false;
  winX = (cx / cw * 0.5 + 0.5) * s.viewport[2] + s.viewport[0];
  winY = (cy / cw * 0.5 + 0.5) * s.viewport[3] + s.viewport[1];
  return true;
}

// The cell of a window position, or kNoCell. Bounds are tested before the
// conversion to an integer, so far or non-finite positions are safe.
inline uint32_t CellOf(double winX, double winY, int width, int height) {
  const double x = std::nearbyint(winX);
  const double y = std::nearbyint(height - winY);
  if (!(x >= 1 && x <= width - 1 && y >= 1 && y <= height - 1)) return kNoCell;
  return static_cast<uint32_t>(x) * static_cast<uint32_t>(height) + static_cast<uint32_t>(y);
}

}  // namespace

void TScreenGrid::Clear() {
  width_ = height_ = 0;
  offsets_.assign(1, 0);
  indices_.clear();
}

void TScreenGrid::Build(const Tvertices& vertices, int32_t vertexCount, const TProjectionSetup& setup, int width,
                        int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  const size_t cells = static_cast<size_t>(width_) * static_cast<size_t>(height_);
  const size_t count = std::min(static_cast<size_t>(std::max(vertexCount, 0)), vertices.size());
  // Counting sort: each vertex's cell, the cell sizes, their running sums,
  // then the scatter in vertex order.
  cellOf_.resize(count);
  offsets_.assign(cells + 1, 0);
  for (size_t i = 0; i < count; ++i) {
    double winX, winY;
    uint32_t cell = kNoCell;
    if (ProjectToWindow(vertices[i], setup, winX, winY)) cell = CellOf(winX, winY, width_, height_);
    cellOf_[i] = cell;
    if (cell != kNoCell) ++offsets_[cell + 1];
  }
  for (size_t c = 0; c < cells; ++c) offsets_[c + 1] += offsets_[c];
  indices_.resize(offsets_[cells]);
  for (size_t i = 0; i < count; ++i) {
    const uint32_t cell = cellOf_[i];
    if (cell != kNoCell) indices_[offsets_[cell]++] = static_cast<int32_t>(i);
  }
  // The scatter moved each offset to the end of its cell: shift back.
  for (size_t c = cells; c > 0; --c) offsets_[c] = offsets_[c - 1];
  offsets_[0] = 0;
}

std::vector<int32_t> TScreenGrid::Cell(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return {};
  const size_t c = static_cast<size_t>(x) * static_cast<size_t>(height_) + static_cast<size_t>(y);
  return {indices_.begin() + offsets_[c], indices_.begin() + offsets_[c + 1]};
}

void TScreenGrid::AppendWindow(int centreX, int centreY, int halfSize, std::vector<int32_t>& out) const {
  if (halfSize <= 0) return;
  const int x0 = WindowStart(centreX, halfSize), y0 = WindowStart(centreY, halfSize);
  const int x1 = std::min(x0 + 2 * halfSize, width_), y1 = std::min(y0 + 2 * halfSize, height_);
  if (x0 < 0 || y0 < 0 || y0 >= y1) return;
  for (int x = x0; x < x1; ++x) {
    const size_t column = static_cast<size_t>(x) * static_cast<size_t>(height_);
    out.insert(out.end(), indices_.begin() + offsets_[column + static_cast<size_t>(y0)],
               indices_.begin() + offsets_[column + static_cast<size_t>(y1)]);
  }
}

void BuildScreenGrid(const TGeosphera& e, const TProjectionSetup& mainSetup, const TProjectionSetup& mirrorSetup,
                     int width, int height, TScreenGrid& main, TScreenGrid& mirror) {
  main.Build(e.vertices, e.vertexCount, mainSetup, width, height);
  mirror.Build(e.vertices, e.vertexCount, mirrorSetup, width, height);
}

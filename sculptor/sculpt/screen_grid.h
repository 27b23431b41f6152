// The per-pixel screen grid of the picking: every vertex of an element binned
// by its projected window position, so a brush looks up only the vertices
// near the cursor. Two grids exist, one through the main camera and one
// through the mirror camera (symmetry across z = 0).
//
// Layout: cells in column-major order (cell = x * height + y, y from the top),
// one flat array of vertex indices with per-cell offsets (a counting sort), so
// the rows of one column are contiguous and each cell lists its vertices in
// index order.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "model/geosphera.h"

// Matrices (column-major, as glGetDoublev returns them) and viewport (x, y,
// width, height, as glGetIntegerv(GL_VIEWPORT)) of one camera set-up.
struct TProjectionSetup {
  std::array<double, 16> modelview{};
  std::array<double, 16> projection{};
  std::array<int, 4> viewport{0, 0, 0, 0};
};

class TScreenGrid {
 public:
  int width() const { return width_; }
  int height() const { return height_; }

  // Bins `vertices` through `setup` into a grid of width x height cells. A
  // vertex lands in cell (round(x), round(height - y)) of its gluProject window
  // position (x, y), rounded to nearest with halves to even, when that cell
  // has 1 <= x <= width - 1 and 1 <= y <= height - 1; column 0 and row 0 hold
  // nothing. Vertices that do not project (w = 0, not finite) are skipped.
  void Build(const Tvertices& vertices, int32_t vertexCount, const TProjectionSetup& setup, int width, int height);
  void Clear();

  // The vertices of one cell (empty outside the grid).
  std::vector<int32_t> Cell(int x, int y) const;

  // Appends the vertices of the 2R x 2R window whose top-left cell is
  // (x0, y0): x0 = X - R when R < X, else 0 (y0 alike), columns outer, rows
  // inner, cells outside the grid skipped.
  void AppendWindow(int centreX, int centreY, int halfSize, std::vector<int32_t>& out) const;

 private:
  int width_ = 0, height_ = 0;
  std::vector<uint32_t> offsets_;  // width * height + 1; cell c holds indices_[offsets_[c] .. offsets_[c + 1])
  std::vector<int32_t> indices_;
  std::vector<uint32_t> cellOf_;   // scratch of Build: each vertex's cell, or kNoCell
};

// Both grids of an element: `main` through the main camera, `mirror` through
// the mirror camera.
void BuildScreenGrid(const TGeosphera& e, const TProjectionSetup& mainSetup, const TProjectionSetup& mirrorSetup,
                     int width, int height, TScreenGrid& main, TScreenGrid& mirror);

// The window start of the candidate search: c - R when R < c, else 0.
inline int WindowStart(int centre, int halfSize) { return halfSize < centre ? centre - halfSize : 0; }

// Which blocks of a metaball grid can hold part of the level-1.0 surface.
//
// The grid's cubes are grouped in blocks of kBlockCells a side. A box of
// blocks is bounded from above by the sum over the balls of
// strength / dmin^4 and from below by the sum of strength / dmax^4 (dmin, dmax
// the least and greatest distance from the ball to the box), both widened by
// what single-precision rounding can add to a sampled value. A box whose bound
// stays below 1.0, or whose lower bound reaches it, holds only cubes whose
// corners are all on one side of the level; other boxes are halved until
// single blocks remain, which are the active ones.
#pragma once

#include <cstdint>
#include <vector>

#include "processing/sketch_spheres_polygonise.h"

class SurfaceBlocks {
 public:
  static constexpr int kBlockCells = 4;

  SurfaceBlocks(const TMetaBalls& balls, const TMetaGrid& grid);

  int perAxis() const { return perAxis_; }
  // True when block (bi, bj, bk) may hold a cube with corners on both sides.
  bool Active(int bi, int bj, int bk) const {
    return active_[(static_cast<size_t>(bi) * static_cast<size_t>(perAxis_) + static_cast<size_t>(bj)) *
                       static_cast<size_t>(perAxis_) +
                   static_cast<size_t>(bk)] != 0;
  }
  // The first cell of block b and one past its last.
  int FirstCell(int b) const { return b * kBlockCells; }
  int EndCell(int b) const { return b * kBlockCells + kBlockCells < cells_ ? b * kBlockCells + kBlockCells : cells_; }

 private:
  struct Ball {
    double x, y, z, strength;
  };
  struct BlockRange {
    int begin[3], end[3];
  };
  void Classify(const BlockRange& range);
  // Bounds of the sampled field over the points of `range`.
  void FieldBounds(const BlockRange& range, double& lower, double& upper) const;

  const TMetaGrid& grid_;
  int cells_ = 0;
  int perAxis_ = 0;
  std::vector<Ball> balls_;
  bool lowerValid_ = true;  // every ball at a finite position with a strength >= 0
  double roundingMargin_ = 0;
  std::vector<uint8_t> active_;
};

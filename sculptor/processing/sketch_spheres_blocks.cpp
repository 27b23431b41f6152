#include "processing/sketch_spheres_blocks.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Below this squared distance a sampled d^2 * d^2 may underflow in single
// precision (strength / 0 is infinite, 0 / 0 NaN): no bound holds there.
constexpr double kTinyDistance2 = 1e-18;
// Beyond this squared distance d^2 * d^2 may overflow (the term becomes 0);
// such terms are left out of the lower bound, as are terms small enough to
// fall into the subnormal range.
constexpr double kHugeDistance2 = 1e18;
constexpr double kNegligibleTerm = 1e-30;

// Upper bound of one ball's sampled term at squared distances >= dmin2.
double UpperTerm(double strength, double dmin2) {
  if (!(strength > 0)) return strength == 0 && dmin2 < kTinyDistance2 ? kInfinity : 0;  // a negative term only lowers
  if (std::isinf(strength) || dmin2 < kTinyDistance2) return kInfinity;
  return strength / (dmin2 * dmin2);
}

// Lower bound of one ball's sampled term at squared distances <= dmax2 (the
// strength >= 0, the ball finite).
double LowerTerm(double strength, double dmax2) {
  if (strength == 0 || dmax2 > kHugeDistance2) return 0;
  const double term = strength / (dmax2 * dmax2);
  return term < kNegligibleTerm ? 0 : term;
}

}  // namespace

SurfaceBlocks::SurfaceBlocks(const TMetaBalls& balls, const TMetaGrid& grid) : grid_(grid), cells_(grid.cells) {
  perAxis_ = (cells_ + kBlockCells - 1) / kBlockCells;
  balls_.reserve(balls.size());
  for (const TMetaBall& b : balls) {
    balls_.push_back({b.position.x, b.position.y, b.position.z, b.strength});
    lowerValid_ = lowerValid_ && b.strength >= 0 && std::isfinite(b.position.x) && std::isfinite(b.position.y) &&
                  std::isfinite(b.position.z);
  }
  // A sampled term carries at most about a dozen roundings and the running
  // sum one per ball, each within 2^-24 relative: four times that is spare.
  roundingMargin_ = (static_cast<double>(balls.size()) + 16) * std::ldexp(1.0, -22);
  lowerValid_ = lowerValid_ && roundingMargin_ < 0.5;
  const size_t n = static_cast<size_t>(perAxis_);
  active_.assign(n * n * n, 0);
  if (perAxis_ > 0) Classify({{0, 0, 0}, {perAxis_, perAxis_, perAxis_}});
}

void SurfaceBlocks::FieldBounds(const BlockRange& range, double& lower, double& upper) const {
  // The box spanned by the range's points (z falls as k grows).
  const double lo[3] = {grid_.x[static_cast<size_t>(FirstCell(range.begin[0]))],
                        grid_.y[static_cast<size_t>(FirstCell(range.begin[1]))],
                        grid_.z[static_cast<size_t>(EndCell(range.end[2] - 1))]};
  const double hi[3] = {grid_.x[static_cast<size_t>(EndCell(range.end[0] - 1))],
                        grid_.y[static_cast<size_t>(EndCell(range.end[1] - 1))],
                        grid_.z[static_cast<size_t>(FirstCell(range.begin[2]))]};
  lower = 0;
  upper = 0;
  for (const Ball& b : balls_) {
    const double c[3] = {b.x, b.y, b.z};
    double dmin2 = 0, dmax2 = 0;
    for (int a = 0; a < 3; ++a) {
      const double inside = std::clamp(c[a], lo[a], hi[a]) - c[a];
      const double far = std::max(std::fabs(c[a] - lo[a]), std::fabs(c[a] - hi[a]));
      dmin2 += inside * inside;
      dmax2 += far * far;
    }
    upper += UpperTerm(b.strength, dmin2);
    if (lowerValid_) lower += LowerTerm(b.strength, dmax2);
  }
  upper *= 1 + roundingMargin_;
  lower *= 1 - roundingMargin_;
}

void SurfaceBlocks::Classify(const BlockRange& range) {
  double lower = 0, upper = 0;
  FieldBounds(range, lower, upper);
  if (upper < 1.0) return;  // every corner below the level
  if (lowerValid_ && lower >= 1.0) return;  // no corner below it
  int widest = 0;
  for (int a = 1; a < 3; ++a) {
    if (range.end[a] - range.begin[a] > range.end[widest] - range.begin[widest]) widest = a;
  }
  const int width = range.end[widest] - range.begin[widest];
  if (width == 1) {  // a single block
    const size_t n = static_cast<size_t>(perAxis_);
    active_[(static_cast<size_t>(range.begin[0]) * n + static_cast<size_t>(range.begin[1])) * n +
            static_cast<size_t>(range.begin[2])] = 1;
    return;
  }
  BlockRange first = range, second = range;
  first.end[widest] = second.begin[widest] = range.begin[widest] + width / 2;
  Classify(first);
  Classify(second);
}

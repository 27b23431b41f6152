// BuildScreenGrid on a 4M-triangle element (2M vertices) at 1600 x 1000 pixels:
// both grids, main and mirror camera, as at every stroke release.
#include <cmath>

#include "bench_util.h"
#include "mesh_shapes.h"
#include "sculpt/screen_grid.h"

namespace {

constexpr int kWidth = 1600, kHeight = 1000;

// The start view: orthographic, 12.6 units high, looking along -z; the mirror
// camera sees the model from behind (x negated).
TProjectionSetup StartView(bool mirrored) {
  TProjectionSetup s;
  const double halfHeight = 6.3, halfWidth = halfHeight * kWidth / kHeight;
  s.modelview = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -15, 1};
  if (mirrored) s.modelview[0] = -1;
  s.projection = {1 / halfWidth, 0, 0, 0, 0, 1 / halfHeight, 0, 0, 0, 0, -2.0 / 600, 0, 0, 0, -400.0 / 600, 1};
  s.viewport = {0, 0, kWidth, kHeight};
  return s;
}

}  // namespace

int main() {
  const TGeosphera e = MakeCubeSphere(577, 2.5f);  // 12 x 577^2 = 4.0M triangles
  TScreenGrid main, mirror;
  const TProjectionSetup direct = StartView(false), mirrored = StartView(true);
  // The first build touches the grids' memory; the window reuses it.
  BuildScreenGrid(e, direct, mirrored, kWidth, kHeight, main, mirror);
  const double ms = bench::BestMs(5, [&] { BuildScreenGrid(e, direct, mirrored, kWidth, kHeight, main, mirror); });
  std::printf("BENCH screen_grid: ours %.1f ms\n", ms);
  return 0;
}

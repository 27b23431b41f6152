// Ambient occlusion at strength 4: the whole bake of a 1M-vertex element, and
// on a 50k-vertex element the grid gathering beside the quadratic loop that
// defines it (the peer), with the colour bytes in which the two differ.
#include <algorithm>
#include <cmath>
#include <ctime>

#include "bench_util.h"
#include "mesh_shapes.h"
#include "model/scene.h"
#include "processing/ambient_occlusion.h"

namespace {

// A cube-sphere of radius 2.5 (6 n^2 + 2 vertices) with bumps along the
// normals, so that the discs shadow each other.
TGeosphera MakeBumpySphere(int n) {
  TGeosphera e = MakeCubeSphere(n, 2.5f);
  for (TGLCoord& p : e.vertices) {
    const float s = 1 + 0.08f * std::sin(4 * p.x) * std::sin(5 * p.y) * std::sin(3 * p.z + 1);
    p = {p.x * s, p.y * s, p.z * s};
  }
  RefreshElement(e);
  return e;
}

struct Times {
  double wallMs = 1e300, cpuMs = 1e300;
};

// Best wall and processor times of `runs` bakes, each of a fresh copy of
// `input` (processor time: the machine is shared, so wall time alone says
// little); leaves the last result in `out`.
Times BakeTimes(int runs, const TGeosphera& input, AoGatherPass gather, TGeosphera& out) {
  Times best;
  for (int i = 0; i < runs; ++i) {
    out = input;
    const std::clock_t start = std::clock();
    const double wallMs = bench::BestMs(1, [&] { BakeAmbientOcclusion(out, kAoStrengthDefault, {}, gather); });
    best.wallMs = std::min(best.wallMs, wallMs);
    best.cpuMs = std::min(best.cpuMs, 1000.0 * static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC);
  }
  return best;
}

}  // namespace

int main() {
  TGeosphera baked;
  {
    const TGeosphera large = MakeBumpySphere(408);  // 998,786 vertices
    const Times t = BakeTimes(2, large, GatherOcclusion, baked);
    bench::Report("ambient occlusion, 1M vertices", t.wallMs, "ms");
    bench::Report("ambient occlusion, 1M vertices, processor time", t.cpuMs, "ms");
  }

  const TGeosphera medium = MakeBumpySphere(91);  // 49,688 vertices
  TGeosphera quadratic;
  const Times ours = BakeTimes(3, medium, GatherOcclusion, baked);
  const Times peer = BakeTimes(1, medium, GatherOcclusionQuadratic, quadratic);
  bench::ReportComparison("ambient occlusion, 50k vertices (peer: quadratic loop)", ours.wallMs, peer.wallMs);
  bench::ReportComparison("ambient occlusion, 50k vertices, processor time (peer: quadratic loop)", ours.cpuMs,
                          peer.cpuMs);
  double differing = 0;
  for (size_t v = 0; v < baked.colors.size(); ++v) differing += !(baked.colors[v] == quadratic.colors[v]);
  bench::Report("ambient occlusion, 50k vertices: colours differing from the quadratic loop", differing, "vertices");
  return 0;
}

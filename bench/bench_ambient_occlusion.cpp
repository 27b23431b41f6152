// Ambient occlusion at strength 4: the whole bake of a 1M-vertex element, and
// on a 50k-vertex element the grid gathering beside the quadratic loop that
// defines it (the peer), with the colour bytes in which the two differ.
#include <cmath>

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

// Best time of `runs` bakes, each of a fresh copy of `input`; leaves the last result in `out`.
double BakeMs(int runs, const TGeosphera& input, AoGatherPass gather, TGeosphera& out) {
  double best = 1e300;
  for (int i = 0; i < runs; ++i) {
    out = input;
    best = std::min(best, bench::BestMs(1, [&] { BakeAmbientOcclusion(out, kAoStrengthDefault, {}, gather); }));
  }
  return best;
}

}  // namespace

int main() {
  TGeosphera baked;
  {
    const TGeosphera large = MakeBumpySphere(408);  // 998,786 vertices
    bench::Report("ambient occlusion, 1M vertices", BakeMs(2, large, GatherOcclusion, baked), "ms");
  }

  const TGeosphera medium = MakeBumpySphere(91);  // 49,688 vertices
  TGeosphera quadratic;
  const double oursMs = BakeMs(3, medium, GatherOcclusion, baked);
  const double peerMs = BakeMs(1, medium, GatherOcclusionQuadratic, quadratic);
  bench::ReportComparison("ambient occlusion, 50k vertices (peer: quadratic loop)", oursMs, peerMs);
  double differing = 0;
  for (size_t v = 0; v < baked.colors.size(); ++v) differing += !(baked.colors[v] == quadratic.colors[v]);
  bench::Report("ambient occlusion, 50k vertices: colours differing from the quadratic loop", differing, "vertices");
  return 0;
}

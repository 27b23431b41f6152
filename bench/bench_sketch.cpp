// "Convert Skech": time and peak memory of the whole command at resolutions 2,
// 4 and 10 (20, 100 and 200 balls), and the surface against the plain sampling
// of every grid point (at 2 and 4; at 10 it takes minutes).
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "bench_util.h"
#include "processing/sketch_spheres.h"
#include "processing/sketch_spheres_reference.h"

namespace {

// Element 0 as the "Skech Sphere" start leaves it (radius 2.5) and sketch
// spheres as strokes leave them: mirrored pairs in chains that grow out of the
// body 0.35 apart, radii 0.4 to 0.7.
TScene SketchedBody(int ballCount) {
  TScene scene;
  ResetScene(scene);
  scene.elements[0].loadExtent = 2.5f;
  const int spheres = ballCount - 1;
  const int chains = std::max(2, spheres / 20);
  for (int s = 0; s < spheres; ++s) {
    const int pair = s / 2, chain = pair % chains, step = pair / chains;
    const double azimuth = 2.4 * chain, elevation = 0.25 + 0.9 * std::fmod(0.618 * chain, 1.0);
    const double reach = 2.1 + 0.35 * step;
    const double bend = 0.04 * step * step;
    TGeosphera& e = scene.elements[static_cast<size_t>(AppendElement(scene))];
    e.position = {static_cast<float>(reach * std::cos(azimuth) * std::cos(elevation)),
                  static_cast<float>(reach * std::sin(azimuth) * std::cos(elevation) + bend),
                  static_cast<float>(reach * std::sin(elevation))};
    if (s % 2 == 1) e.position.z = -e.position.z;
    e.loadExtent = 0.4f + 0.3f * static_cast<float>((s * 7) % 10) / 10;
  }
  return scene;
}

double ElapsedMs(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void ResetPeakMemory() { std::ofstream("/proc/self/clear_refs") << "5"; }

bool Identical(const TSketchSurface& a, const TSketchSurface& b) {
  if (a.faces != b.faces || a.vertices.size() != b.vertices.size()) return false;
  for (size_t v = 0; v < a.vertices.size(); ++v) {
    if (std::memcmp(&a.vertices[v], &b.vertices[v], sizeof(TGLCoord)) != 0) return false;
  }
  return true;
}

// The whole command on fresh scenes; best of `runs`.
double ConvertMs(int resolution, int balls, int runs, size_t& triangles) {
  double best = 1e300;
  for (int run = 0; run < runs; ++run) {
    TScene scene = SketchedBody(balls);
    const auto start = std::chrono::steady_clock::now();
    if (!ConvertSketch(scene, static_cast<float>(resolution))) std::exit(1);
    best = std::min(best, ElapsedMs(start));
    triangles = scene.elements[0].faces.size() / 3;
  }
  return best;
}

void Case(int resolution, int balls, int runs, bool withPlain) {
  const std::string name = "sketch convert r" + std::to_string(resolution) + " " + std::to_string(balls) + " balls";
  ResetPeakMemory();
  size_t triangles = 0;
  const double convertMs = ConvertMs(resolution, balls, runs, triangles);
  bench::Report(name + " peak memory", bench::PeakMemoryMiB(), "MiB");
  bench::Report(name + " (triangles " + std::to_string(triangles) + ")", convertMs, "ms");
  if (!withPlain) return;

  const TMetaBalls metaBalls = SketchBalls(SketchedBody(balls).elements);
  TSketchSurface ours;
  const double oursMs = bench::BestMs(runs, [&] { BuildSketchSurface(metaBalls, resolution, ours); });
  const TMetaGrid grid = InitMetaGrid(resolution * kSketchCellsPerStep + 1, kSketchGridExtent);
  std::vector<float> values;
  const double samplingMs = bench::BestMs(1, [&] { values = sketch_reference::SampleField(metaBalls, grid); });
  const auto start = std::chrono::steady_clock::now();
  TSketchSurface plain = sketch_reference::PolygoniseUnshared(values, grid);
  sketch_reference::MergeEqualPositions(plain);
  sketch_reference::WeldPairwise(plain);
  const double plainMs = samplingMs + ElapsedMs(start);
  const std::string surface = "sketch surface r" + std::to_string(resolution) + " " + std::to_string(balls) + " balls";
  bench::ReportComparison(surface + " vs plain sampling", oursMs, samplingMs);
  bench::ReportComparison(surface + " vs plain conversion", oursMs, plainMs);
  bench::Report(surface + " speed-up over the plain conversion", plainMs / oursMs, "x");
  std::printf("BENCH %s: %s\n", surface.c_str(),
              Identical(ours, plain) ? "identical to the plain conversion" : "DIFFERS");
}

}  // namespace

int main() {
  Case(2, 20, 5, true);
  Case(4, 100, 3, true);
  Case(10, 200, 3, false);
  return 0;
}

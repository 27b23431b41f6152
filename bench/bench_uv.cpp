// "Create UVs" headless on 100k and 1M triangles: time, chart count, the share
// of a 2048 texture the charts cover, the area that more than one chart covers
// (must be 0), and the colour round trip vertex -> texture -> vertex at 2048
// through a CPU rasterisation of the texture panel's pass.
// Usage: bench_uv [MODEL ...]   (extra .met / .obj / .ply models measured too)
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "bench_util.h"
#include "io/model_conversion.h"
#include "mesh_shapes.h"
#include "model/topology.h"
#include "processing/uv_create.h"
#include "processing/uv_texture_transfer.h"
#include "uv_raster.h"

namespace {

constexpr float kPartitionControl = 0.8f;  // the default of "Partition Control"
constexpr int kTextureSize = 2048;
constexpr int kOutlineTexels = 5;  // the texture panel's line width

// A cube-sphere of 12 n^2 triangles with bumps of a few percent of its radius,
// so that charts end at creases as on a sculpted or scanned surface.
TGeosphera BumpySphere(int n) {
  TGeosphera e = MakeCubeSphere(n, 2.5f);
  for (TGLCoord& p : e.vertices) {
    const float bump =
        1 + 0.04f * std::sin(9 * p.x) * std::sin(11 * p.y) * std::sin(10 * p.z) + 0.02f * std::sin(23 * p.x + 17 * p.z);
    p = {p.x * bump, p.y * bump, p.z * bump};
  }
  RefreshElement(e);
  return e;
}

// Smooth paint: a colour field over the positions, a few waves across the
// model whatever its size.
void Paint(TGeosphera& e) {
  float size = 0;
  for (const TGLCoord& p : e.vertices) size = std::max({size, std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)});
  const float k = 2.5f / std::max(size, 1e-6f);
  e.colors.resize(e.vertices.size());
  for (size_t v = 0; v < e.vertices.size(); ++v) {
    const TGLCoord p{e.vertices[v].x * k, e.vertices[v].y * k, e.vertices[v].z * k};
    auto channel = [](float t) { return static_cast<uint8_t>(std::lround(128 + 100 * std::sin(t))); };
    e.colors[v] = {channel(1.3f * p.x), channel(1.1f * p.y + 1), channel(0.9f * p.z + 2), 255};
  }
}

void Measure(const std::string& name, const TGeosphera& input) {
  TGeosphera painted = input;
  Paint(painted);
  const size_t triangles = static_cast<size_t>(painted.indexCount) / 3;
  TScene result;
  const double ms = bench::BestMs(2, [&] {
    result = TScene{};
    result.elements = {painted};
    CreateSceneUVs(result, kPartitionControl, kTextureSize);
  });
  const TGeosphera& e = result.elements[0];

  std::vector<int32_t> chartOfTriangle(triangles);
  const std::vector<TPatch> charts = SegmentCharts(input.vertices, input.faces, kPartitionControl);
  for (const TPatch& chart : charts) {
    for (size_t i = 0; i < chart.corners.size(); i += 3) chartOfTriangle[chart.corners[i] / 3] = chart.number;
  }
  const bench::ChartCoverage coverage = bench::MeasureCoverage(e.faces, e.uvs, chartOfTriangle, kTextureSize);
  const double texels = double(kTextureSize) * kTextureSize;

  const std::vector<uint8_t> image = bench::DrawVertexColors(e.faces, e.uvs, e.colors, kTextureSize, kOutlineTexels);
  TCores back = e.colors;
  SampleTextureIntoColors({image, kTextureSize}, e.faces, e.uvFaces, e.uvs, back);
  double sum[3] = {0, 0, 0};
  int largest[3] = {0, 0, 0};
  for (size_t v = 0; v < back.size(); ++v) {
    const int d[3] = {std::abs(back[v].r - e.colors[v].r), std::abs(back[v].g - e.colors[v].g),
                      std::abs(back[v].b - e.colors[v].b)};
    for (int k = 0; k < 3; ++k) {
      sum[k] += d[k];
      largest[k] = std::max(largest[k], d[k]);
    }
  }
  const double n = static_cast<double>(back.size());

  std::printf("-- %s: %zu triangles, %d vertices after the seam split\n", name.c_str(), triangles, e.vertexCount);
  bench::Report("uv create " + name, ms, "ms");
  bench::Report("uv charts " + name, static_cast<double>(charts.size()), "charts");
  bench::Report("uv texel utilisation " + name + " (xatlas ~69 %)", 100 * coverage.covered / texels, "%");
  std::printf("BENCH uv overlapping area %s: %lld texels (%.3f %%)\n", name.c_str(),
              static_cast<long long>(coverage.overlapping), 100 * coverage.overlapping / texels);
  std::printf("BENCH uv colour round trip %s: mean %.2f %.2f %.2f, largest %d %d %d levels (R G B)\n", name.c_str(),
              sum[0] / n, sum[1] / n, sum[2] / n, largest[0], largest[1], largest[2]);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  Measure("100k", BumpySphere(91));
  Measure("1M", BumpySphere(289));
  for (int i = 1; i < argc; ++i) {
    TScene scene;
    ResetScene(scene);
    if (!LoadIntoScene(scene, argv[i], ModelKindOfFile(argv[i]), 1.0f)) return 1;
    Measure(argv[i], scene.elements[0]);
  }
  return 0;
}

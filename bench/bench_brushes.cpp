// One brush application on a 4M-triangle element: footprint gathering from the
// candidates of a screen window, the operator, and the footprint normal update
// (the CPU work of one mouse move, without the buffer upload).
#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "bench_util.h"
#include "mesh_shapes.h"
#include "model/topology.h"
#include "sculpt/brush_dispatch.h"
#include "sculpt/footprint.h"

namespace {

constexpr float kSphereRadius = 2.5f;
constexpr size_t kFootprintGoal = 25000;

// 12 x 577^2 = 4.0M triangles, 2.0M vertices, ready for sculpting.
TGeosphera MakeInput() {
  TGeosphera e = MakeCubeSphere(577, kSphereRadius);
  BuildAdjacency(e, ComputeValence(e));
  RecomputeAllNormals(e);
  return e;
}

// What the screen grid yields for a view along -z: every vertex (front and
// back) whose (x, y) falls in the square window of half size `radius` around
// the cursor, binned into 2 x 100 pixel columns and rows, listed columns
// outer, rows inner, each cell in vertex order.
std::vector<int32_t> WindowCandidates(const TGeosphera& e, const TGLCoord& cursor, float radius) {
  const float pixel = radius / 100;
  std::vector<std::tuple<int, int, int32_t>> binned;
  for (int32_t v = 0; v < e.vertexCount; ++v) {
    const TGLCoord& p = e.vertices[static_cast<size_t>(v)];
    const float dx = p.x - cursor.x, dy = p.y - cursor.y;
    if (std::fabs(dx) >= radius || std::fabs(dy) >= radius) continue;
    binned.emplace_back(static_cast<int>(std::floor(dx / pixel)), static_cast<int>(std::floor(dy / pixel)), v);
  }
  std::sort(binned.begin(), binned.end());
  std::vector<int32_t> candidates;
  candidates.reserve(binned.size());
  for (const auto& [column, row, v] : binned) candidates.push_back(v);
  return candidates;
}

// A radius whose footprint holds about kFootprintGoal vertices around `cursor`.
float RadiusForGoal(const TGeosphera& e, const TGLCoord& cursor) {
  float radius = kSphereRadius * std::sqrt(4.0f * kFootprintGoal / static_cast<float>(e.vertexCount));
  for (int step = 0; step < 3; ++step) {
    TFootprint f;
    GatherFootprint(e, WindowCandidates(e, cursor, radius), cursor, radius, f);
    radius *= std::sqrt(static_cast<float>(kFootprintGoal) / static_cast<float>(f.entries.size()));
  }
  return radius;
}

}  // namespace

// The candidates' positions and normals, put back before every timed
// application so that each one starts from the same surface under the cursor.
struct SavedRegion {
  std::vector<TGLCoord> positions, normals;

  SavedRegion(const TGeosphera& e, const std::vector<int32_t>& candidates) {
    for (int32_t v : candidates) {
      positions.push_back(e.vertices[static_cast<size_t>(v)]);
      normals.push_back(e.normals[static_cast<size_t>(v)]);
    }
  }
  void Restore(TGeosphera& e, const std::vector<int32_t>& candidates) const {
    for (size_t i = 0; i < candidates.size(); ++i) {
      e.vertices[static_cast<size_t>(candidates[i])] = positions[i];
      e.normals[static_cast<size_t>(candidates[i])] = normals[i];
    }
  }
};

// Best of `runs` timings of `work`, each after `prepare` (not timed).
template <typename Prepare, typename Work>
double BestPreparedMs(int runs, Prepare&& prepare, Work&& work) {
  double best = 1e300;
  for (int i = 0; i < runs; ++i) {
    prepare();
    best = std::min(best, bench::BestMs(1, work));
  }
  return best;
}

int main() {
  TGeosphera e = MakeInput();
  // A cursor point on the front of the sphere, off the cube's face centre.
  const float len = std::sqrt(0.3f * 0.3f + 0.2f * 0.2f + 1.0f);
  const TGLCoord cursor{0.3f * kSphereRadius / len, 0.2f * kSphereRadius / len, kSphereRadius / len};
  const float radius = RadiusForGoal(e, cursor);
  const std::vector<int32_t> candidates = WindowCandidates(e, cursor, radius);
  const SavedRegion saved(e, candidates);
  const auto restore = [&] { saved.Restore(e, candidates); };

  TBrushFrame frame;
  frame.symmetry = false;
  frame.radius = radius;
  frame.grabDelta = {0.001f, 0.0005f, 0};
  GatherBrushFrame(e, candidates, {}, cursor, frame);
  bench::Report("brush footprint vertices", static_cast<double>(frame.direct.entries.size()), "vertices");
  bench::Report("brush window candidates", static_cast<double>(candidates.size()), "vertices");
  // Strokes mark what they reach: from then on every triangle under the brush counts.
  for (const TContsel& entry : frame.direct.entries) e.vertexState[static_cast<size_t>(entry.vertex)] = kVertexTouched;

  const double gatherMs = bench::BestMs(30, [&] { GatherBrushFrame(e, candidates, {}, cursor, frame); });
  bench::Report("brush gathering from the window candidates", gatherMs, "ms");
  const double normalsMs = bench::BestMs(30, [&] { UpdateFootprintNormals(e, frame.direct.entries, nullptr, nullptr); });
  bench::Report("UpdateFootprintNormals, 25000-vertex footprint", normalsMs, "ms");

  const struct {
    const char* name;
    int item;
  } brushes[] = {{"Add", 0}, {"Smooth", 6}, {"Grab", 2}};
  for (const auto& brush : brushes) {
    const TBrushInfo& info = *FindBrush(brush.item);
    frame.strength = StrengthOnSelection(brush.item, 15);
    frame.sign = info.sign;
    const TBrushTool tool{TBrushTarget::Shape, info.sculptMode, {}, nullptr};
    const double opMs = BestPreparedMs(30, restore, [&] { ApplyBrush(e, frame, tool); });
    bench::Report(std::string("brush operator ") + brush.name, opMs, "ms");
    const double ms = BestPreparedMs(30, restore, [&] {
      GatherBrushFrame(e, candidates, {}, cursor, frame);
      ApplyBrush(e, frame, tool);
      UpdateFootprintNormals(e, frame.direct.entries, nullptr, nullptr);
    });
    bench::Report(std::string("brush application ") + brush.name + ", 25000-vertex footprint, 4M triangles (goal < 2 ms)",
                  ms, "ms");
  }
  return 0;
}

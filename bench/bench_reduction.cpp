// Mesh reduction of a 1M-triangle organic shape to 10 % and 1 % of its
// triangles against meshoptimizer's meshopt_simplify at the same target count:
// the time of each, and the two-sided Hausdorff distance of each result to the
// input relative to the bounding-box diagonal. Ours is ReduceMesh with the
// command's settings (aggressiveness 5, scale normalised), arrays in and out;
// the peer writes an index list over the input's vertices.
//
// The distance is estimated by sampling: points spread uniformly over each
// surface (and its vertices) are measured against the other surface through
// CGAL's AABB tree; the largest distance either way is the estimate.
#include <CGAL/AABB_traits.h>
#include <CGAL/AABB_tree.h>
#include <CGAL/AABB_triangle_primitive.h>
#include <CGAL/Simple_cartesian.h>
#include <meshoptimizer.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

#include "bench_util.h"
#include "mesh_shapes.h"
#include "model/scene.h"
#include "processing/meshify_simplify_quadric.h"
#include "processing/meshify_simplify_quadric_element.h"
#include "sculpt/subdivision.h"

namespace {

using Kernel = CGAL::Simple_cartesian<double>;
using Point = Kernel::Point_3;
using Triangles = std::vector<Kernel::Triangle_3>;
using Primitive = CGAL::AABB_triangle_primitive<Kernel, Triangles::const_iterator>;
using Tree = CGAL::AABB_tree<CGAL::AABB_traits<Kernel, Primitive>>;

constexpr int kRuns = 2;
constexpr size_t kSamples = 400000;

struct Mesh {
  TFaces faces;
  TVertices vertices;
};

// A blob with lobes: a cube-sphere of 62k triangles pushed in and out by
// smooth waves of its direction, then Loop-subdivided twice: 995k triangles.
Mesh MakeInput() {
  TGeosphera e = MakeCubeSphere(72, 2.5f);
  for (TGLCoord& p : e.vertices) {
    const double r = std::sqrt(double(p.x) * p.x + double(p.y) * p.y + double(p.z) * p.z);
    const double x = p.x / r, y = p.y / r, z = p.z / r;
    const double lobes = 1 + 0.30 * std::sin(3 * x + 1) * std::cos(2 * y) + 0.15 * std::sin(5 * z + 2 * x) +
                         0.06 * std::sin(9 * y + 4 * z) * std::cos(7 * x) + 0.4 * std::exp(-12 * (1 - y));
    p = {static_cast<float>(p.x * lobes), static_cast<float>(p.y * lobes), static_cast<float>(p.z * lobes)};
  }
  RefreshElement(e);
  SubdivideElement(e);
  SubdivideElement(e);
  Mesh m;
  m.vertices.resize(static_cast<size_t>(e.vertexCount));
  for (size_t v = 0; v < m.vertices.size(); ++v) m.vertices[v] = {e.vertices[v].x, e.vertices[v].y, e.vertices[v].z};
  for (size_t c = 0; c + 2 < static_cast<size_t>(e.indexCount); c += 3) {
    m.faces.push_back(
        {static_cast<int32_t>(e.faces[c]), static_cast<int32_t>(e.faces[c + 1]), static_cast<int32_t>(e.faces[c + 2])});
  }
  return m;
}

double Diagonal(const Mesh& m) {
  TPoint3f lo = m.vertices[0], hi = m.vertices[0];
  for (const TPoint3f& p : m.vertices) {
    lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
    hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
  }
  return std::sqrt(double(hi.x - lo.x) * (hi.x - lo.x) + double(hi.y - lo.y) * (hi.y - lo.y) +
                   double(hi.z - lo.z) * (hi.z - lo.z));
}

Point ToPoint(const TPoint3f& p) { return {p.x, p.y, p.z}; }

Triangles CgalTriangles(const Mesh& m) {
  Triangles out;
  out.reserve(m.faces.size());
  for (const TPoint3i& f : m.faces) {
    Kernel::Triangle_3 t(ToPoint(m.vertices[f.x]), ToPoint(m.vertices[f.y]), ToPoint(m.vertices[f.z]));
    if (!t.is_degenerate()) out.push_back(t);
  }
  return out;
}

// The vertices, then points spread uniformly over the area (fixed seed).
std::vector<Point> SampleSurface(const Mesh& m) {
  std::vector<Point> points;
  points.reserve(m.vertices.size() + kSamples);
  for (const TPoint3f& p : m.vertices) points.push_back(ToPoint(p));
  const Triangles triangles = CgalTriangles(m);
  std::vector<double> area(triangles.size());
  double sum = 0;
  for (size_t t = 0; t < triangles.size(); ++t) area[t] = sum += std::sqrt(triangles[t].squared_area());
  std::mt19937_64 random(20240611);
  std::uniform_real_distribution<double> unit(0, 1);
  for (size_t i = 0; i < kSamples; ++i) {
    const size_t t = static_cast<size_t>(std::lower_bound(area.begin(), area.end(), unit(random) * sum) - area.begin());
    const Kernel::Triangle_3& tri = triangles[std::min(t, triangles.size() - 1)];
    double a = unit(random), b = unit(random);
    if (a + b > 1) a = 1 - a, b = 1 - b;
    points.push_back(tri[0] + a * (tri[1] - tri[0]) + b * (tri[2] - tri[0]));
  }
  return points;
}

double FarthestFrom(const Triangles& surface, const std::vector<Point>& points) {
  Tree tree(surface.begin(), surface.end());
  tree.accelerate_distance_queries();
  double farthest = 0;
  for (const Point& p : points) farthest = std::max(farthest, tree.squared_distance(p));
  return std::sqrt(farthest);
}

double Hausdorff(const Triangles& input, const std::vector<Point>& inputSamples, const Mesh& result) {
  return std::max(FarthestFrom(input, SampleSurface(result)), FarthestFrom(CgalTriangles(result), inputSamples));
}

Mesh Ours(const Mesh& input, int target, double& ms) {
  Mesh out;
  ms = 1e300;
  for (int run = 0; run < kRuns; ++run) {
    out = input;
    ms = std::min(ms, bench::BestMs(1, [&] {
                    ReduceMesh(out.faces, out.vertices, target, kReductionAggressiveness, kReductionNormalisesScale);
                  }));
  }
  return out;
}

Mesh Peer(const Mesh& input, int target, double& ms) {
  const auto* indices = reinterpret_cast<const unsigned int*>(input.faces.data());
  const size_t indexCount = 3 * input.faces.size();
  std::vector<unsigned int> out(indexCount);
  size_t written = 0;
  ms = bench::BestMs(kRuns, [&] {
    written = meshopt_simplify(out.data(), indices, indexCount, &input.vertices[0].x, input.vertices.size(),
                               sizeof(TPoint3f), 3 * static_cast<size_t>(target), FLT_MAX, 0, nullptr);
  });
  // Only the vertices its triangles use, so that they alone are sampled.
  Mesh result;
  std::vector<int32_t> index(input.vertices.size(), -1);
  for (size_t i = 0; i < written; ++i) {
    int32_t& v = index[out[i]];
    if (v < 0) {
      v = static_cast<int32_t>(result.vertices.size());
      result.vertices.push_back(input.vertices[out[i]]);
    }
  }
  for (size_t i = 0; i < written; i += 3) result.faces.push_back({index[out[i]], index[out[i + 1]], index[out[i + 2]]});
  return result;
}

}  // namespace

int main() {
  const Mesh input = MakeInput();
  const double diagonal = Diagonal(input);
  const Triangles inputTriangles = CgalTriangles(input);
  const std::vector<Point> inputSamples = SampleSurface(input);
  std::printf("input %zu triangles, %zu vertices, bounding-box diagonal %.3f\n", input.faces.size(),
              input.vertices.size(), diagonal);

  for (const int percent : {10, 1}) {
    const int target = ReductionTarget(static_cast<int64_t>(input.faces.size()), percent);
    double oursMs = 0, peerMs = 0;
    const Mesh ours = Ours(input, target, oursMs);
    const Mesh peer = Peer(input, target, peerMs);
    const std::string name = "reduction_" + std::to_string(percent) + "pct";
    std::printf("%s: target %d triangles; ours %zu, peer %zu\n", name.c_str(), target, ours.faces.size(),
                peer.faces.size());
    bench::ReportComparison(name, oursMs, peerMs);
    const double oursDistance = Hausdorff(inputTriangles, inputSamples, ours) / diagonal;
    const double peerDistance = Hausdorff(inputTriangles, inputSamples, peer) / diagonal;
    std::printf("BENCH %s_hausdorff: ours %.5f, peer %.5f of the diagonal, ratio %.2f\n", name.c_str(), oursDistance,
                peerDistance, oursDistance / peerDistance);
    std::fflush(stdout);
  }
  return 0;
}

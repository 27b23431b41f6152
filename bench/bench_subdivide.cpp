// Subdivide of a 1M-triangle element to 4M triangles against OpenSubdiv on the
// same mesh: ours is the split, the Loop smoothing and the topology refresh
// (valence, adjacency, normals), without undo snapshot and buffer upload; the
// peer builds a Far topology refiner from the mesh, refines it uniformly by one
// Loop level and refines the positions.
#include <opensubdiv/far/primvarRefiner.h>
#include <opensubdiv/far/topologyDescriptor.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "bench_util.h"
#include "mesh_shapes.h"
#include "model/topology.h"
#include "sculpt/subdivision.h"

namespace {

using namespace OpenSubdiv;
using Descriptor = Far::TopologyDescriptor;
using Factory = Far::TopologyRefinerFactory<Descriptor>;

constexpr int kRuns = 3;

// A position as OpenSubdiv's primvar refiner wants it.
struct OsdPoint {
  void Clear(void* = nullptr) { x = y = z = 0; }
  void AddWithWeight(const OsdPoint& p, float w) {
    x += w * p.x;
    y += w * p.y;
    z += w * p.z;
  }
  float x, y, z;
};

// 12 x 289^2 = 1.0M triangles, 0.5M vertices, with the cube's valence-3 corners.
TGeosphera MakeInput() {
  TGeosphera e = MakeCubeSphere(289, 2.5f);
  RefreshElement(e);
  return e;
}

double TimeOurs(const TGeosphera& input, int& triangles) {
  double best = 1e300;
  for (int run = 0; run < kRuns; ++run) {
    TGeosphera e = input;
    best = std::min(best, bench::BestMs(1, [&] { SubdivideElement(e); }));
    triangles = e.triangleCount();
  }
  return best;
}

double TimePeer(const TGeosphera& input, int& faces) {
  const std::vector<int> corners(input.faces.begin(), input.faces.end());
  const std::vector<int> perFace(corners.size() / 3, 3);
  Descriptor mesh;
  mesh.numVertices = input.vertexCount;
  mesh.numFaces = static_cast<int>(perFace.size());
  mesh.numVertsPerFace = perFace.data();
  mesh.vertIndicesPerFace = corners.data();
  Sdc::Options options;
  options.SetVtxBoundaryInterpolation(Sdc::Options::VTX_BOUNDARY_EDGE_ONLY);
  return bench::BestMs(kRuns, [&] {
    std::unique_ptr<Far::TopologyRefiner> refiner(Factory::Create(mesh, Factory::Options(Sdc::SCHEME_LOOP, options)));
    refiner->RefineUniform(Far::TopologyRefiner::UniformOptions(1));
    std::vector<OsdPoint> points(static_cast<size_t>(refiner->GetNumVerticesTotal()));
    for (size_t v = 0; v < input.vertices.size(); ++v) {
      points[v] = {input.vertices[v].x, input.vertices[v].y, input.vertices[v].z};
    }
    OsdPoint* coarse = points.data();
    OsdPoint* fine = coarse + input.vertexCount;
    Far::PrimvarRefiner(*refiner).Interpolate(1, coarse, fine);
    faces = refiner->GetLevel(1).GetNumFaces();
  });
}

}  // namespace

int main() {
  const TGeosphera input = MakeInput();
  int ourTriangles = 0, peerFaces = 0;
  const double ours = TimeOurs(input, ourTriangles);
  const double peer = TimePeer(input, peerFaces);
  std::printf("input %d triangles; ours %d triangles, peer %d faces\n", input.triangleCount(), ourTriangles,
              peerFaces);
  bench::ReportComparison("subdivide", ours, peer);
  return 0;
}

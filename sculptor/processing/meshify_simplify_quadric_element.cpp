#include "processing/meshify_simplify_quadric_element.h"

#include <algorithm>
#include <cmath>

#include "model/scene.h"
#include "processing/meshify_simplify_quadric.h"
#include "sculpt/edge_split.h"

namespace {

// Entry `from[i]` of `values` for every i; entries the array lacks get `fill`.
template <typename T>
std::vector<T> Gather(const std::vector<T>& values, const std::vector<int32_t>& from, const T& fill) {
  std::vector<T> out(from.size(), fill);
  for (size_t i = 0; i < from.size(); ++i) {
    const size_t source = static_cast<size_t>(from[i]);
    if (source < values.size()) out[i] = values[source];
  }
  return out;
}

// The three corner entries of every source triangle, in order.
Tfaces GatherTriangles(const Tfaces& corners, const std::vector<int32_t>& from) {
  Tfaces out(3 * from.size());
  for (size_t t = 0; t < from.size(); ++t) {
    std::copy_n(corners.begin() + 3 * static_cast<std::ptrdiff_t>(from[t]), 3,
                out.begin() + 3 * static_cast<std::ptrdiff_t>(t));
  }
  return out;
}

}  // namespace

int ReductionTarget(int64_t triangles, int percent) {
  return static_cast<int>(std::nearbyint(static_cast<double>(triangles) * percent / 100.0));
}

int ReduceElement(TGeosphera& e, int percent) {
  const size_t corners = TriangleCorners(e);
  const size_t vertexCount = std::min(static_cast<size_t>(std::max(e.vertexCount, 0)), e.vertices.size());
  const bool uvFaces = UvFacesInStep(e, corners);
  const bool perVertexUvs = PerVertexUvs(e, uvFaces);

  TFaces faces(corners / 3);
  for (size_t t = 0; t < faces.size(); ++t) {
    const uint32_t* c = e.faces.data() + 3 * t;
    faces[t] = {static_cast<int32_t>(c[0]), static_cast<int32_t>(c[1]), static_cast<int32_t>(c[2])};
  }
  TVertices positions(vertexCount);
  for (size_t v = 0; v < vertexCount; ++v) positions[v] = {e.vertices[v].x, e.vertices[v].y, e.vertices[v].z};

  TReductionSources sources;
  ReduceMesh(faces, positions, ReductionTarget(static_cast<int64_t>(faces.size()), percent), kReductionAggressiveness,
             kReductionNormalisesScale, &sources);

  // Everything new is built before the element changes.
  Tvertices vertices(positions.size());
  for (size_t v = 0; v < positions.size(); ++v) vertices[v] = {positions[v].x, positions[v].y, positions[v].z};
  Tfaces triangles(3 * faces.size());
  for (size_t t = 0; t < faces.size(); ++t) {
    triangles[3 * t] = static_cast<uint32_t>(faces[t].x);
    triangles[3 * t + 1] = static_cast<uint32_t>(faces[t].y);
    triangles[3 * t + 2] = static_cast<uint32_t>(faces[t].z);
  }
  TCores colors = Gather(e.colors, sources.vertices, kDefaultVertexColor);
  TSelect mask = Gather(e.vertexState, sources.vertices, uint8_t{kVertexFree});
  Tuv uvs = perVertexUvs ? Gather(e.uvs, sources.vertices, TGLUV{}) : Tuv{};
  Tfaces uvTriangles = uvFaces ? GatherTriangles(e.uvFaces, sources.triangles) : Tfaces{};

  e.vertices.swap(vertices);
  e.faces.swap(triangles);
  e.colors.swap(colors);
  e.vertexState.swap(mask);
  if (perVertexUvs) {
    e.uvs.swap(uvs);
    e.uvCount = std::min(e.uvCount, static_cast<int32_t>(e.uvs.size()));
  }
  if (uvFaces) e.uvFaces.swap(uvTriangles);
  e.vertexCount = static_cast<int32_t>(e.vertices.size());
  e.indexCount = static_cast<int32_t>(e.faces.size());
  e.subdivLevel = 0;
  e.levelVertexCounts.clear();
  e.levelChecks.clear();
  e.quads.clear();
  e.edges.clear();
  e.aoDiscs.clear();
  return RefreshElement(e) ? e.adjacency.width : 0;
}

#include "processing/uv_create.h"

#include <algorithm>
#include <new>
#include <stdexcept>

#include "model/messages.h"
#include "model/topology.h"
#include "processing/uv_texture_transfer.h"

namespace {

size_t UsedVertices(const TGeosphera& e) {
  return std::min(static_cast<size_t>(std::max(e.vertexCount, 0)), e.vertices.size());
}

size_t UsedCorners(const TGeosphera& e) {
  const size_t n = std::min(static_cast<size_t>(std::max(e.indexCount, 0)), e.faces.size());
  return n - n % 3;
}

TUvMesh MeshOf(const TGeosphera& e) {
  return {std::span<const TGLCoord>(e.vertices.data(), UsedVertices(e)),
          std::span<const uint32_t>(e.faces.data(), UsedCorners(e))};
}

bool FacesInRange(const TUvMesh& mesh) {
  return std::all_of(mesh.faces.begin(), mesh.faces.end(), [n = mesh.vertices.size()](uint32_t v) { return v < n; });
}

// Appends copies of `from` to a per-vertex array cut to `count` entries
// (padded with `fill` when it was shorter).
template <typename T>
void AppendCopies(std::vector<T>& values, size_t count, const Tfaces& from, const T& fill) {
  values.resize(count, fill);
  values.reserve(count + from.size());
  for (uint32_t v : from) values.push_back(values[v]);
}

// Room for the seam copies, taken before any element changes so that running
// out of memory leaves the scene as it was.
void Reserve(TGeosphera& e, const TUvUnfolded& unfolded) {
  const size_t count = UsedVertices(e) + unfolded.copiedFrom.size();
  e.vertices.reserve(count);
  e.normals.reserve(count);
  e.colors.reserve(count);
  e.vertexState.reserve(count);
  e.valence.reserve(count);
  e.uvFaces.reserve(unfolded.faces.size());
}

}  // namespace

void InstallUnfolded(TGeosphera& e, TUvUnfolded& unfolded) {
  const size_t n = UsedVertices(e);
  AppendCopies(e.vertices, n, unfolded.copiedFrom, TGLCoord{});
  AppendCopies(e.normals, n, unfolded.copiedFrom, TGLCoord{});
  AppendCopies(e.colors, n, unfolded.copiedFrom, kDefaultVertexColor);
  e.vertexState.assign(e.vertices.size(), kVertexFree);
  std::copy(unfolded.faces.begin(), unfolded.faces.end(), e.faces.begin());
  e.uvFaces.assign(e.faces.begin(), e.faces.begin() + static_cast<std::ptrdiff_t>(unfolded.faces.size()));
  e.uvs = std::move(unfolded.uvs);
  e.vertexCount = static_cast<int32_t>(e.vertices.size());
  e.uvCount = static_cast<int32_t>(e.uvs.size());
  const int width = ComputeValence(e);
  if (width > 0) {
    BuildAdjacency(e, width);
  } else {
    e.adjacency = {};
  }
}

void SplitElementByTextureCorner(TGeosphera& e) {
  const TUvMesh mesh = MeshOf(e);
  if (!FacesInRange(mesh)) return;
  TUvUnfolded split = SplitVerticesByTextureCorner(mesh.faces, e.uvFaces, e.uvs, mesh.vertices.size());
  Reserve(e, split);
  InstallUnfolded(e, split);
}

bool CreateSceneUVs(TScene& scene, float threshold, int textureSize, const UvProgress& progress) {
  try {
    std::vector<TUvMesh> meshes;
    for (const TGeosphera& e : scene.elements) {
      meshes.push_back(MeshOf(e));
      if (!FacesInRange(meshes.back())) throw std::out_of_range("triangle names no vertex");
    }
    std::vector<TUvUnfolded> unfolded = UnfoldCharts(meshes, threshold, textureSize, progress);
    for (size_t i = 0; i < unfolded.size(); ++i) Reserve(scene.elements[i], unfolded[i]);
    for (size_t i = 0; i < unfolded.size(); ++i) InstallUnfolded(scene.elements[i], unfolded[i]);
    if (!scene.elements.empty() && scene.current().adjacency.width > 0) {
      scene.adjacencyWidth = scene.current().adjacency.width;
    }
    return true;
  } catch (const std::bad_alloc&) {
    ShowError("Not enough memory to complete this operation.");
  } catch (const std::exception&) {
    ShowError("Error in create textures UV. Error 2525.");
  }
  return false;
}

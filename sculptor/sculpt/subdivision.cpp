#include "sculpt/subdivision.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <numbers>
#include <optional>
#include <stdexcept>

#include "model/messages.h"
#include "model/topology.h"
#include "sculpt/edge_split.h"

namespace {

void CheckCorners(const TGeosphera& e, size_t corners) {
  const uint32_t limit = static_cast<uint32_t>(std::max(e.vertexCount, 0));
  if (e.vertices.size() < limit ||
      !std::all_of(e.faces.begin(), e.faces.begin() + static_cast<std::ptrdiff_t>(corners),
                   [limit](uint32_t v) { return v < limit; }))
    throw std::invalid_argument("corner outside the vertices");
}

// FNV-1a over the corners the merge would keep, in order.
uint64_t MergedChecksum(const Tfaces& faces, size_t corners) {
  uint64_t h = 14695981039346656037ull;
  for (size_t g = 0; g + 12 <= corners; g += 12) {
    for (size_t k : {g, g + 3, g + 6}) h = (h ^ faces[k]) * 1099511628211ull;
  }
  return h;
}

// Each group (a, x, z), (b, y, x), (c, z, y), (x, y, z) as a split leaves it.
bool GroupsOfFour(const Tfaces& f, size_t corners) {
  if (corners == 0 || corners % 12 != 0 || f.size() < corners) return false;
  for (size_t g = 0; g < corners; g += 12) {
    const uint32_t x = f[g + 9], y = f[g + 10], z = f[g + 11];
    if (f[g + 1] != x || f[g + 2] != z || f[g + 4] != y || f[g + 5] != x || f[g + 7] != z || f[g + 8] != y)
      return false;
  }
  return true;
}

void MergeGroups(Tfaces& f, size_t corners) {
  size_t out = 0;
  for (size_t g = 0; g + 12 <= corners; g += 12) {
    const uint32_t a = f[g], b = f[g + 3], c = f[g + 6];
    f[out++] = a;
    f[out++] = b;
    f[out++] = c;
  }
  f.resize(out);
}

// Texture coordinates follow the vertices: one per vertex plus the spare one,
// never fewer than texture triangles name. An element without any keeps none.
void SizeUvs(TGeosphera& e, bool uvFacesInStep) {
  if (e.uvs.empty()) return;
  const size_t wanted = static_cast<size_t>(e.vertexCount) + 1;
  e.uvs.resize(uvFacesInStep ? std::max(wanted, e.uvs.size()) : wanted);
}

// RemoveVertexUnused leaves texture coordinates alone: per-vertex ones must
// follow their vertices (valence current).
void DropUvsOfUnusedVertices(TGeosphera& e, bool uvFacesInStep) {
  const size_t n = static_cast<size_t>(e.vertexCount);
  if (uvFacesInStep || e.uvs.size() < n || std::find(e.valence.begin(), e.valence.end(), 0) == e.valence.end()) return;
  size_t out = 0;
  for (size_t v = 0; v < n; ++v) {
    if (e.valence[v] > 0) e.uvs[out++] = e.uvs[v];
  }
  e.uvs.resize(out);
}

// Valence, smoothing, unused vertices, adjacency and normals after a change.
int RefreshTopology(TGeosphera& e, bool smooth) {
  const bool uvFaces = UvFacesInStep(e, TriangleCorners(e));
  const int width = ComputeValence(e);  // removing unused vertices leaves the others' valence
  if (smooth) LoopSmooth(e, /*touchedOnly=*/false);
  DropUvsOfUnusedVertices(e, uvFaces);
  RemoveVertexUnused(e, 0);
  SizeUvs(e, uvFaces);
  if (width > 0 && !BuildAdjacency(e, width)) throw std::runtime_error("adjacency");
  if (width == 0) e.adjacency = {};
  if (!RecomputeAllNormals(e)) throw std::runtime_error("normals");
  return width;
}

}  // namespace

void SplitTriangles(TGeosphera& e) {
  const size_t corners = TriangleCorners(e);
  CheckCorners(e, corners);
  const size_t n = static_cast<size_t>(e.vertexCount);
  const bool uvFaces = UvFacesInStep(e, corners);
  const bool perVertexUvs = PerVertexUvs(e, uvFaces);

  VertexArraysRollback rollback(e);
  e.vertices.resize(n);
  e.colors.resize(n, kDefaultVertexColor);
  if (perVertexUvs) e.uvs.resize(n);
  // A closed mesh has half as many edges as corners.
  e.vertices.reserve(n + corners / 2 + 16);
  e.colors.reserve(n + corners / 2 + 16);

  EdgeMidpoints midpoints(e.faces.data(), corners, n);
  std::optional<UvSplitter> uvSplitter;
  if (uvFaces) uvSplitter.emplace(e.uvFaces, e.uvs, corners);
  Tfaces out;
  out.reserve(corners * 4);
  const uint32_t* f = e.faces.data();
  for (size_t t = 0; t < corners; t += 3) {
    uint32_t m[3];
    for (size_t k = 0; k < 3; ++k) {
      const uint32_t a = f[t + k], b = f[t + (k + 1) % 3];
      bool added = false;
      m[k] = midpoints.FindOrAdd(a, b, static_cast<uint32_t>(e.vertices.size()), added);
      if (!added) continue;
      e.vertices.push_back(MeanPoint(e.vertices[a], e.vertices[b]));
      e.colors.push_back(MeanColor(e.colors[a], e.colors[b]));
      if (perVertexUvs) e.uvs.push_back(MeanUv(e.uvs[a], e.uvs[b]));
    }
    EmitSplit(f + t, m, out);
    if (uvSplitter) uvSplitter->Split(t / 3, m);
  }

  // Nothing below throws: the element changes all at once.
  rollback.Commit();
  e.faces.swap(out);
  if (uvSplitter) uvSplitter->Commit(e.uvFaces);
  e.indexCount = static_cast<int32_t>(e.faces.size());
  e.vertexCount = static_cast<int32_t>(e.vertices.size());
  e.normals.resize(e.vertices.size());
  e.vertexState.assign(e.vertices.size() + 1, kVertexFree);
  SizeUvs(e, uvFaces);
}

float LoopWeight(int k) {
  const double x = 0.375 + 0.25 * std::cos(2 * std::numbers::pi / k);
  return static_cast<float>(1.67 - 2.67 * x * x);
}

void LoopSmooth(TGeosphera& e, bool touchedOnly) {
  const size_t corners = TriangleCorners(e);
  CheckCorners(e, corners);
  const size_t n = static_cast<size_t>(e.vertexCount);
  // Sums and exact incident-triangle counts (the stored valence saturates).
  struct Sum {
    float x = 0, y = 0, z = 0;
    uint32_t k = 0;
  };
  std::vector<Sum> sums(n);
  TGLCoord* p = e.vertices.data();
  const uint32_t* f = e.faces.data();
  for (size_t t = 0; t < corners; t += 3) {
    const TGLCoord &p0 = p[f[t]], &p1 = p[f[t + 1]], &p2 = p[f[t + 2]];
    const float x = 0.25f * p0.x + 0.375f * p1.x + 0.375f * p2.x;
    const float y = 0.25f * p0.y + 0.375f * p1.y + 0.375f * p2.y;
    const float z = 0.25f * p0.z + 0.375f * p1.z + 0.375f * p2.z;
    for (size_t c = t; c < t + 3; ++c) {
      Sum& s = sums[f[c]];
      s.x += x;
      s.y += y;
      s.z += z;
      ++s.k;
    }
  }
  float weights[256];
  for (int k = 1; k < 256; ++k) weights[k] = LoopWeight(k);
  const bool masked = touchedOnly && e.vertexState.size() >= n;
  for (size_t v = 0; v < n; ++v) {
    const Sum& s = sums[v];
    if (s.k == 0 || (touchedOnly && (!masked || e.vertexState[v] != kVertexTouched))) continue;
    const float k = static_cast<float>(s.k);
    const TGLCoord a{s.x / k, s.y / k, s.z / k};
    if (s.k == 6) {
      p[v] = a;
      continue;
    }
    const float w = s.k < 256 ? weights[s.k] : LoopWeight(static_cast<int>(s.k));
    p[v] = {p[v].x + (a.x - p[v].x) * w, p[v].y + (a.y - p[v].y) * w, p[v].z + (a.z - p[v].z) * w};
  }
}

bool HasSubdivisionOrder(const TGeosphera& e) {
  const size_t corners = TriangleCorners(e);
  if (e.subdivLevel < 1 || !GroupsOfFour(e.faces, corners)) return false;
  if (UvFacesInStep(e, corners) && !GroupsOfFour(e.uvFaces, corners)) return false;
  const size_t level = static_cast<size_t>(e.subdivLevel);
  // A level read from a file has no record.
  if (e.levelChecks.size() < level || e.levelChecks[level - 1].triangleCount == 0) return true;
  const TLevelCheck& check = e.levelChecks[level - 1];
  return check.triangleCount == corners / 3 && check.parentChecksum == MergedChecksum(e.faces, corners);
}

void MergeTriangles(TGeosphera& e) {
  const size_t corners = TriangleCorners(e);
  if (UvFacesInStep(e, corners)) MergeGroups(e.uvFaces, corners);
  MergeGroups(e.faces, corners);
  e.indexCount = static_cast<int32_t>(e.faces.size());
  e.vertexState.assign(e.vertexState.size(), kVertexFree);
}

int SubdivideElement(TGeosphera& e) {
  const uint32_t before = static_cast<uint32_t>(e.vertexCount);
  SplitTriangles(e);
  // The level follows the triangles at once, whatever the refresh meets.
  const size_t level = static_cast<size_t>(std::max(e.subdivLevel, 0));
  e.levelVertexCounts.resize(level);
  e.levelVertexCounts.push_back(before);
  e.levelChecks.resize(level);
  e.levelChecks.push_back({static_cast<uint32_t>(e.faces.size() / 3), 0});
  ++e.subdivLevel;
  const int width = RefreshTopology(e, /*smooth=*/true);
  // After the unused vertices went, with the final numbering.
  e.levelChecks.back().parentChecksum = MergedChecksum(e.faces, TriangleCorners(e));
  return width;
}

int UnsubdivideElement(TGeosphera& e) {
  MergeTriangles(e);
  --e.subdivLevel;
  e.levelVertexCounts.resize(std::min(e.levelVertexCounts.size(), static_cast<size_t>(e.subdivLevel)));
  return RefreshTopology(e, /*smooth=*/false);
}

bool ChangeResolution(TScene& scene, bool unsubdivide, const TResolutionUndo& undo) {
  SceneHost& host = scene.hostOrDefault();
  if (undo.takeSnapshot) undo.takeSnapshot(scene);
  TGeosphera& e = scene.current();
  const int levelBefore = e.subdivLevel;
  try {
    scene.adjacencyWidth = unsubdivide ? UnsubdivideElement(e) : SubdivideElement(e);
  } catch (const std::bad_alloc&) {
    ShowError(kNotEnoughMemory);
  } catch (const std::exception&) {
    ShowWarning(kResolutionFailed);
  }
  const bool changed = e.subdivLevel != levelBefore;
  host.ClearFootprints();
  scene.gpuOrDefault().BindElementArrays(scene, scene.currentElement, ArrayMode::Buffers);
  UploadElementBuffers(scene, scene.currentElement);
  host.ShowSubdivisionLevel(e.subdivLevel);
  host.RebuildScreenGrids(scene);
  host.Redraw();
  return changed;
}

bool Subdivide(TScene& scene, const TResolutionUndo& undo) { return ChangeResolution(scene, false, undo); }

bool Unsubdivide(TScene& scene, const TResolutionUndo& undo) {
  if (!HasSubdivisionOrder(scene.current())) {
    ShowWarning(kLevelBelowLoadMesh);
    return false;
  }
  return ChangeResolution(scene, true, undo);
}

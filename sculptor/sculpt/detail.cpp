#include "sculpt/detail.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <optional>
#include <stdexcept>

#include "model/messages.h"
#include "model/topology.h"
#include "sculpt/edge_split.h"

namespace {

// A failure with the message the user sees.
struct DetailFault : std::runtime_error {
  using std::runtime_error::runtime_error;
};

bool Selected(const TGeosphera& e, uint32_t v) { return v < e.vertexState.size() && e.vertexState[v] == kVertexFrozen; }

// The midpoints of the edges of every fully selected triangle, appended to the
// vertices in first-seen edge order; returns how many were made.
size_t CreateMidpoints(TGeosphera& e, EdgeMidpoints& midpoints, size_t corners, bool perVertexUvs) {
  const uint32_t* f = e.faces.data();
  const size_t before = e.vertices.size();
  for (size_t t = 0; t < corners; t += 3) {
    if (!Selected(e, f[t]) || !Selected(e, f[t + 1]) || !Selected(e, f[t + 2])) continue;
    for (size_t k = 0; k < 3; ++k) {
      const uint32_t a = f[t + k], b = f[t + (k + 1) % 3];
      bool added = false;
      midpoints.FindOrAdd(a, b, static_cast<uint32_t>(e.vertices.size()), added);
      if (!added) continue;
      e.vertices.push_back(MeanPoint(e.vertices[a], e.vertices[b]));
      e.colors.push_back(MeanColor(e.colors[a], e.colors[b]));
      if (perVertexUvs) e.uvs.push_back(MeanUv(e.uvs[a], e.uvs[b]));
    }
  }
  return e.vertices.size() - before;
}

// The new triangle list; marks the corners of every split triangle in `touched`.
int SplitAlongMidpoints(const TGeosphera& e, const EdgeMidpoints& midpoints, size_t corners, Tfaces& out,
                        TSelect& touched, UvSplitter* uvSplitter) {
  const uint32_t* f = e.faces.data();
  int split = 0;
  for (size_t t = 0; t < corners; t += 3) {
    uint32_t m[3];
    for (size_t k = 0; k < 3; ++k) m[k] = midpoints.Find(f[t + k], f[t + (k + 1) % 3]);
    const size_t first = out.size();
    if (uvSplitter) uvSplitter->Split(t / 3, m);
    if (EmitSplit(f + t, m, out) == 1) continue;
    ++split;
    for (size_t c = first; c < out.size(); ++c) touched[out[c]] = 1;
  }
  return split;
}

// Every vertex of a triangle that has a touched vertex: their normals change.
TSelect NormalFlags(const TGeosphera& e, const TSelect& touched) {
  TSelect flags(static_cast<size_t>(e.vertexCount), 0);
  const uint32_t* f = e.faces.data();
  for (size_t t = 0; t + 3 <= TriangleCorners(e); t += 3) {
    if (touched[f[t]] || touched[f[t + 1]] || touched[f[t + 2]]) flags[f[t]] = flags[f[t + 1]] = flags[f[t + 2]] = 1;
  }
  return flags;
}

void ListAffected(const TGeosphera& e, const TSelect& touched, int32_t pickedVertex, ATContsel& affected) {
  const bool picked = pickedVertex >= 0 && pickedVertex < e.vertexCount;
  const TGLCoord centre = picked ? e.vertices[static_cast<size_t>(pickedVertex)] : TGLCoord{};
  affected.clear();
  for (size_t v = 0; v < touched.size(); ++v) {
    if (!touched[v]) continue;
    const TGLCoord& p = e.vertices[v];
    const float dx = p.x - centre.x, dy = p.y - centre.y, dz = p.z - centre.z;
    affected.push_back({static_cast<int32_t>(v), picked ? std::sqrt(dx * dx + dy * dy + dz * dz) : 0.0f});
  }
}

// Restricted smoothing, adjacency and the normals around the refinement.
void SmoothRefinedRegion(TGeosphera& e, const TSelect& touched) {
  const size_t n = static_cast<size_t>(e.vertexCount);
  e.vertexState.assign(n + 1, kVertexFree);
  for (size_t v = 0; v < n; ++v) {
    if (touched[v]) e.vertexState[v] = kVertexTouched;
  }
  const int width = ComputeValence(e);
  LoopSmooth(e, /*touchedOnly=*/true);
  if (!BuildAdjacency(e, width)) throw DetailFault(kDetailRefinementFailed);
  e.normals.resize(n);
  if (!RecomputeFlaggedNormals(e, NormalFlags(e, touched))) throw DetailFault(kDetailRefinementFailed);
}

}  // namespace

int RefineSelection(TGeosphera& e, int32_t pickedVertex, ATContsel& affected) {
  const size_t corners = TriangleCorners(e);
  const size_t n = static_cast<size_t>(std::max(e.vertexCount, 0));
  const bool uvFaces = UvFacesInStep(e, corners);
  const bool perVertexUvs = PerVertexUvs(e, uvFaces);
  Tfaces out;
  TSelect touched;
  int split = 0;
  {
    VertexArraysRollback rollback(e);
    std::optional<EdgeMidpoints> midpoints;
    std::optional<UvSplitter> uvSplitter;
    try {
      if (e.vertices.size() < n) throw std::invalid_argument("vertices");
      e.vertices.resize(n);
      e.colors.resize(n, kDefaultVertexColor);
      if (perVertexUvs) e.uvs.resize(n);
      midpoints.emplace(e.faces.data(), corners, n);
      CreateMidpoints(e, *midpoints, corners, perVertexUvs);
    } catch (const std::exception&) {
      throw DetailFault(kDetailMidpointFailed);
    }
    try {
      out.reserve(corners + 9 * (e.vertices.size() - n));
      touched.assign(e.vertices.size(), 0);
      if (uvFaces) uvSplitter.emplace(e.uvFaces, e.uvs, corners);
      split = SplitAlongMidpoints(e, *midpoints, corners, out, touched, uvSplitter ? &*uvSplitter : nullptr);
    } catch (const std::exception&) {
      throw DetailFault(kDetailRefinementFailed);
    }
    rollback.Commit();
    if (split > 0 && uvSplitter) uvSplitter->Commit(e.uvFaces);
  }
  affected.clear();
  if (split == 0) return 0;
  e.faces.swap(out);
  e.indexCount = static_cast<int32_t>(e.faces.size());
  e.vertexCount = static_cast<int32_t>(e.vertices.size());
  if (perVertexUvs) e.uvs.resize(e.vertices.size() + 1);
  try {
    SmoothRefinedRegion(e, touched);
  } catch (const DetailFault&) {
    throw;
  } catch (const std::exception&) {
    throw DetailFault(kDetailRefinementFailed);
  }
  ListAffected(e, touched, pickedVertex, affected);
  return split;
}

bool Detail(TScene& scene, int32_t pickedVertex, ATContsel& affected, const TResolutionUndo& undo) {
  if (undo.takeSnapshot) undo.takeSnapshot(scene);
  if (undo.takeSnapshot) undo.takeSnapshot(scene);
  TGeosphera& e = scene.current();
  int split = 0;
  try {
    split = RefineSelection(e, pickedVertex, affected);
  } catch (const std::exception& fault) {
    ShowWarning(fault.what());
    if (undo.restoreSnapshot) undo.restoreSnapshot(scene);
    ShowWarning(kDetailFailed);
    affected.clear();
  }
  if (split > 0) scene.adjacencyWidth = e.adjacency.width;
  SceneHost& host = scene.hostOrDefault();
  UploadElementBuffers(scene, scene.currentElement);
  std::fill(e.vertexState.begin(), e.vertexState.end(), kVertexFree);
  host.RebuildScreenGrids(scene);
  host.Redraw();
  return split > 0;
}

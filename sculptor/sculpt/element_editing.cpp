#include "sculpt/element_editing.h"

#include <algorithm>
#include <string>

#include "model/topology.h"

namespace {

size_t VertexCount(const TGeosphera& e) {
  return std::min(static_cast<size_t>(std::max(e.vertexCount, 0)), e.vertices.size());
}

size_t CornerCount(const TGeosphera& e) {
  return std::min(static_cast<size_t>(std::max(e.indexCount, 0)), e.faces.size()) / 3 * 3;
}

void FillMask(TGeosphera& e, uint8_t value) {
  e.vertexState.resize(std::max(e.vertexState.size(), VertexCount(e)));
  std::fill(e.vertexState.begin(), e.vertexState.end(), value);
}

bool Selected(const TGeosphera& e, size_t v) { return v < e.vertexState.size() && e.vertexState[v] == kVertexFrozen; }

template <typename T>
T EntryOr(const std::vector<T>& values, size_t i, const T& fallback) {
  return i < values.size() ? values[i] : fallback;
}

constexpr uint32_t kNotCopied = 0xFFFFFFFFu;
constexpr float kDetachGrowth = 1.001f;
constexpr TRGBA kWhite{255, 255, 255, 255};
// Texture coordinates are carried over only from elements that have real ones.
constexpr size_t kMinimumUvCount = 30;

// Appends the selected vertices of `source` to `copy`; returns, per source
// vertex, its index in the copy (kNotCopied when it was not selected).
Tfaces CopySelectedVertices(const TGeosphera& source, TGeosphera& copy, bool mirror) {
  const size_t count = VertexCount(source);
  const bool withUvs = source.uvs.size() > kMinimumUvCount;
  const float zGrowth = mirror ? -kDetachGrowth : kDetachGrowth;
  Tfaces newIndex(count, kNotCopied);
  for (size_t v = 0; v < count; ++v) {
    if (!Selected(source, v)) continue;
    newIndex[v] = static_cast<uint32_t>(copy.vertices.size());
    const TGLCoord& p = source.vertices[v];
    copy.vertices.push_back({p.x * kDetachGrowth, p.y * kDetachGrowth, p.z * zGrowth});
    copy.colors.push_back(mirror ? EntryOr(source.colors, v, kDefaultVertexColor) : kWhite);
    if (withUvs) copy.uvs.push_back(EntryOr(source.uvs, v, TGLUV{}));
  }
  copy.vertexCount = static_cast<int32_t>(copy.vertices.size());
  copy.normals.assign(copy.vertices.size(), TGLCoord{});
  copy.vertexState.assign(copy.vertices.size(), kVertexFree);
  return newIndex;
}

// Appends the triangles of `source` whose three vertices were copied; a
// mirror image takes them in reverse corner order to keep facing outwards.
void CopySelectedTriangles(const TGeosphera& source, const Tfaces& newIndex, TGeosphera& copy, bool mirror) {
  const size_t corners = CornerCount(source);
  for (size_t c = 0; c < corners; c += 3) {
    uint32_t t[3];
    bool whole = true;
    for (int k = 0; k < 3; ++k) {
      const uint32_t v = source.faces[c + k];
      t[k] = v < newIndex.size() ? newIndex[v] : kNotCopied;
      whole = whole && t[k] != kNotCopied;
    }
    if (!whole) continue;
    if (mirror) std::swap(t[0], t[2]);
    copy.faces.insert(copy.faces.end(), t, t + 3);
  }
  copy.indexCount = static_cast<int32_t>(copy.faces.size());
}

// Refreshes the element's topology and buffers after its triangles changed.
void RebuildElement(TScene& scene, int index) {
  TGeosphera& e = scene.elements[static_cast<size_t>(index)];
  RefreshElement(e);
  if (e.adjacency.width > 0) scene.adjacencyWidth = e.adjacency.width;
  UploadElementBuffers(scene, index);
}

// Resizes `to` from `kept` entries to `kept + count`, the new ones taken from
// `from` as far as it has them.
template <typename T>
void AppendEntries(std::vector<T>& to, size_t kept, const std::vector<T>& from, size_t count, const T& fill) {
  to.resize(kept, fill);
  to.insert(to.end(), from.begin(), from.begin() + static_cast<std::ptrdiff_t>(std::min(count, from.size())));
  to.resize(kept + count, fill);
}

// Appends the vertices and the (valid) triangles of `part` to `base`.
void AppendGeometry(TGeosphera& base, const TGeosphera& part) {
  const size_t offset = VertexCount(base);
  const size_t count = VertexCount(part);
  AppendEntries(base.vertices, offset, part.vertices, count, TGLCoord{});
  AppendEntries(base.normals, offset, part.normals, count, TGLCoord{});
  AppendEntries(base.colors, offset, part.colors, count, kDefaultVertexColor);
  AppendEntries(base.vertexState, offset, part.vertexState, count, uint8_t{kVertexFree});
  AppendEntries(base.valence, offset, part.valence, count, uint8_t{0});
  // Texture coordinates stay one per vertex when the base has them, so its
  // texture arrays never end short of its vertices.
  if (!base.uvs.empty()) AppendEntries(base.uvs, offset, part.uvs, count, TGLUV{});

  base.faces.resize(CornerCount(base));
  if (!base.uvFaces.empty()) base.uvFaces.resize(base.faces.size());
  const size_t corners = CornerCount(part);
  for (size_t c = 0; c < corners; c += 3) {
    const uint32_t* t = &part.faces[c];
    if (t[0] >= count || t[1] >= count || t[2] >= count) continue;
    for (int k = 0; k < 3; ++k) base.faces.push_back(t[k] + static_cast<uint32_t>(offset));
    if (!base.uvFaces.empty()) base.uvFaces.insert(base.uvFaces.end(), base.faces.end() - 3, base.faces.end());
  }
  base.vertexCount = static_cast<int32_t>(offset + count);
  base.indexCount = static_cast<int32_t>(base.faces.size());
}

}  // namespace

void ClearMask(TGeosphera& e) { FillMask(e, kVertexFree); }

void ClearAllMasks(TScene& scene) {
  for (TGeosphera& e : scene.elements) ClearMask(e);
}

void MaskWholeElement(TGeosphera& e) { FillMask(e, kVertexFrozen); }

int DetachSelection(TScene& scene, int counter, bool mirror) {
  SceneHost& host = scene.hostOrDefault();
  const int sourceIndex = scene.currentElement;
  const int index = AppendElement(scene);
  const TGeosphera& source = scene.elements[static_cast<size_t>(sourceIndex)];
  TGeosphera& copy = scene.elements[static_cast<size_t>(index)];
  copy.name = (mirror ? "Mirror " : "Detach ") + std::to_string(counter);
  CopyPlacementAndColour(source, copy);
  copy.visible = 1;
  copy.placeState = kPlaced;
  host.ShowSubdivisionLevel(0);

  const Tfaces newIndex = CopySelectedVertices(source, copy, mirror);
  CopySelectedTriangles(source, newIndex, copy, mirror);
  copy.sourceKind = 1;
  copy.uvFaces = copy.faces;
  copy.center = copy.vertexCount > 0 ? ElementCenter(copy) : source.center;
  copy.textureId = source.textureId;

  scene.currentElement = index;
  ClearAllMasks(scene);
  RebuildElement(scene, index);
  host.RebuildScreenGrids(scene);
  host.Redraw();
  return index;
}

void UnifyElements(TScene& scene) {
  if (scene.elementCount() < 2) return;
  for (size_t i = 1; i < scene.elements.size(); ++i) AppendGeometry(scene.elements[0], scene.elements[i]);
  while (scene.elementCount() > 1) {
    scene.currentElement = scene.elementCount() - 1;
    DeleteElement(scene);
  }
  scene.currentElement = 0;
  scene.elements[0].placeState = kPlaced;
  RebuildElement(scene, 0);
  SceneHost& host = scene.hostOrDefault();
  host.RebuildScreenGrids(scene);
  host.Redraw();
}

void PaintElementColor(TScene& scene, uint8_t r, uint8_t g, uint8_t b) {
  TGeosphera& e = scene.current();
  e.colors.resize(std::max(e.colors.size(), VertexCount(e)));
  std::fill(e.colors.begin(), e.colors.end(), TRGBA{r, g, b, 255});
  e.colorB = b;
  e.colorG = g;
  e.colorR = r;
  e.colorA = 1;
  UploadElementBuffers(scene, scene.currentElement);
}

#include "model/scene.h"

#include <algorithm>
#include <cstdio>

#include "model/messages.h"
#include "model/topology.h"

SceneGpu& TScene::gpuOrDefault() {
  static SceneGpu headless;
  return gpu ? *gpu : headless;
}

SceneHost& TScene::hostOrDefault() {
  static SceneHost headless;
  return host ? *host : headless;
}

void ResetScene(TScene& scene) {
  for (int i = 0; i < scene.elementCount(); ++i) scene.gpuOrDefault().ReleaseElementBuffers(scene, i);
  scene.elements.clear();
  scene.currentElement = 0;
  scene.hostOrDefault().SceneWasReset(scene);
  AppendElement(scene);
}

int AppendElement(TScene& scene) {
  TGeosphera& e = scene.elements.emplace_back();
  e.uid = scene.nextUid++;
  return scene.elementCount() - 1;
}

void DeleteElement(TScene& scene) {
  if (scene.elementCount() < 2) {
    ShowInformation("Cannot delete all elements.");
    return;
  }
  SceneHost& host = scene.hostOrDefault();
  const int index = std::clamp(scene.currentElement, 0, scene.elementCount() - 1);
  const uint32_t uid = scene.elements[static_cast<size_t>(index)].uid;
  scene.gpuOrDefault().ReleaseElementBuffers(scene, index);
  // The later elements (and with their uids their buffers) move down whole:
  // no field of the removed element stays behind in its successor.
  scene.elements.erase(scene.elements.begin() + index);
  scene.currentElement = 0;
  // The shared width follows the new current element's table.
  if (scene.elements[0].adjacency.width > 0) scene.adjacencyWidth = scene.elements[0].adjacency.width;
  host.ElementWasDeleted(scene, uid);
  host.RefreshElementList(scene);
  host.Redraw();
}

namespace {

// Rebuilds valence and adjacency with the element's own width; returns it.
int RebuildAdjacency(TGeosphera& e) {
  const int width = ComputeValence(e);
  if (width == 0) {
    e.adjacency = {};
  } else if (!BuildAdjacency(e, width)) {
    return 0;
  }
  return width;
}

}  // namespace

bool SelectElement(TScene& scene, int index) {
  if (index < 0 || index >= scene.elementCount()) return false;
  SceneHost& host = scene.hostOrDefault();
  scene.currentElement = index;
  TGeosphera& e = scene.current();
  host.ShowElementName(e.name);
  host.ShowSubdivisionLevel(e.subdivLevel);
  host.ClearFootprints();
  e.textureId = 7;
  UploadElementBuffers(scene, index);
  host.ClearTransformDrag();
  const int width = RebuildAdjacency(e);
  if (width > 0) scene.adjacencyWidth = width;
  host.RebuildScreenGrids(scene);
  host.Redraw();
  return true;
}

void ToggleVisible(TScene& scene) {
  if (scene.elements.empty()) return;
  TGeosphera& e = scene.current();
  e.visible = e.visible ? 0 : 1;
  scene.hostOrDefault().Redraw();
}

namespace {

// Resizes `to` to `count` entries and, when asked, copies the first `count`
// entries of `from` (as far as it has them).
template <typename T>
void SizeAndCopy(const std::vector<T>& from, std::vector<T>& to, size_t count, bool copy) {
  to.resize(count);
  if (copy) std::copy_n(from.begin(), std::min(count, from.size()), to.begin());
}

}  // namespace

void CopyPlacementAndColour(const TGeosphera& source, TGeosphera& destination) {
  destination.scale = source.scale;
  destination.position = source.position;
  destination.colorB = source.colorB;
  destination.colorG = source.colorG;
  destination.colorR = source.colorR;
  destination.colorA = source.colorA;
}

void CopyElement(const TGeosphera& source, TGeosphera& destination, bool copyGeometry) {
  destination.name = source.name;
  destination.fileName = source.fileName;
  CopyPlacementAndColour(source, destination);
  destination.center = source.center;
  destination.placeState = source.placeState;
  destination.maxExtent = source.maxExtent;
  destination.textureId = source.textureId;
  destination.visible = 1;
  destination.sourceKind = 1;

  const size_t count = static_cast<size_t>(std::max(source.vertexCount, 0));
  SizeAndCopy(source.vertices, destination.vertices, count, copyGeometry);
  SizeAndCopy(source.normals, destination.normals, count, copyGeometry);
  SizeAndCopy(source.colors, destination.colors, count, copyGeometry);
  SizeAndCopy(source.valence, destination.valence, count, copyGeometry);
  if (!source.uvs.empty()) SizeAndCopy(source.uvs, destination.uvs, count, copyGeometry);
  destination.vertexState.assign(count, kVertexFree);
  if (!copyGeometry) return;
  destination.faces = source.faces;
  destination.vertexCount = source.vertexCount;
  destination.indexCount = source.indexCount;
}

bool RefreshElement(TGeosphera& element) {
  const int width = ComputeValence(element);
  if (width == 0) {  // no triangles: nothing is adjacent and every normal is zero
    element.adjacency = {};
    element.normals.assign(static_cast<size_t>(std::max(element.vertexCount, 0)), TGLCoord{});
    return true;
  }
  return BuildAdjacency(element, width) && RecomputeAllNormals(element);
}

void UploadElementBuffers(TScene& scene, int index) {
  if (index < 0 || index >= scene.elementCount()) return;
  scene.gpuOrDefault().UploadElementBuffers(scene, index);
}

bool IsComposedFile(const std::string& fileName) {
  std::FILE* file = std::fopen(fileName.c_str(), "rb");
  if (!file) return false;
  char buffer[1 << 16];
  int groupLines = 0;
  bool lineCounted = false, previousWasG = false;
  size_t n = 0;
  while (groupLines < 2 && (n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
    for (size_t i = 0; i < n && groupLines < 2; ++i) {
      const char c = buffer[i];
      if (c == '\n' || c == '\r') {
        lineCounted = previousWasG = false;
        continue;
      }
      if (previousWasG && c == ' ' && !lineCounted) {
        lineCounted = true;
        ++groupLines;
      }
      previousWasG = c == 'g';
    }
  }
  std::fclose(file);
  return groupLines > 1;
}

namespace {

// Steps shared by the two ways of appending an element: a fresh current
// element with the default placement and display colour.
TGeosphera& AppendCurrentElement(TScene& scene, const std::string& name) {
  const int index = AppendElement(scene);
  scene.currentElement = index;
  TGeosphera& e = scene.elements[static_cast<size_t>(index)];
  e.name = name;
  e.scale = {1, 1, 1};
  e.colorB = e.colorG = e.colorR = 122;
  e.colorA = 178;
  e.position = {};
  e.center = {};
  e.visible = 1;
  return e;
}

// The loaded element goes to the GPU only now that the load succeeded.
void ShowAppendedElement(TScene& scene) {
  scene.gpuOrDefault().BindElementArrays(scene, scene.currentElement, ArrayMode::Buffers);
  UploadElementBuffers(scene, scene.currentElement);
  scene.hostOrDefault().RebuildScreenGrids(scene);
}

}  // namespace

void RemoveLastElement(TScene& scene, int previousCurrent) {
  scene.gpuOrDefault().ReleaseElementBuffers(scene, scene.elementCount() - 1);
  scene.elements.pop_back();
  scene.currentElement = previousCurrent;
}

bool AddMeshToScene(TScene& scene, const TModelFile& file, bool placing, float scale) {
  if (file.mayHoldScene && IsComposedFile(file.name)) {
    ShowError("Object is composed and can not be loaded. Load as principal mesh.");
    return false;
  }
  SceneHost& host = scene.hostOrDefault();
  const int previousCurrent = scene.currentElement;
  TGeosphera& e = AppendCurrentElement(scene, "Add" + std::to_string(scene.elementCount() + 1));
  e.placeState = placing ? kPlaceFollowPick : kPlaced;
  scene.addPending = true;
  host.ShowSubdivisionLevel(0);
  e.sourceKind = file.kind;
  e.textureId = 7;
  e.loadExtent = scale;
  if (file.load == nullptr || !file.load(scene, file.name, file.kind, scale)) {
    scene.addPending = false;
    RemoveLastElement(scene, previousCurrent);
    return false;
  }
  ShowAppendedElement(scene);
  host.ShowSubdivisionLevel(0);
  return true;
}

bool AddSphereElement(TScene& scene, const TModelFile& file, const TGLCoord& position, float size) {
  const int previousCurrent = scene.currentElement;
  const std::string name = "Sphere" + std::to_string(scene.elementCount());
  TGeosphera& e = AppendCurrentElement(scene, name);
  e.position = position;
  e.placeState = kPlaced;
  e.loadExtent = size / 2;
  e.sourceKind = file.kind;
  e.textureId = 7;
  if (file.load == nullptr || !file.load(scene, file.name, file.kind, size)) {
    RemoveLastElement(scene, previousCurrent);
    return false;
  }
  scene.current().name = name;
  ShowAppendedElement(scene);
  return true;
}

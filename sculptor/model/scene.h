// The scene: the ordered list of mesh elements, its globals, and the
// scene-level operations (reset, append, delete, select, copy, refresh).
// GPU, view and undo steps run through SceneHost, which the renderer, the
// window and the undo code implement; the model itself has no GL and no widgets.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/geosphera.h"

struct TScene;

// Per-element side arrays of the renderer, indexed like the scene.
struct TElementGpuSlot {
  // Buffer names: positions, normals, colours, texture coordinates.
  std::array<uint32_t, 4> buffers{0, 0, 0, 0};
  // Byte sizes recorded at the last upload: vertices x 12, colours x 4, uvs x 8.
  int64_t vertexBytes = 0, colorBytes = 0, uvBytes = 0;
  // RGB texture image (texture size squared x 3), allocated by its user.
  AByte textureImage;
};

enum class ArrayMode { ClientMemory, Buffers };

// Everything the scene operations ask of the renderer, the window and the undo
// code. The defaults do nothing, so the core runs headless.
class SceneHost {
 public:
  virtual ~SceneHost() = default;
  // (Re)creates element i's four buffers from its arrays (slot i exists).
  virtual void UploadElementBuffers(TScene&, int /*index*/) {}
  // Frees element i's buffers before its slot goes away (delete, reset).
  virtual void ReleaseElementBuffers(TScene&, int /*index*/) {}
  virtual void BindElementArrays(TScene&, int /*index*/, ArrayMode) {}
  virtual void RebuildScreenGrids(TScene&) {}
  // Refills the element list and the name box from the scene.
  virtual void RefreshElementList(TScene&) {}
  virtual void ShowSubdivisionLevel(int /*level*/) {}
  // Puts the current element's name into the name box.
  virtual void ShowElementName(const std::string& /*name*/) {}
  virtual void ClearFootprints() {}
  virtual void ClearTransformDrag() {}
  virtual void Redraw() {}
  // True while the sketch-sphere tool is active.
  virtual bool SketchToolActive() const { return false; }
  // Undo: the scene was reset (geometry channel back to 3), a model file was
  // read (paint and duplicate channels back to 3), an element was removed (its
  // ring is dropped), a load failed (restore the last geometry snapshot of the
  // current element).
  virtual void SceneWasReset(TScene&) {}
  virtual void ModelFileWasRead(TScene&) {}
  virtual void ElementWasDeleted(TScene&, uint32_t /*uid*/) {}
  virtual void RestoreLastGeometrySnapshot(TScene&) {}
};

struct TScene {
  ATGeosphera elements;  // index 0 is the principal mesh
  int currentElement = 0;
  int adjacencyWidth = 6;
  float loadScale = 1.0f;
  bool addPending = false;
  std::vector<TElementGpuSlot> gpuSlots;
  TGeosphera rotateGizmo;  // the rotation handle, outside the scene
  uint32_t nextUid = 1;
  SceneHost* host = nullptr;  // not owned; nullptr = headless

  int elementCount() const { return static_cast<int>(elements.size()); }
  TGeosphera& current() { return elements[static_cast<size_t>(currentElement)]; }
  const TGeosphera& current() const { return elements[static_cast<size_t>(currentElement)]; }
  SceneHost& hostOrDefault();
};

// Empties the scene and creates one blank element (current, index 0).
void ResetScene(TScene& scene);

// Appends a blank element with a fresh uid and its side-array slot; returns its index.
int AppendElement(TScene& scene);

// Removes the current element ("Cannot delete all elements." when it is the
// only one); later elements move down whole; element 0 becomes current.
void DeleteElement(TScene& scene);

// Makes element `index` current and rebuilds what depends on it; false when
// there is no such element.
bool SelectElement(TScene& scene, int index);

// Flips `visible` of the current element.
void ToggleVisible(TScene& scene);

// Copies scale, position and the display colour bytes.
void CopyPlacementAndColour(const TGeosphera& source, TGeosphera& destination);

// Copies the placement, colour and naming fields of `source` (and with
// `copyGeometry` its vertices, normals, colours, texture coordinates, valences
// and triangles) into `destination`; the mask of the copy is clear.
void CopyElement(const TGeosphera& source, TGeosphera& destination, bool copyGeometry);

// Valence, adjacency (with the element's own width) and normals; false on failure.
bool RefreshElement(TGeosphera& element);

// Records the byte sizes of element `index`'s arrays in its side-array slot
// (growing the side arrays when needed), then lets the host fill the buffers.
void UploadElementBuffers(TScene& scene, int index);

// True when the text file has more than one line containing "g " (a model of
// several groups); false also when it cannot be read.
bool IsComposedFile(const std::string& fileName);

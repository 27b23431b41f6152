// The scene: the ordered list of mesh elements, its globals, and the
// scene-level operations (reset, append, add, delete, select, copy, refresh).
// The GPU steps run through SceneGpu, which the renderer implements; the view
// and undo steps through SceneHost, which the window and the undo code
// implement. The model itself has no GL and no widgets.
#pragma once

#include <cstdint>
#include <string>

#include "model/geosphera.h"

struct TScene;

enum class ArrayMode { ClientMemory, Buffers };

// The GPU side of the scene: the buffers of each element. The defaults do
// nothing, so the core runs headless.
class SceneGpu {
 public:
  virtual ~SceneGpu() = default;
  // (Re)creates element i's buffers from its arrays.
  virtual void UploadElementBuffers(TScene&, int /*index*/) {}
  // Frees element i's buffers before it goes away (delete, reset).
  virtual void ReleaseElementBuffers(TScene&, int /*index*/) {}
  virtual void BindElementArrays(TScene&, int /*index*/, ArrayMode) {}
};

// The user-interface side of the scene and the undo notifications: what the
// scene operations ask of the window and the undo code. The defaults do
// nothing, so the core runs headless.
class SceneHost {
 public:
  virtual ~SceneHost() = default;
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
  // Undo of the last sketch stroke; true when the sketch tool took the undo.
  virtual bool UndoSketchStroke(TScene&) { return false; }
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
  TGeosphera rotateGizmo;  // the rotation handle, outside the scene
  uint32_t nextUid = 1;
  SceneGpu* gpu = nullptr;    // not owned; nullptr = headless
  SceneHost* host = nullptr;  // not owned; nullptr = headless

  int elementCount() const { return static_cast<int>(elements.size()); }
  TGeosphera& current() { return elements[static_cast<size_t>(currentElement)]; }
  const TGeosphera& current() const { return elements[static_cast<size_t>(currentElement)]; }
  SceneGpu& gpuOrDefault();
  SceneHost& hostOrDefault();
};

// Empties the scene and creates one blank element (current, index 0).
void ResetScene(TScene& scene);

// Appends a blank element with a fresh uid; returns its index.
int AppendElement(TScene& scene);

// Converts model file `fileName` of format `kind` into the scene's last
// element (and appended ones), positions times `scale`; false when nothing
// was converted. The program's is LoadIntoScene of the io library.
using SceneLoader = bool (*)(TScene& scene, const std::string& fileName, int kind, float scale);

// A model file to add to the scene.
struct TModelFile {
  std::string name;
  int kind = 0;               // its format, kept in the element's sourceKind
  bool mayHoldScene = false;  // its format stores one group per element (Met, OBJ)
  SceneLoader load = nullptr;
};

// "Add new mesh to scene": appends an element named "Add" + (index + 1), makes
// it current and loads the file into it; a file that may hold a scene and has
// several groups is refused. On failure the appended element is removed again.
// On success its arrays are bound to its buffers, uploaded, and the grids rebuilt.
// False when nothing was added.
bool AddMeshToScene(TScene& scene, const TModelFile& file, bool placing, float scale);

// Appends a sketch sphere "Sphere" + index at `position`, loaded from `file`
// with `size` as scale.
bool AddSphereElement(TScene& scene, const TModelFile& file, const TGLCoord& position, float size);

// Removes the last element and its buffers; `previousCurrent` becomes current.
void RemoveLastElement(TScene& scene, int previousCurrent);

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

// Lets the GPU side fill element `index`'s buffers from its arrays.
void UploadElementBuffers(TScene& scene, int index);

// True when the text file has more than one line containing "g " (a model of
// several groups); false also when it cannot be read.
bool IsComposedFile(const std::string& fileName);

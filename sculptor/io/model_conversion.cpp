#include "io/model_conversion.h"

#include <algorithm>
#include <stdexcept>

#include "model/messages.h"
#include "model/topology.h"

namespace {

struct ConversionFault : std::runtime_error {
  ConversionFault() : std::runtime_error("model conversion") {}
};

// Where the conversion writes: a scene element, or a lone record (which sizes
// its arrays one larger, measures its extent along x only, builds quads and
// keeps its name).
struct Target {
  bool sceneElement;
  bool keepName;
};

// File-global numbers of a group's first vertex and first texture coordinate.
struct GroupStart {
  int64_t vertex = 0;
  int64_t texture = 0;
};

void FillVertices(TGeosphera& e, const TOBJGroup& g, int kind, float scale, const Target& target, float& extent) {
  const size_t n = g.points.size();
  const size_t arrays = target.sceneElement ? n : n + 1;
  e.vertices.assign(arrays, TGLCoord{});
  e.normals.assign(arrays, TGLCoord{});
  e.vertexState.assign(arrays, kVertexFree);
  e.valence.assign(arrays, 0);
  e.colors.assign(arrays, kDefaultVertexColor);
  if (!target.sceneElement) e.uvs.assign(arrays, TGLUV{});
  else if (kind == kModelMet) e.uvs.clear();
  else e.uvs.assign(g.texCoords.empty() ? n : g.texCoords.size(), TGLUV{});
  e.vertexCount = static_cast<int32_t>(n);

  for (size_t v = 0; v < n; ++v) {
    const TVector& p = g.points[v];
    TGLCoord& q = e.vertices[v];
    q = {p.x * scale, p.y * scale, p.z * scale};
    extent = target.sceneElement ? std::max({extent, q.x, q.y, q.z}) : std::max(extent, q.x);
  }
  if (!g.pointColors.empty()) {
    // Vertices beyond the last colour keep the default colour.
    const size_t colored = std::min(n, g.pointColors.size());
    std::copy_n(g.pointColors.begin(), colored, e.colors.begin());
    if (!target.sceneElement) {
      for (size_t v = 0; v < colored; ++v) e.colors[v].a = 1;
    }
  } else if (target.sceneElement && kind != kModelMet) {
    const size_t count = std::min(e.uvs.size(), g.texCoords.size());
    for (size_t t = 0; t < count; ++t) e.uvs[t] = {g.texCoords[t].u, g.texCoords[t].v};
  }
  e.maxExtent = extent;
  e.loadExtent = extent;
}

void FillFaces(TGeosphera& e, const TOBJGroup& g, int kind, const GroupStart& start) {
  const int64_t n = static_cast<int64_t>(g.points.size());
  e.faces.clear();
  e.faces.reserve(g.faceRecords.size() * 3);
  for (const TOBJFace& face : g.faceRecords) {
    for (int k = 0; k < 3; ++k) {
      const int64_t local = face.vertex[k] - start.vertex;
      if (local < 0 || local >= n) throw ConversionFault();
      e.faces.push_back(static_cast<uint32_t>(local));
    }
  }
  e.indexCount = static_cast<int32_t>(e.faces.size());
  // Texture numbers per corner (OBJ); kept only when every one names a coordinate.
  e.uvFaces.clear();
  if (kind != kModelObj) return;
  const int64_t uvCount = static_cast<int64_t>(e.uvs.size());
  e.uvFaces.reserve(e.faces.size());
  for (const TOBJFace& face : g.faceRecords) {
    for (int k = 0; k < 3; ++k) {
      const int64_t local = face.texture[k] - start.texture;
      if (local < 0 || local >= uvCount) {
        e.uvFaces.clear();
        return;
      }
      e.uvFaces.push_back(static_cast<uint32_t>(local));
    }
  }
}

// Fills `e` from one group and derives its topology; returns the adjacency width.
int ConvertGroup(TGeosphera& e, const TOBJGroup& g, int kind, float scale, const std::string& fileName,
                 const GroupStart& start, const Target& target, float& extent) {
  FillVertices(e, g, kind, scale, target, extent);
  if (!target.keepName) e.name = g.name;
  e.fileName = fileName;
  e.subdivLevel = g.level;
  // Derived lists of whatever the record held before describe another mesh.
  e.quads.clear();
  e.edges.clear();
  e.aoDiscs.clear();
  e.levelVertexCounts.clear();
  FillFaces(e, g, kind, start);
  e.visible = 1;
  e.sourceKind = kind;
  e.center = ElementCenter(e);
  const int width = ComputeValence(e);
  if (!BuildAdjacency(e, width) || !RecomputeAllNormals(e)) throw ConversionFault();
  e.scale = {1, 1, 1};
  e.textureId = 9;
  return width;
}

bool ConvertGroups(TScene& scene, const TOBJModel& model, const std::string& fileName, int kind, float scale) {
  if (scene.elements.empty()) AppendElement(scene);
  const Target target{true, scene.addPending};
  GroupStart start;
  float extent = 0;
  int converted = 0;
  for (const TOBJGroup& g : model.groups) {
    const GroupStart groupStart = start;
    // Face numbers are file-global: every earlier group's points count.
    start.vertex += static_cast<int64_t>(g.points.size());
    start.texture += static_cast<int64_t>(g.texCoords.size());
    if (g.faceRecords.empty() || g.points.empty()) continue;
    const int index = converted == 0 ? scene.elementCount() - 1 : AppendElement(scene);
    scene.adjacencyWidth = ConvertGroup(scene.elements[static_cast<size_t>(index)], g, kind, scale, fileName,
                                        groupStart, target, extent);
    ++converted;
  }
  if (converted == 0) return false;
  SceneHost& host = scene.hostOrDefault();
  if (!host.SketchToolActive()) host.ClearFootprints();
  return true;
}

}  // namespace

TReadStatus ReadModelFile(TOBJModel& model, const std::string& fileName, int kind) {
  const TModelFormat* format = FindModelFormat(kind);
  if (format == nullptr || format->read == nullptr) {
    model.groups.clear();
    return TReadStatus::Unsupported;
  }
  return format->read(model, fileName);
}

bool ConvertIntoScene(TScene& scene, const TOBJModel& model, const std::string& fileName, int kind, float scale) {
  SceneHost& host = scene.hostOrDefault();
  host.ModelFileWasRead(scene);
  bool ok = false;
  try {
    ok = ConvertGroups(scene, model, fileName, kind, scale);
  } catch (const std::exception&) {
    ok = false;
  }
  if (ok) return true;
  host.RestoreLastGeometrySnapshot(scene);
  ShowError("Failed to load model.");
  return false;
}

bool ReplaceSceneWithModel(TScene& scene, const TOBJModel& model, const std::string& fileName, int kind,
                           float scale) {
  TScene loaded;  // headless: nothing reaches the GPU until the conversion succeeded
  ResetScene(loaded);
  if (!ConvertIntoScene(loaded, model, fileName, kind, scale)) return false;
  ResetScene(scene);
  scene.elements = std::move(loaded.elements);
  for (TGeosphera& e : scene.elements) e.uid = scene.nextUid++;
  scene.currentElement = 0;
  scene.adjacencyWidth = loaded.adjacencyWidth;
  SceneHost& host = scene.hostOrDefault();
  host.ModelFileWasRead(scene);
  host.ClearFootprints();
  return true;
}

bool LoadIntoScene(TScene& scene, const std::string& fileName, int kind, float scale) {
  TOBJModel model;
  ReadModelFile(model, fileName, kind);
  return ConvertIntoScene(scene, model, fileName, kind, scale);
}

bool LoadIntoElement(TScene& scene, TGeosphera& element, const std::string& fileName, int kind, float scale) {
  TOBJModel model;
  ReadModelFile(model, fileName, kind);
  return ConvertIntoElement(scene, element, model, fileName, kind, scale);
}

bool ConvertIntoElement(TScene& scene, TGeosphera& element, const TOBJModel& model, const std::string& fileName,
                        int kind, float scale) {
  const Target target{false, true};
  GroupStart start;
  float extent = 0;
  bool converted = false;
  try {
    for (const TOBJGroup& g : model.groups) {
      const GroupStart groupStart = start;
      start.vertex += static_cast<int64_t>(g.points.size());
      start.texture += static_cast<int64_t>(g.texCoords.size());
      if (g.faceRecords.empty() || g.points.empty()) continue;
      const int width = ConvertGroup(element, g, kind, scale, fileName, groupStart, target, extent);
      const bool isCurrent = scene.currentElement >= 0 && scene.currentElement < scene.elementCount() &&
                             &element == &scene.current();
      if (isCurrent) scene.adjacencyWidth = width;
      BuildQuadList(element);
      converted = true;
    }
  } catch (const std::exception&) {
    converted = false;
  }
  if (!converted) ShowError("Failed to load model rotate.");
  return converted;
}

TModelFile ModelFileToLoad(const std::string& fileName, int kind) {
  const TModelFormat* format = FindModelFormat(kind);
  return {fileName, kind, format != nullptr && format->wholeScene, LoadIntoScene};
}

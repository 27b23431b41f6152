#include "processing/sketch_spheres.h"

#include <cmath>
#include <new>
#include <stdexcept>
#include <utility>

#include "model/messages.h"
#include "model/topology.h"
#include "processing/sketch_spheres_weld.h"

namespace {

bool NearSphere(const TGLCoord& a, const TGLCoord& b) {
  const double dx = static_cast<double>(a.x) - b.x;
  const double dy = static_cast<double>(a.y) - b.y;
  const double dz = static_cast<double>(a.z) - b.z;
  const double d = std::sqrt(dx * dx + dy * dy + dz * dz);
  return d > 0 && d < kSketchNearSphere;
}

// The surface as an element of its own with its topology and normals; false
// (reported) when the topology cannot be built.
bool MakeSketchElement(TSketchSurface& surface, TGeosphera& mesh) {
  const size_t count = surface.vertices.size();
  mesh.vertices = std::move(surface.vertices);
  mesh.faces = std::move(surface.faces);
  mesh.vertexCount = static_cast<int32_t>(count);
  mesh.indexCount = static_cast<int32_t>(mesh.faces.size());
  mesh.colors.assign(count, kDefaultVertexColor);
  mesh.normals.assign(count, TGLCoord{});
  mesh.vertexState.assign(count + 1, kVertexFree);
  return RefreshElement(mesh);
}

// Moves the built mesh into element 0 and leaves it the scene's only element.
void ReplacePrincipalMesh(TScene& scene, TGeosphera& mesh) {
  while (scene.elementCount() > 1) {
    scene.currentElement = scene.elementCount() - 1;
    DeleteElement(scene);
  }
  scene.currentElement = 0;
  TGeosphera& e = scene.elements[0];
  e.vertices = std::move(mesh.vertices);
  e.normals = std::move(mesh.normals);
  e.colors = std::move(mesh.colors);
  e.faces = std::move(mesh.faces);
  e.valence = std::move(mesh.valence);
  e.adjacency = std::move(mesh.adjacency);
  e.vertexState = std::move(mesh.vertexState);
  e.vertexCount = mesh.vertexCount;
  e.indexCount = mesh.indexCount;
  // What belonged to the old triangles goes with them.
  e.uvs.clear();
  e.uvFaces.clear();
  e.uvCount = 0;
  e.quads.clear();
  e.edges.clear();
  e.aoDiscs.clear();
  e.subdivLevel = 0;
  e.levelVertexCounts.clear();
  e.levelChecks.clear();
  e.sourceKind = 1;
  e.visible = 1;
  if (e.adjacency.width > 0) scene.adjacencyWidth = e.adjacency.width;

  scene.gpuOrDefault().BindElementArrays(scene, 0, ArrayMode::Buffers);
  UploadElementBuffers(scene, 0);
  SceneHost& host = scene.hostOrDefault();
  host.ShowSubdivisionLevel(0);
  host.RebuildScreenGrids(scene);
  host.Redraw();
}

}  // namespace

std::vector<int> SketchBallElements(const ATGeosphera& elements) {
  std::vector<uint8_t> dropped(elements.size(), 0);
  std::vector<int> kept;
  for (size_t i = 0; i < elements.size(); ++i) {
    if (dropped[i]) continue;
    kept.push_back(static_cast<int>(i));
    for (size_t j = i + 1; j < elements.size(); ++j) {
      if (!dropped[j] && NearSphere(elements[i].position, elements[j].position)) dropped[j] = 1;
    }
  }
  return kept;
}

TMetaBalls SketchBalls(const ATGeosphera& elements) {
  TMetaBalls balls;
  for (const int i : SketchBallElements(elements)) {
    const TGeosphera& e = elements[static_cast<size_t>(i)];
    const float strength = i == 0 ? e.loadExtent * 9.0f : e.loadExtent * e.loadExtent / 6.0f;
    balls.push_back({strength, e.position});
  }
  return balls;
}

bool BuildSketchSurface(const TMetaBalls& balls, int resolution, TSketchSurface& surface,
                        const SketchProgress& progress) {
  const TMetaGrid grid = InitMetaGrid(resolution * kSketchCellsPerStep + 1, kSketchGridExtent);
  if (!Polygonise(balls, grid, surface, progress)) return false;
  WeldCloseVertices(surface.vertices, surface.faces);
  return true;
}

bool ConvertSketch(TScene& scene, float sketchResolution, const SketchProgress& progress) {
  if (scene.elements.empty()) return false;
  const float resolution = std::nearbyint(sketchResolution);
  if (!(resolution >= kSketchMinResolution && resolution <= kSketchMaxResolution)) {
    ShowError(kSketchResolutionOutOfRange);
    return false;
  }
  TGeosphera mesh;
  try {
    TSketchSurface surface;
    if (!BuildSketchSurface(SketchBalls(scene.elements), static_cast<int>(resolution), surface, progress)) {
      ShowWarning(kSketchCanceled);
      return false;
    }
    if (surface.faces.empty()) {
      ShowError(kSketchNoSurface);
      return false;
    }
    if (!MakeSketchElement(surface, mesh)) return false;
  } catch (const std::bad_alloc&) {
    ShowError(kSketchNotEnoughMemory);
    return false;
  } catch (const std::length_error&) {
    ShowError(kSketchNotEnoughMemory);
    return false;
  }
  ReplacePrincipalMesh(scene, mesh);
  return true;
}

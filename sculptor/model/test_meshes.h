// Small meshes shared by the model's tests.
#pragma once

#include <initializer_list>

#include "model/geosphera.h"

// An element with the given positions and triangles (colours default, state free).
inline TGeosphera MakeElement(std::initializer_list<TGLCoord> positions, std::initializer_list<uint32_t> triangles) {
  TGeosphera e;
  e.vertices = positions;
  e.faces = triangles;
  e.vertexCount = static_cast<int32_t>(e.vertices.size());
  e.indexCount = static_cast<int32_t>(e.faces.size());
  e.colors.assign(e.vertices.size(), kDefaultVertexColor);
  e.vertexState.assign(e.vertices.size(), kVertexFree);
  return e;
}

// The closed octahedron with outward-facing triangles.
inline TGeosphera MakeOctahedron() {
  return MakeElement({{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}},
                     {0, 2, 4, 2, 1, 4, 1, 3, 4, 3, 0, 4, 2, 0, 5, 1, 2, 5, 3, 1, 5, 0, 3, 5});
}

// What of an element a writer writes: the parts of its arrays its counts cover.
#pragma once

#include <algorithm>
#include <cstddef>

#include "model/geosphera.h"

inline size_t WrittenVertexCount(const TGeosphera& e) {
  return std::min(static_cast<size_t>(std::max(e.vertexCount, 0)), e.vertices.size());
}

inline size_t WrittenTriangleCount(const TGeosphera& e) {
  return std::min(static_cast<size_t>(std::max(e.indexCount, 0)), e.faces.size()) / 3;
}

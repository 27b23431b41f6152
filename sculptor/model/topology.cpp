#include "model/topology.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <stdexcept>

#include "model/messages.h"

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

namespace {

// The processor's approximate reciprocal square root (about 12 bits), which
// keeps face normals cheap on meshes of millions of triangles.
inline float FastReciprocalSqrt(float x) {
#if defined(__SSE__)
  // The instruction itself: the intrinsics first build a vector around x,
  // which costs shuffles on this hot path; rsqrtss reads lane 0 only.
  float r;
  asm("rsqrtss %1, %0" : "=x"(r) : "x"(x));
  return r;
#else
  return 1.0f / std::sqrt(x);
#endif
}

inline bool HasNaN(const TGLCoord& n) { return std::isnan(n.x) || std::isnan(n.y) || std::isnan(n.z); }

// sum / k, then divided by its length (by 1 when the length is 0).
inline TGLCoord AveragedUnit(TGLCoord sum, int k) {
  const float fk = static_cast<float>(k);
  TGLCoord m{sum.x / fk, sum.y / fk, sum.z / fk};
  float length = std::sqrt(m.x * m.x + m.y * m.y + m.z * m.z);
  if (length == 0) length = 1;
  return {m.x / length, m.y / length, m.z / length};
}

inline TGLCoord TriangleNormal(const TGeosphera& e, uint32_t corner) {
  const uint32_t first = corner - corner % 3;
  return FaceNormal(e.vertices[e.faces[first]], e.vertices[e.faces[first + 1]], e.vertices[e.faces[first + 2]]);
}

// True when every corner of the first `indexCount` entries names a vertex.
bool FacesInRange(const TGeosphera& e) {
  const size_t n = std::min(static_cast<size_t>(std::max(e.indexCount, 0)), e.faces.size());
  const uint32_t limit = static_cast<uint32_t>(std::max(e.vertexCount, 0));
  return std::all_of(e.faces.begin(), e.faces.begin() + static_cast<std::ptrdiff_t>(n),
                     [limit](uint32_t v) { return v < limit; });
}

bool AdjacencyUsable(const TGeosphera& e) {
  return e.adjacency.width > 0 && e.adjacency.rows() >= static_cast<size_t>(e.vertexCount) &&
         e.vertices.size() >= static_cast<size_t>(e.vertexCount) &&
         e.faces.size() >= static_cast<size_t>(e.indexCount) - static_cast<size_t>(e.indexCount) % 3;
}

size_t TriangleCornerCount(const TGeosphera& e) {
  const size_t n = std::min(static_cast<size_t>(std::max(e.indexCount, 0)), e.faces.size());
  return n - n % 3;
}

// normals[v] = the mean of the normals of the triangles in v's adjacency row,
// made unit. Degenerate triangles count as zero when asked, else their NaN
// spreads. False when the row names a corner outside the triangles.
bool AverageRowNormal(TGeosphera& e, size_t v, bool zeroDegenerate) {
  const size_t w = static_cast<size_t>(e.adjacency.width);
  const uint32_t corners = static_cast<uint32_t>(TriangleCornerCount(e));
  const uint32_t* row = e.adjacency.row(v);
  TGLCoord sum;
  int k = 0;
  for (size_t i = 0; i < w && row[i] != kNoCorner; ++i) {
    if (row[i] >= corners) return false;
    TGLCoord n = TriangleNormal(e, row[i]);
    if (zeroDegenerate && HasNaN(n)) n = {};
    sum.x += n.x;
    sum.y += n.y;
    sum.z += n.z;
    ++k;
  }
  if (k > 0) e.normals[v] = AveragedUnit(sum, k);
  return true;
}

}  // namespace

TGLCoord FaceNormal(const TGLCoord& a, const TGLCoord& b, const TGLCoord& c) {
  const float ux = a.x - b.x, uy = a.y - b.y, uz = a.z - b.z;
  const float vx = b.x - c.x, vy = b.y - c.y, vz = b.z - c.z;
  const TGLCoord n{uy * vz - uz * vy, uz * vx - ux * vz, ux * vy - uy * vx};
  const float r = FastReciprocalSqrt(n.x * n.x + n.y * n.y + n.z * n.z);
  return {n.x * r, n.y * r, n.z * r};
}

int ComputeValence(TGeosphera& e) {
  const size_t vertexCount = static_cast<size_t>(std::max(e.vertexCount, 0));
  e.valence.assign(vertexCount, 0);
  uint8_t* valence = e.valence.data();
  const uint32_t* f = e.faces.data();
  const size_t corners = TriangleCornerCount(e);
  int largest = 0;
  for (size_t c = 0; c < corners; c += 3) {
    int m = 0;
    for (size_t k = 0; k < 3; ++k) {
      const uint32_t v = f[c + k];
      if (v >= vertexCount) continue;
      if (valence[v] < 255) ++valence[v];
      m = std::max(m, valence[v] + 1);
    }
    largest = std::max(largest, m);
  }
  return largest;
}

bool BuildAdjacency(TGeosphera& e, int width) {
  try {
    if (width <= 0 || !FacesInRange(e)) throw std::invalid_argument("adjacency");
    const size_t vertexCount = static_cast<size_t>(e.vertexCount);
    const size_t w = static_cast<size_t>(width);
    e.adjacency.width = width;
    e.adjacency.cells.assign(vertexCount * w, kNoCorner);
    // Entries filled so far per row; corners arrive in increasing order, so
    // each row lists its corners in increasing order.
    std::vector<uint16_t> filled(vertexCount, 0);
    uint32_t* cells = e.adjacency.cells.data();
    const uint32_t* f = e.faces.data();
    const size_t corners = TriangleCornerCount(e);
    for (size_t c = 0; c < corners; ++c) {
      const uint32_t v = f[c];
      if (filled[v] < w) cells[v * w + filled[v]++] = static_cast<uint32_t>(c);
    }
    return true;
  } catch (const std::bad_alloc&) {
    e.adjacency = {};
    ShowError("Not enough memory to complete this operation.");
  } catch (const std::exception&) {
    e.adjacency = {};
    ShowError("Error CriaAdjacentes1");
  }
  return false;
}

TGLCoord ElementCenter(const TGeosphera& e) {
  float sx = 0, sy = 0, sz = 0;
  const size_t n = std::min(static_cast<size_t>(std::max(e.vertexCount, 0)), e.vertices.size());
  for (size_t v = 0; v < n; ++v) {
    sx += e.vertices[v].x;
    sy += e.vertices[v].y;
    sz += e.vertices[v].z;
  }
  const float count = static_cast<float>(e.vertexCount);
  return {sx / count, sy / count, sz / count};
}

bool RecomputeAllNormals(TGeosphera& e) {
  const size_t vertexCount = static_cast<size_t>(std::max(e.vertexCount, 0));
  e.normals.assign(vertexCount, TGLCoord{});
  e.vertices.resize(vertexCount);
  if (vertexCount == 0) return true;
  if (!AdjacencyUsable(e) || !FacesInRange(e)) return false;
  for (size_t v = 0; v < vertexCount; ++v) {
    if (!AverageRowNormal(e, v, /*zeroDegenerate=*/true)) return false;
  }
  return true;
}

bool RecomputeFlaggedNormals(TGeosphera& e, const TSelect& flags) {
  const size_t vertexCount = static_cast<size_t>(std::max(e.vertexCount, 0));
  if (flags.size() < vertexCount || e.normals.size() < vertexCount || !AdjacencyUsable(e) || !FacesInRange(e)) {
    ShowError("Error in vertex normal creating! Error 94");
    return false;
  }
  for (size_t v = 0; v < vertexCount; ++v) {
    if (flags[v] != 0 && !AverageRowNormal(e, v, /*zeroDegenerate=*/false)) {
      ShowError("Error in vertex normal creating! Error 94");
      return false;
    }
  }
  return true;
}

namespace {

// Normals of one footprint; returns the triangles used, or -1 on a fault.
int FootprintNormals(TGeosphera& e, const ATContsel& footprint, const NormalUpload& upload) {
  const size_t w = static_cast<size_t>(e.adjacency.width);
  const uint8_t* state = e.vertexState.data();
  const uint32_t* faces = e.faces.data();
  const TGLCoord* positions = e.vertices.data();
  const uint32_t corners = static_cast<uint32_t>(TriangleCornerCount(e));
  int used = 0;
  for (const TContsel& entry : footprint) {
    if (entry.vertex < 0 || entry.vertex >= e.vertexCount) return -1;
    const uint32_t* row = e.adjacency.row(static_cast<size_t>(entry.vertex));
    TGLCoord sum;
    int k = 0;
    for (size_t i = 0; i < w && row[i] != kNoCorner; ++i) {
      if (row[i] >= corners) return -1;
      const uint32_t first = row[i] - row[i] % 3;
      const uint32_t a = faces[first], b = faces[first + 1], c = faces[first + 2];
      if (state[a] == kVertexFree && state[b] == kVertexFree && state[c] == kVertexFree) continue;
      const TGLCoord n = FaceNormal(positions[a], positions[b], positions[c]);
      if (HasNaN(n)) {
        sum = {0.001f, 0.001f, 0.001f};
      } else {
        sum.x += n.x;
        sum.y += n.y;
        sum.z += n.z;
      }
      ++k;
    }
    TGLCoord& normal = e.normals[static_cast<size_t>(entry.vertex)];
    if (k > 0) normal = AveragedUnit(sum, k);
    if (upload) upload(entry.vertex, normal);
    used += k;
  }
  return used;
}

}  // namespace

int UpdateFootprintNormals(TGeosphera& e, const ATContsel& footprint, const ATContsel* mirror,
                           const NormalUpload& upload) {
  const size_t vertexCount = static_cast<size_t>(std::max(e.vertexCount, 0));
  if (!AdjacencyUsable(e) || e.normals.size() < vertexCount || e.vertexState.size() < vertexCount) return 0;
  const int direct = FootprintNormals(e, footprint, upload);
  if (direct < 0) return 0;
  if (!mirror) return direct;
  const int mirrored = FootprintNormals(e, *mirror, upload);
  return mirrored < 0 ? 0 : direct + mirrored;
}

void BuildQuadList(TGeosphera& e) {
  const size_t corners = TriangleCornerCount(e);
  e.quads.clear();
  e.quads.reserve(corners / 6 * 4);
  // Full triangle pairs only: an odd last triangle has no partner.
  for (size_t r = 0; r + 6 <= corners; r += 6) {
    e.quads.insert(e.quads.end(), {e.faces[r], e.faces[r + 1], e.faces[r + 2], e.faces[r + 5]});
  }
}

bool BuildEdgeList(TGeosphera& e) {
  const size_t corners = TriangleCornerCount(e);
  if (!AdjacencyUsable(e) || !FacesInRange(e)) {
    ShowError("Error creating Edge List 1! Error 04");
    return false;
  }
  e.edges.assign(static_cast<size_t>(e.indexCount) + 1, TEdge{});
  for (size_t i = 0; i < corners; ++i) {
    TEdge& edge = e.edges[i];
    edge.vertexA = static_cast<int32_t>(e.faces[i]);
    if (i % 3 == 2) {
      edge.vertexB = static_cast<int32_t>(e.faces[i - 2]);
      edge.kind = 2;
    } else {
      edge.vertexB = static_cast<int32_t>(e.faces[i + 1]);
      edge.kind = static_cast<uint8_t>(i % 3);
    }
    if (edge.assigned == 0) {
      edge.assigned = 1;
      edge.triangle = static_cast<int32_t>(i / 3);
    }
  }
  const size_t w = static_cast<size_t>(e.adjacency.width);
  for (size_t i = 0; i < corners; ++i) {
    TEdge& edge = e.edges[i];
    edge.neighbour = -1;
    const uint32_t* row = e.adjacency.row(e.faces[i]);
    bool found = false;
    for (size_t r = 0; r < w && row[r] != kNoCorner && !found; ++r) {
      const size_t base = row[r] - row[r] % 3;
      if (base + 3 > corners) continue;
      for (size_t t = base; t < base + 3; ++t) {
        const TEdge& candidate = e.edges[t];
        if (edge.vertexA == candidate.vertexB && edge.vertexB == candidate.vertexA) {
          edge.neighbour = candidate.triangle;
          found = true;
          break;
        }
      }
    }
  }
  return true;
}

namespace {

template <typename T>
void CompactPerVertex(std::vector<T>& values, const std::vector<uint8_t>& keep, size_t vertexCount) {
  if (values.size() < vertexCount) return;
  size_t out = 0;
  for (size_t v = 0; v < vertexCount; ++v) {
    if (keep[v]) values[out++] = values[v];
  }
  values.resize(out);
}

}  // namespace

int RemoveVertexUnused(TGeosphera& e, int width) {
  try {
    const size_t vertexCount = static_cast<size_t>(std::max(e.vertexCount, 0));
    if (e.valence.size() < vertexCount || !FacesInRange(e)) throw std::invalid_argument("valence");
    // Only vertices that no triangle uses go: removing a used one would
    // re-point its triangles at a wrong vertex.
    std::vector<uint8_t> keep(vertexCount);
    std::vector<uint32_t> newIndex(vertexCount);
    uint32_t kept = 0;
    for (size_t v = 0; v < vertexCount; ++v) {
      keep[v] = e.valence[v] > 0;
      newIndex[v] = kept;
      kept += keep[v];
    }
    const int removed = static_cast<int>(vertexCount - kept);
    if (removed == 0) return 0;

    const size_t corners = std::min(static_cast<size_t>(std::max(e.indexCount, 0)), e.faces.size());
    for (size_t c = 0; c < corners; ++c) e.faces[c] = newIndex[e.faces[c]];

    CompactPerVertex(e.vertices, keep, vertexCount);
    CompactPerVertex(e.normals, keep, vertexCount);
    CompactPerVertex(e.colors, keep, vertexCount);
    CompactPerVertex(e.valence, keep, vertexCount);
    // The mask follows its vertices, so frozen marks stay where they were.
    CompactPerVertex(e.vertexState, keep, vertexCount);
    const size_t w = static_cast<size_t>(width);
    if (width > 0 && e.adjacency.width == width && e.adjacency.rows() >= vertexCount) {
      size_t out = 0;
      for (size_t v = 0; v < vertexCount; ++v) {
        if (!keep[v]) continue;
        std::copy_n(e.adjacency.row(v), w, e.adjacency.row(out));
        ++out;
      }
      e.adjacency.cells.resize(out * w);
    }
    e.vertexCount = static_cast<int32_t>(kept);
    return removed;
  } catch (const std::exception&) {
    ShowWarning("Problem in RemoveVertexUnused");
    return 0;
  }
}

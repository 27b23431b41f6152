// Edge midpoints and triangle splits, shared by Subdivide and Detail.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/geosphera.h"

inline constexpr uint32_t kNoMidpoint = 0xFFFFFFFFu;

// The corners of whole triangles among the first `indexCount` entries of `faces`.
size_t TriangleCorners(const TGeosphera& e);

// True when `uvFaces` names texture coordinates corner for corner beside the
// triangles (as OBJ elements carry them).
bool UvFacesInStep(const TGeosphera& e, size_t corners);

// True when, without such texture triangles, `uvs` holds one coordinate per
// vertex; 30 or fewer entries are no real mapping.
bool PerVertexUvs(const TGeosphera& e, bool uvFacesInStep);

// Midpoints of edges, found by the edge's two vertex indices in either order.
// Each vertex keeps a short list of (other end, midpoint) for the edges where
// it is the smaller end, all in one flat array sized from the triangles, so a
// million edges cost a few allocations and no hashing or key text.
class EdgeMidpoints {
 public:
  // Room for every edge of the triangles in corners[0 .. cornerCount); every
  // corner must be below `vertexCount` (std::invalid_argument otherwise).
  EdgeMidpoints(const uint32_t* corners, size_t cornerCount, size_t vertexCount);

  // The midpoint of (a, b), or kNoMidpoint.
  uint32_t Find(uint32_t a, uint32_t b) const;

  // The midpoint of (a, b); an edge without one gets `next` and `added` is set.
  uint32_t FindOrAdd(uint32_t a, uint32_t b, uint32_t next, bool& added);

 private:
  struct Entry {
    uint32_t other;
    uint32_t midpoint;
  };
  std::vector<uint32_t> begin_;  // per vertex, vertexCount + 1 offsets into entries_
  std::vector<uint32_t> end_;    // per vertex, one past its last entry
  std::vector<Entry> entries_;
};

// Appends the split of the triangle with corners c and edge midpoints m (of
// c0-c1, c1-c2, c2-c0; kNoMidpoint where the edge is whole) to `out`, keeping
// its orientation. Three midpoints give (c0, m01, m20), (c1, m12, m01),
// (c2, m20, m12), (m01, m12, m20); one gives two triangles and two give three.
// Returns the number of triangles appended (1 when nothing is split).
int EmitSplit(const uint32_t c[3], const uint32_t m[3], Tfaces& out);

// Splits texture triangles (corner for corner beside the vertex triangles)
// the way their vertex triangles are split: each texture edge gets a
// midpoint of its own, at the mean coordinate, the first time it is split.
class UvSplitter {
 public:
  // Texture triangles in uvFaces[0 .. corners), naming entries of `uvs`.
  UvSplitter(const Tfaces& uvFaces, Tuv& uvs, size_t corners);
  // Splits texture triangle t where `split` has a midpoint (as for EmitSplit).
  void Split(size_t t, const uint32_t split[3]);
  // Hands the split texture triangles over.
  void Commit(Tfaces& uvFaces) { uvFaces.swap(out_); }

 private:
  uint32_t Midpoint(uint32_t a, uint32_t b);
  const Tfaces& uvFaces_;
  Tuv& uvs_;
  EdgeMidpoints midpoints_;
  Tfaces out_;
};

inline TGLCoord MeanPoint(const TGLCoord& a, const TGLCoord& b) {
  return {(a.x + b.x) * 0.5f, (a.y + b.y) * 0.5f, (a.z + b.z) * 0.5f};
}
inline TGLUV MeanUv(const TGLUV& a, const TGLUV& b) { return {(a.u + b.u) * 0.5f, (a.v + b.v) * 0.5f}; }

// Mean of two colours, each byte rounded to nearest, halves to even.
TRGBA MeanColor(const TRGBA& a, const TRGBA& b);

// Restores the sizes of an element's per-vertex arrays unless committed, so a
// split that fails half-way leaves the element as it was.
class VertexArraysRollback {
 public:
  explicit VertexArraysRollback(TGeosphera& e)
      : e_(e), vertices_(e.vertices.size()), colors_(e.colors.size()), uvs_(e.uvs.size()) {}
  ~VertexArraysRollback();
  VertexArraysRollback(const VertexArraysRollback&) = delete;
  VertexArraysRollback& operator=(const VertexArraysRollback&) = delete;
  void Commit() { committed_ = true; }

 private:
  TGeosphera& e_;
  size_t vertices_, colors_, uvs_;
  bool committed_ = false;
};

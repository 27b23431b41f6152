// Mesh reduction by repeated edge collapses ordered by a quadric error metric,
// on plain arrays of positions and index triples.
//
// Garland and Heckbert, "Surface Simplification Using Quadric Error Metrics"
// (SIGGRAPH 1997), in the threshold-driven form of Forstmann's "Fast Quadric
// Mesh Simplification": instead of a priority queue, each pass collapses every
// edge whose cached cost lies below a threshold that grows geometrically from
// pass to pass. Each vertex carries the sum of the squared distances to the
// planes of its triangles (its quadric); an edge collapses into the point that
// minimises the sum of its two ends' quadrics, or, on a border or where the
// quadric has no unique minimum, into the best of its ends and its midpoint.
// A collapse that would turn a neighbouring triangle's normal too far or make
// it degenerate is refused.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "processing/meshify_simplify_quadric_allocator.h"

struct TPoint3f {
  float x = 0, y = 0, z = 0;
  friend bool operator==(const TPoint3f&, const TPoint3f&) = default;
};
struct TPoint3i {
  int32_t x = 0, y = 0, z = 0;
  friend bool operator==(const TPoint3i&, const TPoint3i&) = default;
};
using TVertices = std::vector<TPoint3f>;
using TFaces = std::vector<TPoint3i>;

// Symmetric 4 x 4 error quadric, upper triangle: q11 q12 q13 q14 q22 q23 q24 q33 q34 q44.
// Summed in double precision: the error is the small difference of large
// terms (q44 alone gathers the squared plane offsets of every triangle the
// vertex stands for), and in single precision that difference drowns in
// rounding: costs came out negative or hundreds of times too large, and the
// collapses ran in the order of the rounding noise.
using TQuadric = double[10];

// Working vertex: its triangle references are refs[tstart .. tstart + tcount).
struct TVertex {
  TPoint3f p;
  int32_t border = 0;  // 1 when one of its edges belongs to a single triangle
  int32_t tstart = 0;
  int32_t tcount = 0;
  TQuadric q = {};
};

// Working triangle: err[k] is the collapse cost of the edge from corner k to
// corner k + 1 (mod 3), err[3] the smallest of them; n its unit normal.
struct TTriangle {
  int32_t v[3] = {0, 0, 0};
  float err[4] = {0, 0, 0, 0};
  uint8_t dirty = 0;
  uint8_t deleted = 0;
  TPoint3f n;
};

// The vertex is corner `tvertex` of triangle `tid`.
struct TRef {
  int32_t tid = 0;
  int32_t tvertex = 0;
};

using TVs = std::vector<TVertex, TLargeArrayAllocator<TVertex>>;
using TTs = std::vector<TTriangle, TLargeArrayAllocator<TTriangle>>;
using TRs = std::vector<TRef, TLargeArrayAllocator<TRef>>;
using TBools = std::vector<uint8_t>;  // per reference: this triangle would collapse

// Everything one reduction works on. `triangleSource[t]`, when kept (not
// empty), is the input index of working triangle t; after CompactReducedMesh,
// `vertexSource[v]` is the input index of output vertex v (the vertex a
// collapse keeps keeps its index).
struct TReductionState {
  TVs vertices;
  TTs triangles;
  TRs refs;  // rebuilt every 5th pass, appended to between
  int64_t deletedCount = 0;
  std::vector<int32_t> triangleSource;
  std::vector<int32_t> vertexSource;
  // During RelinkTriangles: the new costs of the edges from the kept vertex,
  // by their other end (a collapse clears it before relinking).
  std::vector<std::pair<int32_t, float>> costsFromKept;
};

// Which input element each output element continues: for every output vertex
// the input vertex it was (per-vertex data such as colours follows through
// it), for every output triangle the input triangle it was.
struct TReductionSources {
  std::vector<int32_t> vertices;
  std::vector<int32_t> triangles;
};

// Replaces both arrays by the mesh reduced to about `targetCount` triangles
// (at most 100 passes). Does nothing unless there are at least 5 faces and 5
// vertices, 4 <= targetCount <= the face count, and every index names a
// vertex. With `normaliseScale` the model is scaled to a unit bounding box
// during the work (unless its largest extent is exactly 0 or 1), so that the
// threshold sequence 1e-9 x aggressiveness^(pass + 3) does not depend on its
// size. Vertices no triangle uses are dropped. `sources`, when given, receives
// the input index of every output vertex and triangle (identity when nothing
// was done). Returns whether the reduction ran.
bool ReduceMesh(TFaces& faces, TVertices& vertices, int targetCount, double aggressiveness, bool normaliseScale,
                TReductionSources* sources = nullptr);

// Before pass `iteration` (a multiple of 5): drops deleted triangles (after the
// first pass); on the first pass computes the triangle normals, the vertex
// quadrics and every edge cost; rebuilds the references; on the first pass
// also flags the border vertices.
void RefreshReductionState(TReductionState& s, int iteration);

// Cost of collapsing the edge (i0, i1) and the point it collapses into.
float EdgeCollapseCost(const TReductionState& s, int32_t i0, int32_t i1, TPoint3f& point);

// The quadric's value at (x, y, z): the summed squared plane distances.
double QuadricError(const TQuadric& q, double x, double y, double z);

// True when moving `vertex` to `p` would turn one of its triangles that does
// not contain `other` by more than about 78 degrees from its normal, or make it
// degenerate. Sets marks[r] for the references whose triangle contains `other`
// (those disappear in the collapse).
bool CollapseFlipsTriangle(const TReductionState& s, const TPoint3f& p, int32_t other, const TVertex& vertex,
                           TBools& marks);

// Scratch lists of CollapseOverloadsEdge, kept between calls.
struct TNeighbourScratch {
  std::vector<int32_t> around0, around1;
};

// True when collapsing the edge between v0 and v1 would leave an edge with
// more than two triangles: a neighbour c of both ends brings the surviving
// triangles on (v0, c) and on (v1, c) onto one edge. On a manifold this is the
// link condition of Dey, Edelsbrunner, Guha and Nekhayev ("Topology Preserving
// Edge Contraction", 1999): the ends may share only the third corners of the
// triangles on their edge. `marks0`, `marks1` are the marks
// CollapseFlipsTriangle left for v0 (other = v1) and v1 (other = v0).
bool CollapseOverloadsEdge(const TReductionState& s, const TVertex& v0, const TBools& marks0, const TVertex& v1,
                           const TBools& marks1, TNeighbourScratch& scratch);

// Deletes the marked triangles of `vertex` and points the others' corner at
// `i0`, recomputing the costs of their edges at i0 (each once per collapse,
// through `costsFromKept`) and appending their references.
void RelinkTriangles(TReductionState& s, int32_t i0, const TVertex& vertex, const TBools& marks);

// Drops deleted triangles and unused vertices, numbering the kept vertices
// consecutively in index order (filling `vertexSource`).
void CompactReducedMesh(TReductionState& s);

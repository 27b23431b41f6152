#include "processing/meshify_simplify_quadric.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

constexpr int kMaxPasses = 100;
constexpr int kRefreshEvery = 5;

struct Vec3 {
  double x, y, z;
};

Vec3 ToVec(const TPoint3f& p) { return {p.x, p.y, p.z}; }
Vec3 Sub(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
double Dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 Cross(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Vec3 Scale(const Vec3& a, double s) { return {a.x * s, a.y * s, a.z * s}; }

double Det3(double a11, double a12, double a13, double a21, double a22, double a23, double a31, double a32,
            double a33) {
  return a11 * (a22 * a33 - a23 * a32) - a12 * (a21 * a33 - a23 * a31) + a13 * (a21 * a32 - a22 * a31);
}

// Adds the quadric of the plane a x + b y + c z + d = 0.
void AddPlane(TQuadric& q, double a, double b, double c, double d) {
  const double terms[10] = {a * a, a * b, a * c, a * d, b * b, b * c, b * d, c * c, c * d, d * d};
  for (int i = 0; i < 10; ++i) q[i] += terms[i];
}

float CostOfEdge(const TReductionState& s, const TTriangle& t, int k) {
  TPoint3f unused;
  return EdgeCollapseCost(s, t.v[k], t.v[(k + 1) % 3], unused);
}

void UpdateTriangleCosts(const TReductionState& s, TTriangle& t) {
  for (int k = 0; k < 3; ++k) t.err[k] = CostOfEdge(s, t, k);
  t.err[3] = std::min({t.err[0], t.err[1], t.err[2]});
}

// Moves the triangles that are not deleted to the front, in order (their
// sources with them), and returns how many there are.
size_t KeepLiveTriangles(TReductionState& s) {
  const bool sources = !s.triangleSource.empty();
  size_t out = 0;
  for (size_t t = 0; t < s.triangles.size(); ++t) {
    if (s.triangles[t].deleted) continue;
    s.triangles[out] = s.triangles[t];
    if (sources) s.triangleSource[out] = s.triangleSource[t];
    ++out;
  }
  s.triangles.resize(out);
  if (sources) s.triangleSource.resize(out);
  return out;
}

// Normals, the quadric of every vertex (the sum of its triangles' planes) and
// the cost of every edge.
void InitialiseQuadrics(TReductionState& s) {
  for (TVertex& v : s.vertices) std::fill(std::begin(v.q), std::end(v.q), 0.0);
  for (TTriangle& t : s.triangles) {
    const Vec3 p0 = ToVec(s.vertices[t.v[0]].p);
    Vec3 n = Cross(Sub(ToVec(s.vertices[t.v[1]].p), p0), Sub(ToVec(s.vertices[t.v[2]].p), p0));
    const double length = std::sqrt(Dot(n, n));
    if (length > 0) n = Scale(n, 1 / length);
    t.n = {static_cast<float>(n.x), static_cast<float>(n.y), static_cast<float>(n.z)};
    for (int k = 0; k < 3; ++k) AddPlane(s.vertices[t.v[k]].q, n.x, n.y, n.z, -Dot(n, p0));
  }
  for (TTriangle& t : s.triangles) UpdateTriangleCosts(s, t);
}

// Every vertex lists its (triangle, corner) pairs, grouped by vertex in
// triangle order.
void RebuildReferences(TReductionState& s) {
  for (TVertex& v : s.vertices) v.tcount = 0;
  for (const TTriangle& t : s.triangles) {
    for (int k = 0; k < 3; ++k) ++s.vertices[t.v[k]].tcount;
  }
  int32_t start = 0;
  for (TVertex& v : s.vertices) {
    v.tstart = start;
    start += v.tcount;
    v.tcount = 0;
  }
  // Room for the references collapses append until the next rebuild, so the
  // list never moves while it grows.
  s.refs.reserve(6 * s.triangles.size());
  s.refs.resize(static_cast<size_t>(start));
  for (size_t i = 0; i < s.triangles.size(); ++i) {
    for (int k = 0; k < 3; ++k) {
      TVertex& v = s.vertices[s.triangles[i].v[k]];
      s.refs[static_cast<size_t>(v.tstart + v.tcount++)] = {static_cast<int32_t>(i), k};
    }
  }
}

// A vertex's neighbour that occurs in only one of its triangles shares a
// single triangle with it: their edge is a border, and the neighbour a border
// vertex.
void FlagBorderVertices(TReductionState& s) {
  for (TVertex& v : s.vertices) v.border = 0;
  std::vector<int32_t> occurrences(s.vertices.size(), 0);
  for (const TVertex& v : s.vertices) {
    const TRef* refs = s.refs.data() + v.tstart;
    for (int32_t r = 0; r < v.tcount; ++r) {
      for (int32_t corner : s.triangles[static_cast<size_t>(refs[r].tid)].v) ++occurrences[static_cast<size_t>(corner)];
    }
    for (int32_t r = 0; r < v.tcount; ++r) {
      for (int32_t corner : s.triangles[static_cast<size_t>(refs[r].tid)].v) {
        int32_t& n = occurrences[static_cast<size_t>(corner)];
        if (n == 1) s.vertices[static_cast<size_t>(corner)].border = 1;
        n = 0;
      }
    }
  }
}

class Reducer {
 public:
  Reducer(TReductionState& s, int64_t targetCount)
      : s_(s), targetCount_(targetCount), triangleCount_(static_cast<int64_t>(s.triangles.size())) {}

  bool Done() const { return triangleCount_ - s_.deletedCount <= targetCount_; }

  // One pass: every triangle that is neither deleted nor touched in this pass
  // collapses its first edge cheaper than `threshold` that passes the checks.
  void Pass(double threshold) {
    for (TTriangle& t : s_.triangles) t.dirty = 0;
    for (size_t i = 0; i < s_.triangles.size(); ++i) {
      const TTriangle& t = s_.triangles[i];
      if (t.err[3] > threshold || t.deleted || t.dirty) continue;
      for (int k = 0; k < 3; ++k) {
        if (t.err[k] < threshold && TryCollapse(t.v[k], t.v[(k + 1) % 3])) break;
      }
      if (Done()) return;
    }
  }

 private:
  bool TryCollapse(int32_t i0, int32_t i1) {
    TVertex& v0 = s_.vertices[static_cast<size_t>(i0)];
    const TVertex& v1 = s_.vertices[static_cast<size_t>(i1)];
    if (v0.border != v1.border) return false;
    TPoint3f p;
    EdgeCollapseCost(s_, i0, i1, p);
    marks0_.resize(static_cast<size_t>(v0.tcount));
    marks1_.resize(static_cast<size_t>(v1.tcount));
    if (CollapseFlipsTriangle(s_, p, i1, v0, marks0_) || CollapseFlipsTriangle(s_, p, i0, v1, marks1_) ||
        CollapseOverloadsEdge(s_, v0, marks0_, v1, marks1_, scratch_)) {
      return false;
    }

    v0.p = p;
    for (int j = 0; j < 10; ++j) v0.q[j] += v1.q[j];
    const size_t start = s_.refs.size();
    s_.costsFromKept.clear();
    RelinkTriangles(s_, i0, v0, marks0_);
    RelinkTriangles(s_, i0, v1, marks1_);
    const size_t count = s_.refs.size() - start;
    if (count <= static_cast<size_t>(v0.tcount)) {
      // The new references fit where the old ones were.
      std::copy(s_.refs.begin() + static_cast<std::ptrdiff_t>(start), s_.refs.end(), s_.refs.begin() + v0.tstart);
      s_.refs.resize(start);
    } else {
      v0.tstart = static_cast<int32_t>(start);
    }
    v0.tcount = static_cast<int32_t>(count);
    return true;
  }

  TReductionState& s_;
  const int64_t targetCount_;
  const int64_t triangleCount_;
  TBools marks0_, marks1_;
  TNeighbourScratch scratch_;
};

bool IndicesInRange(const TFaces& faces, size_t vertexCount) {
  const auto inRange = [&](int32_t i) { return i >= 0 && static_cast<size_t>(i) < vertexCount; };
  return std::all_of(faces.begin(), faces.end(),
                     [&](const TPoint3i& f) { return inRange(f.x) && inRange(f.y) && inRange(f.z); });
}

// The largest edge of the bounding box.
float LargestExtent(const TVertices& vertices) {
  TPoint3f lo = vertices.front(), hi = vertices.front();
  for (const TPoint3f& p : vertices) {
    lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
    hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
  }
  return std::max({hi.x - lo.x, hi.y - lo.y, hi.z - lo.z});
}

void ScalePositions(TVertices& vertices, float factor) {
  for (TPoint3f& p : vertices) p = {p.x * factor, p.y * factor, p.z * factor};
}

void FillIdentity(std::vector<int32_t>& map, size_t count) {
  map.resize(count);
  for (size_t i = 0; i < count; ++i) map[i] = static_cast<int32_t>(i);
}

}  // namespace

double QuadricError(const TQuadric& q, double x, double y, double z) {
  return q[0] * x * x + 2 * q[1] * x * y + 2 * q[2] * x * z + 2 * q[3] * x + q[4] * y * y + 2 * q[5] * y * z +
         2 * q[6] * y + q[7] * z * z + 2 * q[8] * z + q[9];
}

float EdgeCollapseCost(const TReductionState& s, int32_t i0, int32_t i1, TPoint3f& point) {
  const TVertex& a = s.vertices[static_cast<size_t>(i0)];
  const TVertex& b = s.vertices[static_cast<size_t>(i1)];
  TQuadric q;
  for (int j = 0; j < 10; ++j) q[j] = a.q[j] + b.q[j];
  const double det = Det3(q[0], q[1], q[2], q[1], q[4], q[5], q[2], q[5], q[7]);
  if (det != 0 && !a.border && !b.border) {
    // Cramer's rule for the minimum: A p = -(q14, q24, q34).
    const double bx = -q[3], by = -q[6], bz = -q[8];
    point = {static_cast<float>(Det3(bx, q[1], q[2], by, q[4], q[5], bz, q[5], q[7]) / det),
             static_cast<float>(Det3(q[0], bx, q[2], q[1], by, q[5], q[2], bz, q[7]) / det),
             static_cast<float>(Det3(q[0], q[1], bx, q[1], q[4], by, q[2], q[5], bz) / det)};
    return static_cast<float>(QuadricError(q, point.x, point.y, point.z));
  }
  const TPoint3f mid{(a.p.x + b.p.x) * 0.5f, (a.p.y + b.p.y) * 0.5f, (a.p.z + b.p.z) * 0.5f};
  const float e0 = static_cast<float>(QuadricError(q, a.p.x, a.p.y, a.p.z));
  const float e1 = static_cast<float>(QuadricError(q, b.p.x, b.p.y, b.p.z));
  const float e2 = static_cast<float>(QuadricError(q, mid.x, mid.y, mid.z));
  const float cost = std::min({e0, e1, e2});
  if (e0 == cost) point = a.p;
  if (e1 == cost) point = b.p;
  if (e2 == cost) point = mid;
  return cost;
}

bool CollapseFlipsTriangle(const TReductionState& s, const TPoint3f& p, int32_t other, const TVertex& vertex,
                           TBools& marks) {
  const Vec3 at = ToVec(p);
  for (int32_t r = 0; r < vertex.tcount; ++r) {
    const TRef& ref = s.refs[static_cast<size_t>(vertex.tstart + r)];
    const TTriangle& t = s.triangles[static_cast<size_t>(ref.tid)];
    if (t.deleted) continue;
    const int32_t id1 = t.v[(ref.tvertex + 1) % 3], id2 = t.v[(ref.tvertex + 2) % 3];
    if (id1 == other || id2 == other) {
      marks[static_cast<size_t>(r)] = 1;
      continue;
    }
    // The tests on the unit edge directions d1, d2 and the unit normal n of
    // the moved triangle, without the square roots: with e1, e2 the edges,
    // |d1.d2| > 0.999 is (e1.e2)^2 > 0.999^2 |e1|^2 |e2|^2, and
    // n.t.n < 0.2 is (e1 x e2).t.n < 0.2 |e1 x e2|.
    const Vec3 e1 = Sub(ToVec(s.vertices[static_cast<size_t>(id1)].p), at);
    const Vec3 e2 = Sub(ToVec(s.vertices[static_cast<size_t>(id2)].p), at);
    const double l1 = Dot(e1, e1), l2 = Dot(e2, e2), c = Dot(e1, e2);
    // A corner landing on another one leaves a degenerate triangle too.
    if (!(l1 > 0 && l2 > 0) || c * c > 0.999 * 0.999 * l1 * l2) return true;
    const Vec3 m = Cross(e1, e2);
    marks[static_cast<size_t>(r)] = 0;
    const double turn = Dot(m, ToVec(t.n));
    if (turn < 0 || turn * turn < 0.2 * 0.2 * Dot(m, m)) return true;
  }
  return false;
}

namespace {

// The two other corners of every live triangle of `vertex` that survives the
// collapse (not marked), sorted: each corner occurs once per triangle on its
// edge to `vertex`.
void CornersOfSurvivors(const TReductionState& s, const TVertex& vertex, const TBools& marks,
                        std::vector<int32_t>& out) {
  out.clear();
  for (int32_t r = 0; r < vertex.tcount; ++r) {
    const TRef& ref = s.refs[static_cast<size_t>(vertex.tstart + r)];
    const TTriangle& t = s.triangles[static_cast<size_t>(ref.tid)];
    if (t.deleted || marks[static_cast<size_t>(r)]) continue;
    out.push_back(t.v[(ref.tvertex + 1) % 3]);
    out.push_back(t.v[(ref.tvertex + 2) % 3]);
  }
  std::sort(out.begin(), out.end());
}

// The cost of the edge (i0, other), which is the same seen from either end.
float CostFromKept(TReductionState& s, int32_t i0, int32_t other) {
  for (const auto& [end, cost] : s.costsFromKept) {
    if (end == other) return cost;
  }
  TPoint3f unused;
  const float cost = EdgeCollapseCost(s, i0, other, unused);
  s.costsFromKept.push_back({other, cost});
  return cost;
}

// How often `value` occurs from `at` on in a sorted list; moves `at` past it.
size_t CountRun(std::vector<int32_t>::const_iterator& at, std::vector<int32_t>::const_iterator end, int32_t value) {
  size_t n = 0;
  for (; at != end && *at == value; ++at) ++n;
  return n;
}

}  // namespace

bool CollapseOverloadsEdge(const TReductionState& s, const TVertex& v0, const TBools& marks0, const TVertex& v1,
                           const TBools& marks1, TNeighbourScratch& scratch) {
  CornersOfSurvivors(s, v0, marks0, scratch.around0);
  CornersOfSurvivors(s, v1, marks1, scratch.around1);
  auto a = scratch.around0.cbegin(), b = scratch.around1.cbegin();
  const auto aEnd = scratch.around0.cend(), bEnd = scratch.around1.cend();
  while (a != aEnd && b != bEnd) {
    if (*a < *b) {
      ++a;
    } else if (*b < *a) {
      ++b;
    } else {
      const int32_t common = *a;
      if (CountRun(a, aEnd, common) + CountRun(b, bEnd, common) > 2) return true;
    }
  }
  return false;
}

void RelinkTriangles(TReductionState& s, int32_t i0, const TVertex& vertex, const TBools& marks) {
  for (int32_t r = 0; r < vertex.tcount; ++r) {
    const TRef ref = s.refs[static_cast<size_t>(vertex.tstart + r)];
    TTriangle& t = s.triangles[static_cast<size_t>(ref.tid)];
    if (t.deleted) continue;
    if (marks[static_cast<size_t>(r)]) {
      t.deleted = 1;
      ++s.deletedCount;
      continue;
    }
    t.v[ref.tvertex] = i0;
    t.dirty = 1;
    // The two edges at i0 are shared with neighbouring triangles: each is
    // costed once. The edge opposite i0 keeps its ends and so its cost,
    // unless that cost dates from before the border vertices were known.
    const int corner = ref.tvertex, opposite = (corner + 1) % 3, before = (corner + 2) % 3;
    t.err[corner] = CostFromKept(s, i0, t.v[opposite]);
    t.err[before] = CostFromKept(s, i0, t.v[before]);
    if (s.vertices[static_cast<size_t>(t.v[opposite])].border || s.vertices[static_cast<size_t>(t.v[before])].border) {
      t.err[opposite] = CostOfEdge(s, t, opposite);
    }
    t.err[3] = std::min({t.err[0], t.err[1], t.err[2]});
    s.refs.push_back(ref);
  }
}

void RefreshReductionState(TReductionState& s, int iteration) {
  if (iteration > 0) KeepLiveTriangles(s);
  if (iteration == 0) InitialiseQuadrics(s);
  RebuildReferences(s);
  if (iteration == 0) FlagBorderVertices(s);
}

void CompactReducedMesh(TReductionState& s) {
  KeepLiveTriangles(s);
  // tcount serves as the used flag from here on.
  for (TVertex& v : s.vertices) v.tcount = 0;
  for (const TTriangle& t : s.triangles) {
    for (int32_t v : t.v) s.vertices[static_cast<size_t>(v)].tcount = 1;
  }

  s.vertexSource.clear();
  for (size_t v = 0; v < s.vertices.size(); ++v) {
    if (!s.vertices[v].tcount) continue;
    const size_t index = s.vertexSource.size();
    s.vertices[v].tstart = static_cast<int32_t>(index);
    s.vertices[index].p = s.vertices[v].p;
    s.vertexSource.push_back(static_cast<int32_t>(v));
  }
  for (TTriangle& t : s.triangles) {
    for (int32_t& v : t.v) v = s.vertices[static_cast<size_t>(v)].tstart;
  }
  s.vertices.resize(s.vertexSource.size());
}

bool ReduceMesh(TFaces& faces, TVertices& vertices, int targetCount, double aggressiveness, bool normaliseScale,
                TReductionSources* sources) {
  if (faces.size() < 5 || vertices.size() < 5 || targetCount < 4 || faces.size() < static_cast<size_t>(targetCount) ||
      !IndicesInRange(faces, vertices.size())) {
    if (sources) {
      FillIdentity(sources->vertices, vertices.size());
      FillIdentity(sources->triangles, faces.size());
    }
    return false;
  }

  // A point-sized model, a unit one or one with an infinite coordinate keeps its scale.
  float extent = 0;
  if (normaliseScale) {
    extent = LargestExtent(vertices);
    if (extent == 0 || extent == 1 || !std::isfinite(extent)) normaliseScale = false;
  }
  if (normaliseScale) ScalePositions(vertices, 1 / extent);

  TReductionState s;
  s.triangles.reserve(faces.size());
  for (const TPoint3i& f : faces) {
    TTriangle& t = s.triangles.emplace_back();
    t.v[0] = f.x;
    t.v[1] = f.y;
    t.v[2] = f.z;
  }
  if (sources) FillIdentity(s.triangleSource, faces.size());
  s.vertices.reserve(vertices.size());
  for (const TPoint3f& p : vertices) s.vertices.emplace_back().p = p;
  faces.clear();
  vertices.clear();

  Reducer reducer(s, targetCount);
  for (int iteration = 0; iteration < kMaxPasses && !reducer.Done(); ++iteration) {
    if (iteration % kRefreshEvery == 0) RefreshReductionState(s, iteration);
    reducer.Pass(1e-9 * std::pow(aggressiveness, iteration + 3));
  }
  CompactReducedMesh(s);

  faces.resize(s.triangles.size());
  for (size_t t = 0; t < faces.size(); ++t) faces[t] = {s.triangles[t].v[0], s.triangles[t].v[1], s.triangles[t].v[2]};
  vertices.resize(s.vertices.size());
  for (size_t v = 0; v < vertices.size(); ++v) vertices[v] = s.vertices[v].p;
  if (normaliseScale) ScalePositions(vertices, extent);
  if (sources) {
    sources->vertices = std::move(s.vertexSource);
    sources->triangles = std::move(s.triangleSource);
  }
  return true;
}

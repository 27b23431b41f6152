#include "stray_pieces.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <unordered_map>

namespace {

// The octree of the reconstruction spans the samples' box enlarged by this factor.
constexpr double kOctreeScale = 1.1;

// Union-find over vertex indices, with path halving.
class Pieces {
 public:
  explicit Pieces(size_t n) : parent_(n) { std::iota(parent_.begin(), parent_.end(), 0); }
  int32_t Find(int32_t v) {
    while (Parent(v) != v) v = Parent(v) = Parent(Parent(v));
    return v;
  }
  void Join(int32_t a, int32_t b) { Parent(Find(a)) = Find(b); }

 private:
  int32_t& Parent(int32_t v) { return parent_[static_cast<size_t>(v)]; }
  std::vector<int32_t> parent_;
};

// A uniform grid of cubes of side `cell` from `low`, keyed 21 bits per axis.
// The samples span at most 2^16 cells (the cell is no finer than the octree's),
// so only far-away mesh vertices reach the clamped edge cells.
class Grid {
 public:
  Grid(const Float3& low, double cell) : cell_(cell) {
    for (size_t k = 0; k < 3; ++k) low_[k] = low[k] - 2 * cell;  // room for the lowest cells' neighbours
  }
  uint64_t Key(const Float3& p, int dx = 0, int dy = 0, int dz = 0) const {
    const int d[3] = {dx, dy, dz};
    uint64_t key = 0;
    for (size_t k = 0; k < 3; ++k) {
      const double index = std::floor((p[k] - low_[k]) / cell_) + d[k];
      key = key << 21 | static_cast<uint64_t>(std::clamp(index, 0.0, double((1 << 21) - 1)));
    }
    return key;
  }
  // Calls `visit` with the keys of the cell of `p` and its 26 neighbours.
  template <typename Visit>
  void Around(const Float3& p, Visit&& visit) const {
    for (int dx = -1; dx <= 1; ++dx)
      for (int dy = -1; dy <= 1; ++dy)
        for (int dz = -1; dz <= 1; ++dz) visit(Key(p, dx, dy, dz));
  }

 private:
  double cell_;
  double low_[3];
};

double Area(const ColoredMesh& mesh) {
  double area = 0;
  for (const std::array<int32_t, 3>& t : mesh.triangles) {
    const Float3& a = mesh.positions[static_cast<size_t>(t[0])];
    const Float3& b = mesh.positions[static_cast<size_t>(t[1])];
    const Float3& c = mesh.positions[static_cast<size_t>(t[2])];
    const double u[3] = {double(b[0]) - a[0], double(b[1]) - a[1], double(b[2]) - a[2]};
    const double w[3] = {double(c[0]) - a[0], double(c[1]) - a[1], double(c[2]) - a[2]};
    const double n[3] = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0]};
    area += 0.5 * std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
  }
  return area;
}

Float3 LowCorner(const std::vector<Float3>& points) {
  Float3 low = points[0];
  for (const Float3& p : points)
    for (size_t k = 0; k < 3; ++k) low[k] = std::min(low[k], p[k]);
  return low;
}

double Reach(const ColoredMesh& mesh, const std::vector<Float3>& samples, int depth) {
  const Float3 low = LowCorner(samples);
  double extent = 0;
  for (const Float3& p : samples)
    for (size_t k = 0; k < 3; ++k) extent = std::max(extent, double(p[k]) - low[k]);
  const double cell = extent * kOctreeScale / std::ldexp(1.0, depth);
  const double spacing = std::sqrt(Area(mesh) / static_cast<double>(samples.size()));
  return std::max(cell, spacing);
}

// For every piece (by its root vertex) whether some sample needs it.
std::vector<bool> NeededPieces(const ColoredMesh& mesh, Pieces& pieces, const std::vector<Float3>& samples,
                               const Grid& grid) {
  const size_t n = mesh.positions.size();
  std::vector<size_t> size(n, 0);
  std::vector<int32_t> root(n);
  for (size_t v = 0; v < n; ++v) ++size[static_cast<size_t>(root[v] = pieces.Find(static_cast<int32_t>(v)))];
  // Each grid cell remembers the largest piece with a vertex in it.
  std::unordered_map<uint64_t, int32_t> largest;
  largest.reserve(n);
  for (size_t v = 0; v < n; ++v) {
    auto [it, added] = largest.try_emplace(grid.Key(mesh.positions[v]), root[v]);
    if (!added && size[static_cast<size_t>(root[v])] > size[static_cast<size_t>(it->second)]) it->second = root[v];
  }
  size_t piecesLeft = 0;  // pieces that no sample needs yet; once none is left, no sample can change anything
  for (size_t v = 0; v < n; ++v) piecesLeft += root[v] == static_cast<int32_t>(v);
  std::vector<bool> needed(n, false);
  for (const Float3& s : samples) {
    if (piecesLeft == 0) break;
    int32_t best = -1;
    grid.Around(s, [&](uint64_t key) {
      const auto it = largest.find(key);
      if (it != largest.end() && (best < 0 || size[static_cast<size_t>(it->second)] > size[static_cast<size_t>(best)]))
        best = it->second;
    });
    if (best >= 0 && !needed[static_cast<size_t>(best)]) {
      needed[static_cast<size_t>(best)] = true;
      --piecesLeft;
    }
  }
  return needed;
}

// Keeps the triangles whose piece is kept, then the vertices they use.
void KeepPieces(ColoredMesh& mesh, Pieces& pieces, const std::vector<bool>& keptRoot) {
  std::vector<int32_t> newIndex(mesh.positions.size(), -1);
  size_t triangles = 0;
  int32_t vertices = 0;
  for (const std::array<int32_t, 3>& t : mesh.triangles) {
    if (!keptRoot[static_cast<size_t>(pieces.Find(t[0]))]) continue;
    std::array<int32_t, 3>& kept = mesh.triangles[triangles++];
    for (size_t k = 0; k < 3; ++k) {
      int32_t& index = newIndex[static_cast<size_t>(t[k])];
      if (index < 0) index = vertices++;
      kept[k] = index;
    }
  }
  mesh.triangles.resize(triangles);
  std::vector<Float3> positions(static_cast<size_t>(vertices));
  std::vector<Rgb> colors(mesh.colors.empty() ? 0 : static_cast<size_t>(vertices));
  for (size_t v = 0; v < newIndex.size(); ++v) {
    if (newIndex[v] < 0) continue;
    positions[static_cast<size_t>(newIndex[v])] = mesh.positions[v];
    if (!colors.empty()) colors[static_cast<size_t>(newIndex[v])] = mesh.colors[v];
  }
  mesh.positions = std::move(positions);
  mesh.colors = std::move(colors);
}

}  // namespace

void DropStrayPieces(ColoredMesh& mesh, const std::vector<Float3>& samples, int depth) {
  if (mesh.triangles.empty() || samples.empty()) return;
  Pieces pieces(mesh.positions.size());
  for (const std::array<int32_t, 3>& t : mesh.triangles) {
    pieces.Join(t[0], t[1]);
    pieces.Join(t[1], t[2]);
  }
  const Grid grid(LowCorner(samples), Reach(mesh, samples, depth));
  const std::vector<bool> needed = NeededPieces(mesh, pieces, samples, grid);
  if (std::find(needed.begin(), needed.end(), true) != needed.end()) KeepPieces(mesh, pieces, needed);
}

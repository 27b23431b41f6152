#include "quad_mesh.h"

#include <algorithm>
#include <map>
#include <utility>

#include "mesh_shapes.h"

QuadMesh SplitIntoQuads(const std::vector<Vec3d>& points, const std::vector<Polygon>& polygons) {
  QuadMesh mesh;
  mesh.points = points;
  std::map<std::pair<uint32_t, uint32_t>, uint32_t> midpoints;
  auto midpoint = [&](uint32_t a, uint32_t b) {
    auto [it, fresh] = midpoints.try_emplace(std::minmax(a, b), static_cast<uint32_t>(mesh.points.size()));
    if (fresh) mesh.points.push_back((points[a] + points[b]) * 0.5);
    return it->second;
  };
  for (const Polygon& polygon : polygons) {
    const size_t n = polygon.size();
    Vec3d centroid;
    for (uint32_t v : polygon) centroid += points[v];
    const auto centre = static_cast<uint32_t>(mesh.points.size());
    mesh.points.push_back(centroid / double(n));
    for (size_t i = 0; i < n; ++i) {
      const uint32_t corner = polygon[i], next = polygon[(i + 1) % n], previous = polygon[(i + n - 1) % n];
      mesh.quads.push_back({corner, midpoint(corner, next), centre, midpoint(previous, corner)});
    }
  }
  return mesh;
}

namespace {

// Edge neighbours of every point in compressed rows: point v's neighbours are
// neighbours[first[v] .. first[v + 1]).
struct Neighbours {
  std::vector<uint32_t> first, neighbours;
};

Neighbours EdgeNeighbours(const QuadMesh& mesh) {
  std::vector<std::pair<uint32_t, uint32_t>> edges;
  edges.reserve(mesh.quads.size() * 8);
  for (const Quad& q : mesh.quads) {
    for (int k = 0; k < 4; ++k) {
      edges.emplace_back(q[k], q[(k + 1) % 4]);
      edges.emplace_back(q[(k + 1) % 4], q[k]);
    }
  }
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
  Neighbours n;
  n.first.assign(mesh.points.size() + 1, 0);
  for (const auto& e : edges) ++n.first[e.first + 1];
  for (size_t v = 0; v < mesh.points.size(); ++v) n.first[v + 1] += n.first[v];
  n.neighbours.reserve(edges.size());
  for (const auto& e : edges) n.neighbours.push_back(e.second);
  return n;
}

// One Newton step of p towards the zero level: p - f(p) grad / |grad|^2,
// the gradient by forward differences.
Vec3d ProjectOnce(const DistanceField& field, Vec3d p, double step) {
  const double d = field(p);
  const Vec3d gradient{(field(p + Vec3d{step, 0, 0}) - d) / step, (field(p + Vec3d{0, step, 0}) - d) / step,
                       (field(p + Vec3d{0, 0, step}) - d) / step};
  const double g2 = Dot(gradient, gradient);
  return g2 > 1e-12 ? p - gradient * (d / g2) : p;
}

}  // namespace

void RelaxOnField(QuadMesh& mesh, const DistanceField& field, double step, int rounds) {
  const Neighbours n = EdgeNeighbours(mesh);
  std::vector<Vec3d> moved(mesh.points.size());
  for (int round = 0; round < rounds; ++round) {
    for (size_t v = 0; v < mesh.points.size(); ++v) {
      Vec3d mean;
      const uint32_t begin = n.first[v], end = n.first[v + 1];
      for (uint32_t i = begin; i < end; ++i) mean += mesh.points[n.neighbours[i]];
      const Vec3d p = mesh.points[v];
      moved[v] = end > begin ? p + (mean / double(end - begin) - p) * 0.5 : p;
    }
    for (size_t v = 0; v < moved.size(); ++v) mesh.points[v] = ProjectOnce(field, moved[v], step);
  }
  // A last projection without moving: the points end on the surface.
  for (Vec3d& p : mesh.points) p = ProjectOnce(field, p, step);
}

double SixfoldVolume(const QuadMesh& mesh) {
  double volume = 0;
  for (const Quad& q : mesh.quads) {
    const Vec3d &a = mesh.points[q[0]], &b = mesh.points[q[1]], &c = mesh.points[q[2]], &d = mesh.points[q[3]];
    volume += Dot(a, Cross(b, c)) + Dot(a, Cross(c, d));
  }
  return volume;
}

TGeosphera ToElement(const QuadMesh& mesh) {
  TGeosphera e;
  e.vertices.reserve(mesh.points.size());
  for (const Vec3d& p : mesh.points) e.vertices.push_back({float(p.x), float(p.y), float(p.z)});
  e.faces.reserve(mesh.quads.size() * 6);
  for (Quad q : mesh.quads) {
    const double ac = Length(mesh.points[q[0]] - mesh.points[q[2]]);
    const double bd = Length(mesh.points[q[1]] - mesh.points[q[3]]);
    if (bd < ac) std::rotate(q.begin(), q.begin() + 1, q.end());
    e.faces.insert(e.faces.end(), {q[0], q[1], q[2], q[0], q[2], q[3]});
  }
  FinishShape(e);
  return e;
}

#include "field_mesher.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "marching_cubes33.h"
#include "polygon_storage.h"
#include "quad_mesh.h"
#include "volume_storage.h"

namespace {

// Grid points origin + (x, y, z) * step for x < nx, y < ny, z < nz; the z
// coordinates are symmetric about 0 so that the mesh comes out mirrored too.
struct SampleGrid {
  Vec3d origin;
  double step = 0;
  int nx = 0, ny = 0, nz = 0;

  Vec3d at(int x, int y, int z) const { return origin + Vec3d{x * step, y * step, z * step}; }
  size_t index(int x, int y, int z) const { return (size_t(z) * size_t(ny) + size_t(y)) * size_t(nx) + size_t(x); }
};

// `shift` moves the grid by that many cells along x and y (z keeps its symmetry).
SampleGrid GridFor(const FieldMeshing& settings, double step, double shift = 0) {
  constexpr int kMarginCells = 2;
  auto cells = [&](double extent) { return int(std::ceil(extent / step)) + 2 * kMarginCells; };
  SampleGrid g;
  g.step = step;
  g.nx = cells(settings.high.x - settings.low.x) + 1;
  g.ny = cells(settings.high.y - settings.low.y) + 1;
  const double zHalf = std::max(std::abs(settings.low.z), std::abs(settings.high.z));
  const int zCells = 2 * (int(std::ceil(zHalf / step)) + kMarginCells);
  g.nz = zCells + 1;
  g.origin = {settings.low.x - (kMarginCells + shift) * step, settings.low.y - (kMarginCells + shift) * step,
              -zCells / 2 * step};
  return g;
}

// Samples the field in grid units (distance / step) near its zero level only.
// Blocks of kBlock cells are judged by their corners: a block whose corners
// all lie farther from the surface than the block could reach (with room for
// the approximate distances of ellipsoids and blends) cannot hold the
// surface, and its points only take the corners' sign.
void SampleNarrowBand(const DistanceField& field, const SampleGrid& g, voxquad::VoxelData* voxels) {
  constexpr int kBlock = 4;
  constexpr double kDistanceSlack = 2.0;
  const double reach = kDistanceSlack * (kBlock * std::sqrt(3.0) / 2 + 1);  // grid units
  std::vector<uint8_t> sampled(size_t(g.nx) * g.ny * g.nz, 0);
  auto sample = [&](int x, int y, int z) {
    const size_t i = g.index(x, y, z);
    if (!sampled[i]) {
      const double d = field(g.at(x, y, z)) / g.step;
      // Marching cubes needs a sign at every point: an exact zero counts as outside.
      voxels[i].distance = d == 0 ? 1e-6f : float(d);
      sampled[i] = 1;
    }
    return voxels[i].distance;
  };
  for (int z0 = 0; z0 + 1 < g.nz; z0 += kBlock) {
    const int z1 = std::min(z0 + kBlock, g.nz - 1);
    for (int y0 = 0; y0 + 1 < g.ny; y0 += kBlock) {
      const int y1 = std::min(y0 + kBlock, g.ny - 1);
      for (int x0 = 0; x0 + 1 < g.nx; x0 += kBlock) {
        const int x1 = std::min(x0 + kBlock, g.nx - 1);
        float nearest = 1e30f, corner = 0;
        for (int c = 0; c < 8; ++c) {
          corner = sample(c & 1 ? x1 : x0, c & 2 ? y1 : y0, c & 4 ? z1 : z0);
          nearest = std::min(nearest, std::abs(corner));
        }
        const bool band = nearest <= reach;
        const float fill = corner > 0 ? float(reach) : -float(reach);
        for (int z = z0; z <= z1; ++z) {
          for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
              if (band) sample(x, y, z);
              else if (!sampled[g.index(x, y, z)]) voxels[g.index(x, y, z)].distance = fill;
            }
          }
        }
      }
    }
  }
}

// True when a point on the grid's faces lies inside the shape.
bool TouchesGridFaces(const SampleGrid& g, const voxquad::VoxelData* voxels) {
  auto inside = [&](int x, int y, int z) { return voxels[g.index(x, y, z)].distance <= 0; };
  for (int a = 0; a < g.nx; ++a) {
    for (int b = 0; b < g.ny; ++b) {
      if (inside(a, b, 0) || inside(a, b, g.nz - 1)) return true;
    }
    for (int b = 0; b < g.nz; ++b) {
      if (inside(a, 0, b) || inside(a, g.ny - 1, b)) return true;
    }
  }
  for (int a = 0; a < g.ny; ++a) {
    for (int b = 0; b < g.nz; ++b) {
      if (inside(0, a, b) || inside(g.nx - 1, a, b)) return true;
    }
  }
  return false;
}

struct Polygons {
  std::vector<Vec3d> points;
  std::vector<Polygon> polygons;
  std::string error;
};

// The quad-dominant dual surface of the field's zero level on grid g.
Polygons Polygonise(const DistanceField& field, const SampleGrid& g) {
  Polygons result;
  voxquad::VolumeStorageDF volume;
  volume.setSize(g.nx, g.ny, g.nz);
  SampleNarrowBand(field, g, volume.records());
  if (TouchesGridFaces(g, volume.records())) {
    result.error = "the shape reaches the faces of its box";
    return result;
  }
  voxquad::PolygonStorage marching, dual;
  {
    voxquad::MarchingCubes33 cubes;
    cubes.setVolume(&volume);
    cubes.setOutput(&marching);
    cubes.init();
    cubes.run();
  }
  dual.constructDual(marching);
  dual.reducePolygonDegree();
  dual.removeRhombusPolygons();

  // Keep the corners that polygons use, numbered in order of first use.
  std::vector<int64_t> renumbered(dual.Vertices.size(), -1);
  for (const voxquad::VertexIDList& corners : dual.Polygons) {
    if (corners.size() < 3) continue;
    Polygon& polygon = result.polygons.emplace_back();
    for (int32_t v : corners) {
      if (renumbered[size_t(v)] < 0) {
        renumbered[size_t(v)] = int64_t(result.points.size());
        const voxquad::vec3& p = dual.Vertices[size_t(v)].position;
        result.points.push_back(g.origin + Vec3d{p.x, p.y, p.z} * g.step);
      }
      polygon.push_back(uint32_t(renumbered[size_t(v)]));
    }
  }
  if (result.polygons.empty()) result.error = "the field has no surface in its box";
  return result;
}

// True when every edge joins exactly two polygons that run along it in
// opposite directions: a closed, consistently oriented two-manifold.
bool ClosedManifold(const std::vector<Polygon>& polygons) {
  std::vector<std::pair<uint32_t, uint32_t>> edges;
  for (const Polygon& p : polygons) {
    for (size_t k = 0; k < p.size(); ++k) edges.emplace_back(p[k], p[(k + 1) % p.size()]);
  }
  std::sort(edges.begin(), edges.end());
  for (size_t i = 0; i < edges.size(); ++i) {
    if (i + 1 < edges.size() && edges[i + 1] == edges[i]) return false;
    if (!std::binary_search(edges.begin(), edges.end(), std::make_pair(edges[i].second, edges[i].first))) return false;
  }
  return true;
}

// Triangles after the split into quads: two per polygon corner.
size_t SplitTriangleCount(const std::vector<Polygon>& polygons) {
  size_t corners = 0;
  for (const Polygon& p : polygons) corners += p.size();
  return 2 * corners;
}

}  // namespace

MeshedField MeshField(const DistanceField& field, const FieldMeshing& settings) {
  // A coarse probe measures the surface; the triangle count grows with the
  // inverse square of the cell size.
  constexpr int kProbeCells = 40;
  const Vec3d size = settings.high - settings.low;
  const double probeStep = std::max({size.x, size.y, size.z}) / kProbeCells;
  const Polygons probe = Polygonise(field, GridFor(settings, probeStep));
  if (!probe.error.empty()) return {std::nullopt, probe.error};
  double step = probeStep * std::sqrt(double(SplitTriangleCount(probe.polygons)) / double(settings.targetTriangles));

  // The dual surface can come out with a pinched edge where a detail is as
  // thin as a cell; a grid moved by part of a cell samples it differently.
  constexpr int kAttempts = 4;
  Polygons surface;
  for (int attempt = 0;; ++attempt) {
    surface = Polygonise(field, GridFor(settings, step, 0.37 * attempt));
    if (!surface.error.empty()) return {std::nullopt, surface.error};
    if (ClosedManifold(surface.polygons)) break;
    if (attempt + 1 == kAttempts) return {std::nullopt, "the surface does not close into a manifold"};
  }
  QuadMesh mesh = SplitIntoQuads(surface.points, surface.polygons);
  constexpr int kRelaxRounds = 8;
  RelaxOnField(mesh, field, step * 0.02, kRelaxRounds);
  if (SixfoldVolume(mesh) < 0) {
    for (Quad& q : mesh.quads) std::reverse(q.begin(), q.end());
  }
  return {ToElement(mesh), {}};
}

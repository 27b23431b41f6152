#pragma once
// Test and benchmark helper: what a remeshed surface should keep of its input, measured on any
// polygon storage (polygons taken as fans of triangles): open and non-manifold edges, shells,
// Euler characteristic, enclosed volume, degenerate polygons, unused vertices, and the largest
// distance from the vertices of one mesh to the surface of another.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <numeric>
#include <unordered_map>
#include <utility>
#include <vector>

#include "polygon_storage.h"
#include "triangle_distance.h"

namespace voxquad {

namespace mesh_checks {

struct Topology {
    int borderEdges = 0;       // sides of one polygon only
    int nonManifoldEdges = 0;  // sides of three polygons or more
    int shells = 0;            // pieces joined by shared vertices
    int euler = 0;             // used vertices - edges + polygons
    int degeneratePolygons = 0;  // two corners at one position, or no area (polygonWithoutArea)
    int unusedVertices = 0;
    double volume = 0;         // enclosed, positive when the polygons face outwards
};

inline Topology topologyOf(const PolygonStorage& mesh)
{
    Topology t;
    std::map<std::pair<int, int>, int> sides;
    std::vector<int> parent(mesh.Vertices.size());
    std::iota(parent.begin(), parent.end(), 0);
    auto root = [&](int v) {
        while (parent[v] != v) v = parent[v] = parent[parent[v]];
        return v;
    };
    std::vector<char> used(mesh.Vertices.size(), 0);
    int polygons = 0;
    for (const VertexIDList& p : mesh.Polygons) {
        if (p.empty()) continue;
        ++polygons;
        const std::size_t n = p.size();
        bool repeated = false;
        for (std::size_t k = 0; k < n; ++k) {
            const int a = p[k], b = p[(k + 1) % n];
            ++sides[{std::min(a, b), std::max(a, b)}];
            used[a] = 1;
            parent[root(a)] = root(b);
            for (std::size_t m = k + 1; m < n; ++m) repeated |= mesh.Vertices[a].position == mesh.Vertices[p[m]].position;
        }
        const vec3& o = mesh.Vertices[p[0]].position;
        for (std::size_t k = 1; k + 1 < n; ++k) {
            const vec3 &b = mesh.Vertices[p[k]].position, &c = mesh.Vertices[p[k + 1]].position;
            t.volume += dot(o, cross(b, c)) / 6.0;
        }
        t.degeneratePolygons += repeated || polygonWithoutArea(p, mesh.Vertices);
    }
    for (const auto& [edge, count] : sides) {
        t.borderEdges += count == 1;
        t.nonManifoldEdges += count > 2;
    }
    int vertices = 0;
    for (std::size_t v = 0; v < used.size(); ++v) {
        vertices += used[v];
        t.unusedVertices += !used[v];
        t.shells += used[v] && root(static_cast<int>(v)) == static_cast<int>(v);
    }
    t.euler = vertices - static_cast<int>(sides.size()) + polygons;
    return t;
}

// Distances to the triangles (polygon fans) of a mesh through a uniform grid of their boxes.
class SurfaceIndex {
public:
    explicit SurfaceIndex(const PolygonStorage& mesh) : mesh_(mesh)
    {
        vec3 lo(std::numeric_limits<float>::max(), std::numeric_limits<float>::max(), std::numeric_limits<float>::max());
        vec3 hi = lo * -1.0f;
        double edgeSum = 0;
        for (const VertexIDList& p : mesh.Polygons)
            for (std::size_t k = 1; k + 1 < p.size(); ++k) {
                triangles_.push_back({p[0], p[k], p[k + 1]});
                for (int v : triangles_.back())
                    for (int a = 0; a < 3; ++a) {
                        lo[a] = std::min(lo[a], mesh.Vertices[v].position[a]);
                        hi[a] = std::max(hi[a], mesh.Vertices[v].position[a]);
                    }
                edgeSum += (mesh.Vertices[p[k]].position - mesh.Vertices[p[0]].position).length();
            }
        origin_ = lo;
        cell_ = static_cast<float>(2 * edgeSum / std::max<std::size_t>(triangles_.size(), 1)) + 1e-6f;
        for (std::size_t t = 0; t < triangles_.size(); ++t) {
            int from[3], to[3];
            for (int a = 0; a < 3; ++a) {
                float tlo = std::numeric_limits<float>::max(), thi = -tlo;
                for (int v : triangles_[t]) {
                    tlo = std::min(tlo, mesh.Vertices[v].position[a]);
                    thi = std::max(thi, mesh.Vertices[v].position[a]);
                }
                from[a] = cellOf(tlo, a);
                to[a] = cellOf(thi, a);
            }
            for (int x = from[0]; x <= to[0]; ++x)
                for (int y = from[1]; y <= to[1]; ++y)
                    for (int z = from[2]; z <= to[2]; ++z) cells_[key(x, y, z)].push_back(static_cast<int>(t));
        }
    }

    // Distance from p to the nearest triangle.
    double distance(const vec3& p) const
    {
        const int c[3] = {cellOf(p.x, 0), cellOf(p.y, 1), cellOf(p.z, 2)};
        double best = std::numeric_limits<double>::max();
        for (int ring = 0; ring < 1 << 12; ring = ring ? 2 * ring : 1) {
            for (int x = c[0] - ring; x <= c[0] + ring; ++x)
                for (int y = c[1] - ring; y <= c[1] + ring; ++y)
                    for (int z = c[2] - ring; z <= c[2] + ring; ++z) {
                        const auto found = cells_.find(key(x, y, z));
                        if (found == cells_.end()) continue;
                        for (int t : found->second) {
                            const auto& v = triangles_[t];
                            const vec3 q = closestOnTriangle(p, mesh_.Vertices[v[0]].position, mesh_.Vertices[v[1]].position,
                                                             mesh_.Vertices[v[2]].position)
                                               .point;
                            best = std::min(best, static_cast<double>((p - q).length()));
                        }
                    }
            // Every triangle within ring cells of p has been seen.
            if (best <= static_cast<double>(ring) * cell_) break;
        }
        return best;
    }

private:
    int cellOf(float v, int axis) const { return static_cast<int>(std::floor((v - origin_[axis]) / cell_)); }
    static std::int64_t key(int x, int y, int z)
    {
        return (static_cast<std::int64_t>(x + (1 << 20)) << 42) | (static_cast<std::int64_t>(y + (1 << 20)) << 21) |
               static_cast<std::int64_t>(z + (1 << 20));
    }

    const PolygonStorage& mesh_;
    std::vector<std::array<int, 3>> triangles_;
    std::unordered_map<std::int64_t, std::vector<int>> cells_;
    vec3 origin_;
    float cell_ = 1;
};

// The largest distance from a used vertex of `from` to the surface of `to`.
inline double largestDistance(const PolygonStorage& from, const PolygonStorage& to)
{
    const SurfaceIndex index(to);
    std::vector<char> used(from.Vertices.size(), 0);
    for (const VertexIDList& p : from.Polygons)
        for (int v : p) used[v] = 1;
    double largest = 0;
    for (std::size_t v = 0; v < from.Vertices.size(); ++v)
        if (used[v]) largest = std::max(largest, index.distance(from.Vertices[v].position));
    return largest;
}

// Both ways: a symmetric Hausdorff distance sampled at the vertices.
inline double hausdorff(const PolygonStorage& a, const PolygonStorage& b)
{
    return std::max(largestDistance(a, b), largestDistance(b, a));
}

}  // namespace mesh_checks

}  // namespace voxquad

#pragma once
// Test and benchmark helper: distances from points to a triangle mesh, by brute force over the
// triangles.
#include <algorithm>
#include <cmath>
#include <limits>

#include "polygon_storage.h"
#include "triangle_distance.h"

namespace voxquad {

namespace surface_distance {

// Distance from p to the nearest triangle of mesh.
inline float toMesh(const vec3& p, const PolygonStorage& mesh)
{
    float best = std::numeric_limits<float>::max();
    for (const VertexIDList& t : mesh.Polygons) {
        if (t.size() != 3) continue;
        const vec3 q = closestOnTriangle(p, mesh.Vertices[t[0]].position, mesh.Vertices[t[1]].position,
                                         mesh.Vertices[t[2]].position)
                           .point;
        best = std::min(best, (p - q).length2());
    }
    return std::sqrt(best);
}

// Distance from p to the segment a-b.
inline float toSegment(const vec3& p, const vec3& a, const vec3& b)
{
    const vec3 d = b - a;
    const float t = std::clamp(dot(p - a, d) / std::max(dot(d, d), 1e-30f), 0.0f, 1.0f);
    return (p - (a + d * t)).length();
}

}  // namespace surface_distance

}  // namespace voxquad

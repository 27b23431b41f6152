#pragma once
// Test and benchmark helper: distances from points to a triangle mesh, by brute force over the
// triangles (closest point on a triangle after Ericson, "Real-Time Collision Detection", 5.1.5).
#include <algorithm>
#include <cmath>
#include <limits>

#include "polygon_storage.h"

namespace voxquad {

namespace surface_distance {

inline vec3 closestOnTriangle(const vec3& p, const vec3& a, const vec3& b, const vec3& c)
{
    const vec3 ab = b - a, ac = c - a, ap = p - a;
    const float d1 = dot(ab, ap), d2 = dot(ac, ap);
    if (d1 <= 0 && d2 <= 0) return a;
    const vec3 bp = p - b;
    const float d3 = dot(ab, bp), d4 = dot(ac, bp);
    if (d3 >= 0 && d4 <= d3) return b;
    const float vc = d1 * d4 - d3 * d2;
    if (vc <= 0 && d1 >= 0 && d3 <= 0) return a + ab * (d1 / (d1 - d3));
    const vec3 cp = p - c;
    const float d5 = dot(ab, cp), d6 = dot(ac, cp);
    if (d6 >= 0 && d5 <= d6) return c;
    const float vb = d5 * d2 - d1 * d6;
    if (vb <= 0 && d2 >= 0 && d6 <= 0) return a + ac * (d2 / (d2 - d6));
    const float va = d3 * d6 - d5 * d4;
    if (va <= 0 && (d4 - d3) >= 0 && (d5 - d6) >= 0) return b + (c - b) * ((d4 - d3) / ((d4 - d3) + (d5 - d6)));
    const float denom = 1 / (va + vb + vc);
    return a + ab * (vb * denom) + ac * (vc * denom);
}

// Distance from p to the nearest triangle of mesh.
inline float toMesh(const vec3& p, const PolygonStorage& mesh)
{
    float best = std::numeric_limits<float>::max();
    for (const VertexIDList& t : mesh.Polygons) {
        if (t.size() != 3) continue;
        const vec3 q = closestOnTriangle(p, mesh.Vertices[t[0]].position, mesh.Vertices[t[1]].position,
                                         mesh.Vertices[t[2]].position);
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

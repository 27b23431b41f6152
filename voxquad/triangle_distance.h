#pragma once
#include "vec_math.h"

namespace voxquad {

// The point of triangle (a, b, c) closest to p, and which part of the triangle it lies on,
// numbered as the pseudo-normals of the voxelizer: 0 face, 1 edge a-b, 2 edge a-c, 3 edge b-c,
// 4 vertex a, 5 vertex b, 6 vertex c (Ericson, "Real-Time Collision Detection", 5.1.5).
struct ClosestPoint {
    vec3 point;
    int region;
};

inline ClosestPoint closestOnTriangle(const vec3& p, const vec3& a, const vec3& b, const vec3& c)
{
    const vec3 ab = b - a, ac = c - a, ap = p - a;
    const float d1 = dot(ab, ap), d2 = dot(ac, ap);
    if (d1 <= 0 && d2 <= 0) return {a, 4};
    const vec3 bp = p - b;
    const float d3 = dot(ab, bp), d4 = dot(ac, bp);
    if (d3 >= 0 && d4 <= d3) return {b, 5};
    const float vc = d1 * d4 - d3 * d2;
    if (vc <= 0 && d1 >= 0 && d3 <= 0) return {a + ab * (d1 / (d1 - d3)), 1};
    const vec3 cp = p - c;
    const float d5 = dot(ab, cp), d6 = dot(ac, cp);
    if (d6 >= 0 && d5 <= d6) return {c, 6};
    const float vb = d5 * d2 - d1 * d6;
    if (vb <= 0 && d2 >= 0 && d6 <= 0) return {a + ac * (d2 / (d2 - d6)), 2};
    const float va = d3 * d6 - d5 * d4;
    if (va <= 0 && (d4 - d3) >= 0 && (d5 - d6) >= 0) return {b + (c - b) * ((d4 - d3) / ((d4 - d3) + (d5 - d6))), 3};
    const float denom = 1 / (va + vb + vc);
    return {a + ab * (vb * denom) + ac * (vc * denom), 0};
}

}  // namespace voxquad

#pragma once
#include <cstdint>
#include <vector>

#include "large_array_allocator.h"
#include "vec_math.h"

namespace voxquad {

// A mesh vertex; also the midpoint record of a polygon (centroid, polygon normal, feature kind).
struct Vertex {
    vec3 position;  // grid units
    vec3 normal;    // unit vector, or zero
    // Sharp-feature kind carried over from the volume: 0 none, 1 edge feature, 2 corner feature.
    std::uint8_t featureKind = 0;

    Vertex() = default;
    explicit Vertex(const vec3& position_, const vec3& normal_ = vec3(), std::uint8_t featureKind_ = 0)
        : position(position_), normal(normal_), featureKind(featureKind_) {}
};

// The vertices of a mesh, or the midpoint records of its polygons.
using VertexArray = std::vector<Vertex, LargeArrayAllocator<Vertex>>;

}  // namespace voxquad

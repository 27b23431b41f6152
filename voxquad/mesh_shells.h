#pragma once
#include <cstdint>
#include <vector>

#include "polygon_storage.h"

namespace voxquad {

// How the triangles of one connected piece of a mesh close up.
enum class ShellClosure : std::uint8_t {
    Open,      // some edge borders an odd number of triangles: the piece encloses nothing
    Closed,    // every edge borders an even number, not all in opposite directions: inside by parity
    Oriented,  // every edge is used as often in each direction: inside by winding number
};

// The connected pieces (shells) of a mesh's triangles, joined where they share a vertex.
struct MeshShells {
    std::vector<std::int32_t> shellOfPolygon;  // -1 for polygons that are no triangle of three distinct corners
    std::vector<ShellClosure> closure;         // per shell

    bool isClosed(int polygon) const
    {
        const std::int32_t shell = shellOfPolygon[polygon];
        return shell >= 0 && closure[shell] != ShellClosure::Open;
    }
    // True when there is a triangle and every triangle belongs to a closed shell.
    bool allClosed() const;
};

MeshShells findShells(const PolygonStorage& mesh);

}  // namespace voxquad

#pragma once
#include <cstdint>
#include <vector>

#include "mesh_shells.h"
#include "polygon_storage.h"
#include "volume_storage.h"

namespace voxquad {

// Which grid points lie inside the closed shells of a mesh in grid units, counted along rays
// parallel to z through every grid column (x, y). Crossing a consistently oriented shell adds to a
// winding number (+1 where the ray enters through a face turned downwards, -1 where it leaves);
// crossing a shell that is closed but not consistently oriented flips a parity. A point is inside
// when its winding number is not zero or its parity is odd: the inside does not depend on which
// way the faces turn, and a shell that passes through itself encloses the union of its parts.
//
// Whether a triangle covers a column is decided exactly, on coordinates rounded to 1/65536 of a
// cell, with ties broken as for a column moved by infinitesimals (eta, epsilon), eta >> epsilon > 0
// (simulation of simplicity, Edelsbrunner and Muecke 1990): a column through an edge or a vertex
// crosses each sheet of a closed shell exactly once.
class WindingColumns : public FarFieldSign {
public:
    WindingColumns(const PolygonStorage& mesh, const MeshShells& shells, int sizeX, int sizeY);

    // Inside at (x, y, z), counting the crossings of column (x, y) below z.
    bool inside(int x, int y, float z) const;
    bool insideAt(int x, int y, int z) const override { return inside(x, y, static_cast<float>(z)); }

private:
    struct Crossing {
        double z;
        std::int32_t winding;  // winding number above this crossing
        std::uint8_t parity;   // parity above this crossing
    };

    int sizeX_;
    std::vector<std::uint32_t> columnStart_;  // crossings of column (x, y): [start[y * sizeX + x], start[... + 1])
    std::vector<Crossing> crossings_;         // by column, then by z
};

}  // namespace voxquad

#pragma once

namespace voxquad {

class PolygonStorage;

// Writers of a storage in world units (position * scale + offset). Each writes only the vertices
// that the polygons it writes use, numbered in vertex order, and returns false, with a message on
// standard error, when the file cannot be written. Lines end in CR LF.

// ASCII PLY; every polygon is written, an empty one as the line "0".
class PolygonStorageExportPLY {
public:
    bool write(const char* fileName, PolygonStorage& storage);
};

// Wavefront OBJ; polygons with fewer than three corners are left out.
class PolygonStorageExportOBJ {
public:
    bool write(const char* fileName, PolygonStorage& storage);
};

// Fixed-column shell deck of MATER, NODE and SHELL cards; only triangles and quads are written.
class PolygonStorageExportPC {
public:
    bool write(const char* fileName, PolygonStorage& storage);
};

}  // namespace voxquad

#pragma once
#include <cstdint>

#include "vec_math.h"
#include "polygon_storage.h"

namespace voxquad {

class GenericVolumeStorage;
class SharpFeatures;
class StatusOutput;

// Distances of grid points at or beyond this many grid units are not written.
constexpr float voxelizerBandWidth = 5.0f;

// Integer box of cells of a triangle (or, with c = b, a segment) along one axis, widened by one cell
// on each side when it is flat and kept inside a grid of size cells.
void boxAlongAxis(float a, float b, float c, int size, int& lo, int& hi);

// Writes a narrow band of signed distances around every triangle of a normalised mesh into a
// volume. Each grid point in a triangle's integer box gets the distance to the triangle's closest
// point (the plane projection inside the face, the nearest border point outside it), signed by the
// pseudo-normal of the face, edge or vertex it lies on (Baerentzen and Aanaes, "Signed distance computation using the angle
// weighted pseudonormal", 2005); the nearest triangle wins.
class PolygonStorageVoxelizerDual {
public:
    void setStatusOutput(StatusOutput* s) { status = s; }
    void setVolume(GenericVolumeStorage* v) { volume = v; }
    // The mesh needs its midpoints, vertex normals and edge index.
    void setStorage(PolygonStorage* s) { storage = s; }
    void setSharpFeatures(SharpFeatures* f) { sharpFeatures = f; }

    // The "Voxelization" stage: clears the volume and voxelizes every polygon.
    void voxelize();
    // Writes the distances to polygon number index; counts it as skipped unless it is a triangle
    // with a non-degenerate frame.
    void voxelizePolygon(const VertexIDList& polygon, int index);

    int getSkippedCount() const { return skippedCount; }

    // The "Sharp features" stage: detects the feature lines of the mesh and marks them into the
    // volume, a corner at each line's ends and the segments between. Defined in
    // voxelizer_features.cpp, like the two marks.
    void rasterizeFeatures();
    // Stores vertex v as the corner feature point of its cell; the first corner of a cell stays.
    void markCorner(int v);
    // Stores, in every cell of the segment's box whose centre lies within 0.7 per axis of it, the
    // segment's point nearest to the centre as an edge feature point, unless the cell holds a
    // nearer one or a corner.
    void markSegment(int a, int b);

protected:
    StatusOutput* status = nullptr;            // not owned
    GenericVolumeStorage* volume = nullptr;    // not owned
    PolygonStorage* storage = nullptr;         // not owned
    SharpFeatures* sharpFeatures = nullptr;    // not owned
    float featureThreshold = 0.3f;
    std::int32_t skippedCount = 0;

private:
    vec3 edgeNormal(int polygonIndex, int a, int b) const;
};

}  // namespace voxquad

#pragma once
#include <cstdint>

#include "vec_math.h"
#include "polygon_storage.h"

class GenericVolumeStorage;
class SharpFeatures;
class StatusOutput;

// Distances of grid points at or beyond this many grid units are not written.
constexpr float voxelizerBandWidth = 5.0f;

// Writes a narrow band of signed distances around every triangle of a normalised mesh into a
// volume. Each grid point in a triangle's integer box gets the distance to the triangle's closest
// point (found in the triangle's own (u, v) parameters), signed by the pseudo-normal of the face,
// edge or vertex it lies on (Baerentzen and Aanaes, "Signed distance computation using the angle
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

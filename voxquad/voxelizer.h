#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "mesh_shells.h"
#include "polygon_storage.h"
#include "vec_math.h"

namespace voxquad {

class FarFieldSign;
class GenericVolumeStorage;
class NearestTriangles;
class SharpFeatures;
class StatusOutput;
class WindingColumns;

// Integer box of cells of a triangle (or, with c = b, a segment) along one axis, widened by one cell
// on each side when it is flat and kept inside a grid of size cells.
void boxAlongAxis(float a, float b, float c, int size, int& lo, int& hi);

// Writes a narrow band of signed distances around every triangle of a normalised mesh into a
// volume: every grid point closer than voxelizerBandWidth to a triangle gets a sample.
//
// Each triangle first samples the grid points of its integer box, which holds every point closer
// to it than one cell, so the samples next to the surface, which place the surface, are exact. The
// band then widens ring by ring, each point trying the nearest triangles of its six face
// neighbours (closest-point propagation, as in Mauch, "Efficient algorithms for solving static
// Hamilton-Jacobi equations", 2003): farther out a sample may hold the distance to a triangle a
// little farther than the nearest (a tenth of a cell or so on scanned shapes), which only decides
// which side it lies on. A sample whose nearest triangle belongs to a closed
// shell is signed by the winding number of the shells (WindingColumns), whatever the orientation
// of the faces and also where the shells pass through themselves; near an open shell the sign is
// that of the angle-weighted pseudo-normal of the face, edge or vertex the closest point lies on
// (Baerentzen and Aanaes, "Signed distance computation using the angle weighted pseudonormal",
// 2005); a sliver triangle, whose own normal says nothing of the surface, counts there with the
// normals of the triangles across its edges.
class PolygonStorageVoxelizerDual {
public:
    PolygonStorageVoxelizerDual();
    ~PolygonStorageVoxelizerDual();
    PolygonStorageVoxelizerDual(const PolygonStorageVoxelizerDual&) = delete;
    PolygonStorageVoxelizerDual& operator=(const PolygonStorageVoxelizerDual&) = delete;

    void setStatusOutput(StatusOutput* s) { status = s; }
    void setVolume(GenericVolumeStorage* v) { volume = v; }
    // The mesh needs its midpoints, vertex normals and edge index.
    void setStorage(PolygonStorage* s) { storage = s; }
    void setSharpFeatures(SharpFeatures* f) { sharpFeatures = f; }

    // The "Voxelization" stage: clears the volume and writes the band of every triangle.
    void voxelize();

    int getSkippedCount() const { return skippedCount; }
    // After voxelize(), when every triangle of the mesh belongs to a closed shell: the inside of
    // the shells at any grid point, for the unsampled corners of marching cubes; else null.
    const FarFieldSign* farField() const;
    // Frees what farField() needs.
    void releaseFarField();

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

private:
    // Shells, winding numbers, and the pseudo-normals of faces and vertices with slivers made harmless.
    void prepareSigns();
    // Writes the distances to polygon number index into the points of its box; counts it as skipped
    // unless it is a triangle with a non-degenerate frame.
    void voxelizePolygon(const VertexIDList& polygon, int index);
    // Widens the band of the boxes to every point closer than the band width (voxelizer_band.cpp).
    void widenBand();
    // Signs every sample near a closed shell by the winding numbers (voxelizer_band.cpp).
    void signByWinding();
    // Distance from grid point q to triangle index, signed by its pseudo-normal near an open shell;
    // unsampledDistance when it is not below bound.
    float signedDistance(const vec3& q, int index, float bound) const;
    vec3 edgeNormal(int polygonIndex, int a, int b) const;

    StatusOutput* status = nullptr;            // not owned
    GenericVolumeStorage* volume = nullptr;    // not owned
    PolygonStorage* storage = nullptr;         // not owned
    SharpFeatures* sharpFeatures = nullptr;    // not owned
    float featureThreshold = 0.3f;
    std::int32_t skippedCount = 0;

    MeshShells shells;
    std::vector<std::uint8_t> slivers;    // per polygon: a triangle too thin for its normal to count
    std::vector<vec3> facetNormals;       // per polygon: its normal, or for a sliver its neighbours' 
    std::vector<vec3> vertexPseudoNormals;  // angle-weighted vertex normals without the slivers
    using Corners = std::array<vec3, 3>;
    std::vector<Corners> corners;  // per polygon: the corner positions of a triangle, for the widening
    std::unique_ptr<WindingColumns> windings;
    std::unique_ptr<NearestTriangles> nearest;  // nearest triangle of each sample, while voxelizing
};

}  // namespace voxquad

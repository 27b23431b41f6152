#pragma once
#include <cfloat>
#include <cstdint>
#include <optional>
#include <vector>

#include "marching_cubes33_cases.h"
#include "vec_math.h"
#include "vertex.h"
#include "volume_storage.h"

namespace voxquad {

class PolygonStorage;
class StatusOutput;

// Extracts the zero level of a distance volume with Chernyaev's Marching Cubes 33 (Lewiner et al.,
// "Efficient implementation of marching cubes' cases with topological guarantees", 2003), with
// three changes: cubes touching an unsampled voxel are skipped (or, given the sign of the far
// field, take it for that corner), each simple surface patch of a cube is emitted as one polygon
// instead of its triangles, and the output goes into a PolygonStorage.
// A first pass over the grid counts the vertices on the grid edges of each slice, which numbers
// them; the cube pass creates the vertices of each slice as it reaches it and keeps the ids of two
// slices at a time. The distances are read a slice at a time into a ring of three, so that a corner
// costs an array read, together with the side of each point (negative, positive, unsampled): most
// points of the band and their edges and cubes lie on one side throughout, which the sides tell
// without the corner values. Only the rows near blocks that hold samples are visited when the
// volume keeps its samples in blocks.
class MarchingCubes33 {
public:
    MarchingCubes33() = default;
    MarchingCubes33(const MarchingCubes33&) = delete;
    MarchingCubes33& operator=(const MarchingCubes33&) = delete;

    void setVolume(GenericVolumeStorage* v) { volume = v; }
    void setOutput(PolygonStorage* o) { output = o; }
    void setStatusOutput(StatusOutput* s) { status = s; }
    // The side of the surface that unsampled grid points lie on, or null (the default) to skip the
    // cubes that touch them. With it, a wrong sample makes a small closed blister, not a hole.
    void setFarField(const FarFieldSign* f) { farField = f; }

    // Frees the vertex and slice arrays; sizes become -1.
    void reset();
    // Takes the sizes from the volume and prepares the arrays.
    void init();
    // The "Marching" stage: polygonises the volume into the output storage and builds its indexes
    // and midpoints.
    void run();

    const std::int32_t* getSubcaseCounts() const { return subcaseCount; }

private:
    // Value of grid point (x, y, z), whose sample is raw, as the cubes see it: unsampled points take
    // the far field's sign, at the band's width from the surface (asked once per point of a held
    // slice).
    float cornerValue(float raw, int x, int y, int z) const;
    float corner(int x, int y, int z) const { return cornerValue(rawDistance(x, y, z), x, y, z); }
    // The sample of grid point (x, y, z), from the ring of slices (holdSlices must have read z).
    float rawDistance(int x, int y, int z) const
    {
        return heldSlices[z % heldSliceCount][static_cast<std::size_t>(y) * static_cast<std::size_t>(sizeX) + x];
    }
    // Side of a grid point, as bits that OR together over several points: one bit alone says they
    // all lie on that side.
    enum Side : std::uint8_t { negativeSide = 1, positiveSide = 2, unsampledSide = 4 };
    static std::uint8_t sideOf(float raw)
    {
        // The sign that cornerValue gives a sample: clampCornerValue makes a value above
        // -FLT_EPSILON positive (NaN stays negative).
        const std::uint8_t sampled = raw > -FLT_EPSILON ? positiveSide : negativeSide;
        return raw == unsampledDistance ? std::uint8_t{unsampledSide} : sampled;
    }
    // Reads slices first .. last (at most three, z ascending over the calls) into the ring.
    void holdSlices(int first, int last);
    // Visits the runs first .. last of the x of row (y, z) whose edges or cubes can reach a sample
    // (one run over the whole row of a dense volume).
    template <typename Visit>
    void forEachRunNearSamples(int y, int z, Visit visit) const;
    // Visits the x of row (y, z) near samples whose edges towards +x, +y, +z do not all lie on one
    // side: the only points that can start an edge with a crossing (slices z and z + 1 held).
    template <typename Visit>
    void forEachXWithCrossings(int y, int z, Visit visit) const;
    // Finds the crossings on the three edges from (x, y, z) towards +x, +y, +z; calls
    // found(axis, c0, c1) for each, in axis order.
    template <typename Found>
    void edgeCrossings(int x, int y, int z, Found found) const;
    // Vertex ids on the edges from (x, y) of one slice towards +x, +y, +z (three per point, x
    // fastest), -1 where there is none, and the points that hold any.
    struct SliceVertexIds {
        std::vector<std::int32_t> ids;
        std::vector<std::uint32_t> points;
    };
    // Creates the vertices on the edges that start in slice z, numbered as the first pass counted
    // them, and writes their ids into a slice that holds -1 everywhere; clearSlice undoes it.
    void createSliceVertices(int z, SliceVertexIds& slice);
    static void clearSlice(SliceVertexIds& slice);
    std::int32_t edgeVertex(int axis, int x, int y, int z) const;
    void createEdgeVertex(std::int32_t id, int axis, int x, int y, int z, float c0, float c1);

    void countIntersections();
    void processCubes();
    // The sides of the corners of cube (x, j, k) ORed together.
    std::uint8_t cubeSides(int x) const
    {
        return cubeSideRows[0][x] | cubeSideRows[0][x + 1] | cubeSideRows[1][x] | cubeSideRows[1][x + 1] |
               cubeSideRows[2][x] | cubeSideRows[2][x + 1] | cubeSideRows[3][x] | cubeSideRows[3][x + 1];
    }
    bool readCube();
    void processCube();
    int vertexId(int code, int interiorVertex);
    int createInteriorVertex();
    void emitTriangles(const mc33::CubeTiling& tiling, int interiorVertex);
    void emitPolygons(const mc33::CubeTiling& tiling);
    void finishOutput();
    void printCaseStatistics();

    void message(const char* text) const;
    void progress(int percent) const;

    GenericVolumeStorage* volume = nullptr;  // not owned
    PolygonStorage* output = nullptr;        // not owned
    StatusOutput* status = nullptr;          // not owned
    const FarFieldSign* farField = nullptr;  // not owned
    std::int32_t subcaseCount[mc33::SubcaseCount] = {};
    int sizeX = -1, sizeY = -1, sizeZ = -1;
    VertexArray vertices;                        // edge vertices by id, then the cubes' inner vertices
    std::vector<std::int32_t> sliceFirstVertex;  // id of the first vertex on the edges of each slice
    SliceVertexIds lowerSlice, upperSlice;  // the vertex ids of slices k and k + 1 of the cube pass
    int i = 0, j = 0, k = 0;  // current cube
    const float* cubeRows[4] = {};  // samples of rows j, j + 1 of slice k, then of slice k + 1
    const std::uint8_t* cubeSideRows[4] = {};  // the sides of the same rows
    float cube[8] = {};       // its corner values
    std::optional<VoxelAccessor> voxels;      // the volume during run()
    static constexpr int heldSliceCount = 3;
    std::vector<float> heldSlices[heldSliceCount];  // slice z in entry z % 3, while run() reads it
    std::vector<std::uint8_t> heldSides[heldSliceCount];  // the Side of each point of a held slice
    // Per point of a held slice, the far field's side once asked: -1 inside, 1 outside, 0 not yet.
    mutable std::vector<std::int8_t> heldFarSides[heldSliceCount];
    int heldSliceZ[heldSliceCount] = {-1, -1, -1};
    const VolumeStorageBandDF* band = nullptr;  // the volume during run() when it keeps blocks
};

}  // namespace voxquad

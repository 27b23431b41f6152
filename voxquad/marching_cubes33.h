#pragma once
#include <cstdint>

#include "marching_cubes33_cases.h"
#include "vec_math.h"
#include "vertex.h"
#include "volume_storage_memory.h"

namespace voxquad {

class GenericVolumeStorage;
struct VoxelData;
class PolygonStorage;
class StatusOutput;

// Extracts the zero level of a distance volume with Chernyaev's Marching Cubes 33 (Lewiner et al.,
// "Efficient implementation of marching cubes' cases with topological guarantees", 2003), with
// three changes: cubes touching an unsampled voxel are skipped, each simple surface patch of a cube
// is emitted as one polygon instead of its triangles, and the output goes into a PolygonStorage.
// Every grid edge's vertex is created once and shared through the three edge arrays.
class MarchingCubes33 {
public:
    MarchingCubes33() = default;
    MarchingCubes33(const MarchingCubes33&) = delete;
    MarchingCubes33& operator=(const MarchingCubes33&) = delete;

    void setVolume(GenericVolumeStorage* v) { volume = v; }
    void setOutput(PolygonStorage* o) { output = o; }
    void setStatusOutput(StatusOutput* s) { status = s; }

    // Frees the edge and vertex arrays; sizes become -1.
    void reset();
    // Takes the sizes from the volume and allocates the arrays.
    void init();
    // The "Marching" stage: polygonises the volume into the output storage and builds its indexes,
    // midpoints and normals.
    void run();

    const std::int32_t* getSubcaseCounts() const { return subcaseCount; }

private:
    GenericVolumeStorage* volume = nullptr;  // not owned
    PolygonStorage* output = nullptr;        // not owned
    StatusOutput* status = nullptr;          // not owned
    std::int32_t subcaseCount[mc33::SubcaseCount] = {};
    int sizeX = -1, sizeY = -1, sizeZ = -1;
    // Vertex id on the edge from grid point (i, j, k) towards +x, +y, +z; -1 when none. The
    // three arrays share one block.
    ZeroedBlock edgeBlock;
    std::int32_t* xVerts = nullptr;
    std::int32_t* yVerts = nullptr;
    std::int32_t* zVerts = nullptr;
    int vertexCount = 0;
    int vertexCapacity = 0;
    ZeroedBlock vertexBlock;     // owns the vertex array
    Vertex* vertices = nullptr;  // vertexCount records in vertexBlock
    int i = 0, j = 0, k = 0;  // current cube
    float cube[8] = {};       // its corner values
    std::uint8_t lutEntry = 0, caseNumber = 0, config = 0, subconfig = 0;

    std::size_t gridIndex(int x, int y, int z) const;
    float sample(int x, int y, int z) const;
    vec3 gradient(int x, int y, int z) const;
    std::int32_t* edgeArray(int axis) const { return axis == 0 ? xVerts : axis == 1 ? yVerts : zVerts; }
    int addVertex(const Vertex& v);
    void createEdgeVertex(int axis, int x, int y, int z, float c0, float c1);

    void computeIntersections();
    void processCubes();
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

    const VoxelData* records_ = nullptr;  // the volume's record array during run(), when it has one
};

}  // namespace voxquad

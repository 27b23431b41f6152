#include "marching_cubes33.h"

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <cstring>
#include <new>
#include <utility>

#include "polygon_storage.h"
#include "status_output.h"
#include "volume_storage.h"

namespace voxquad {

namespace {

constexpr int initialVertexCapacity = 65536;

// Grid offset of corner p of a cube.
constexpr int cornerX(int p) { return (p ^ (p >> 1)) & 1; }
constexpr int cornerY(int p) { return (p >> 1) & 1; }
constexpr int cornerZ(int p) { return (p >> 2) & 1; }

// Edge code -> axis (0 x, 1 y, 2 z) and the offset of the edge's start point within the cube.
struct EdgeLocation {
    int axis, dx, dy, dz;
};
constexpr EdgeLocation edgeLocations[12] = {
    {0, 0, 0, 0}, {1, 1, 0, 0}, {0, 0, 1, 0}, {1, 0, 0, 0}, {0, 0, 0, 1}, {1, 1, 0, 1},
    {0, 0, 1, 1}, {1, 0, 0, 1}, {2, 0, 0, 0}, {2, 1, 0, 0}, {2, 1, 1, 0}, {2, 0, 1, 0}};

}  // namespace

void MarchingCubes33::reset()
{
    edgeBlock = ZeroedBlock();
    xVerts = yVerts = zVerts = nullptr;
    vertexBlock = ZeroedBlock();
    vertices = nullptr;
    vertexCount = vertexCapacity = 0;
    sizeX = sizeY = sizeZ = -1;
}

void MarchingCubes33::init()
{
    sizeX = volume->getXSize();
    sizeY = volume->getYSize();
    sizeZ = volume->getZSize();
    const std::size_t count =
        static_cast<std::size_t>(sizeX) * static_cast<std::size_t>(sizeY) * static_cast<std::size_t>(sizeZ);
    edgeBlock = ZeroedBlock(3 * count * sizeof(std::int32_t));
    xVerts = static_cast<std::int32_t*>(edgeBlock.data());
    yVerts = xVerts + count;
    zVerts = yVerts + count;
    std::fill_n(xVerts, 3 * count, -1);
    for (std::int32_t& c : subcaseCount) c = 0;
    vertexCount = 0;
    vertexCapacity = initialVertexCapacity;
    vertexBlock = ZeroedBlock(static_cast<std::size_t>(vertexCapacity) * sizeof(Vertex));
    vertices = static_cast<Vertex*>(vertexBlock.data());
}

std::size_t MarchingCubes33::gridIndex(int x, int y, int z) const
{
    return static_cast<std::size_t>(x) +
           static_cast<std::size_t>(sizeX) * (static_cast<std::size_t>(y) + static_cast<std::size_t>(sizeY) * z);
}

float MarchingCubes33::sample(int x, int y, int z) const
{
    if (records_) return records_[gridIndex(x, y, z)].distance;
    VoxelData v;
    volume->getVoxel(x, y, z, v);
    return v.distance;
}

vec3 MarchingCubes33::gradient(int x, int y, int z) const
{
    // Central differences inside, one-sided ones at the first and last index of an axis.
    auto derivative = [](int at, int size, auto valueAt) -> float {
        if (size < 2) return 0;
        if (at == 0) return valueAt(1) - valueAt(0);
        if (at == size - 1) return valueAt(at) - valueAt(at - 1);
        return (valueAt(at + 1) - valueAt(at - 1)) * 0.5f;
    };
    return vec3(derivative(x, sizeX, [&](int a) { return sample(a, y, z); }),
                derivative(y, sizeY, [&](int a) { return sample(x, a, z); }),
                derivative(z, sizeZ, [&](int a) { return sample(x, y, a); }));
}

int MarchingCubes33::addVertex(const Vertex& v)
{
    assert(vertexCapacity > 0 && "init() before run()");
    if (vertexCount == vertexCapacity) {
        vertexCapacity *= 2;
        ZeroedBlock grown(static_cast<std::size_t>(vertexCapacity) * sizeof(Vertex));
        const std::size_t used = static_cast<std::size_t>(vertexCount) * sizeof(Vertex);
        std::memcpy(grown.data(), static_cast<const void*>(vertices), used);
        vertexBlock = std::move(grown);
        vertices = static_cast<Vertex*>(vertexBlock.data());
    }
    ::new (static_cast<void*>(vertices + vertexCount)) Vertex(v);
    return vertexCount++;
}

void MarchingCubes33::createEdgeVertex(int axis, int x, int y, int z, float c0, float c1)
{
    const float u = c0 / (c0 - c1);
    vec3 position(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
    position[axis] += u;
    const int nx = x + (axis == 0), ny = y + (axis == 1), nz = z + (axis == 2);
    vec3 normal = gradient(x, y, z) * (1 - u) + gradient(nx, ny, nz) * u;
    normal.normalize();
    const int id = addVertex(Vertex(position, normal));
    edgeArray(axis)[gridIndex(x, y, z)] = id;
}

void MarchingCubes33::computeIntersections()
{
    for (int z = 0; z < sizeZ; ++z) {
        for (int y = 0; y < sizeY; ++y)
            for (int x = 0; x < sizeX; ++x) {
                const float raw = sample(x, y, z);
                if (raw == unsampledDistance) continue;
                const float c0 = mc33::clampCornerValue(raw);
                // A neighbour beyond the grid takes the point's own value: no crossing there.
                const float cx = mc33::clampCornerValue(x + 1 < sizeX ? sample(x + 1, y, z) : raw);
                const float cy = mc33::clampCornerValue(y + 1 < sizeY ? sample(x, y + 1, z) : raw);
                const float cz = mc33::clampCornerValue(z + 1 < sizeZ ? sample(x, y, z + 1) : raw);
                if ((c0 > 0) != (cx > 0)) createEdgeVertex(0, x, y, z, c0, cx);
                if ((c0 > 0) != (cy > 0)) createEdgeVertex(1, x, y, z, c0, cy);
                if ((c0 > 0) != (cz > 0)) createEdgeVertex(2, x, y, z, c0, cz);
            }
        progress(z * 10 / sizeZ);
    }
}

bool MarchingCubes33::readCube()
{
    for (int p = 0; p < 8; ++p) {
        const float value = sample(i + cornerX(p), j + cornerY(p), k + cornerZ(p));
        if (value == unsampledDistance) return false;
        cube[p] = mc33::clampCornerValue(value);
    }
    return true;
}

void MarchingCubes33::processCubes()
{
    for (k = 0; k < sizeZ - 1; ++k) {
        for (j = 0; j < sizeY - 1; ++j)
            for (i = 0; i < sizeX - 1; ++i)
                if (readCube()) processCube();
        progress(k * 80 / sizeZ);
    }
}

void MarchingCubes33::processCube()
{
    const mc33::CubeTiling tiling = mc33::classifyCube(cube);
    lutEntry = static_cast<std::uint8_t>(tiling.lutEntry);
    caseNumber = static_cast<std::uint8_t>(tiling.caseNumber);
    config = static_cast<std::uint8_t>(tiling.config);
    subconfig = static_cast<std::uint8_t>(tiling.subconfig);
    if (tiling.subcase == mc33::SubImpossible) return;
    ++subcaseCount[tiling.subcase];
    if (tiling.polygonRow)
        emitPolygons(tiling);
    else if (tiling.codeCount > 0)
        emitTriangles(tiling, tiling.needsInteriorVertex ? createInteriorVertex() : -1);
}

int MarchingCubes33::vertexId(int code, int interiorVertex)
{
    assert(code < 13 && "eid < 13");
    int id = interiorVertex;
    if (code != mc33::interiorVertexCode) {
        const EdgeLocation& e = edgeLocations[code];
        id = edgeArray(e.axis)[gridIndex(i + e.dx, j + e.dy, k + e.dz)];
    }
    if (id < 0) {
        char text[1000];
        std::snprintf(text, sizeof text, "Returning -1 for Vertex ID. Edge ID %d, i=%d, j=%d, k=%d", code, i, j, k);
        message(text);
    }
    return id;
}

int MarchingCubes33::createInteriorVertex()
{
    vec3 position, normal;
    int found = 0;
    for (int code = 0; code < 12; ++code) {
        const EdgeLocation& e = edgeLocations[code];
        const int id = edgeArray(e.axis)[gridIndex(i + e.dx, j + e.dy, k + e.dz)];
        if (id < 0) continue;
        position += vertices[id].position;
        normal += vertices[id].normal;
        ++found;
    }
    if (found > 0) {
        position /= static_cast<float>(found);
        normal /= static_cast<float>(found);
    }
    normal.normalize();
    return addVertex(Vertex(position, normal));
}

void MarchingCubes33::emitTriangles(const mc33::CubeTiling& tiling, int interiorVertex)
{
    for (int t = 0; t + 2 < tiling.codeCount; t += 3) {
        const int a = vertexId(tiling.codes[t], interiorVertex);
        const int b = vertexId(tiling.codes[t + 1], interiorVertex);
        const int c = vertexId(tiling.codes[t + 2], interiorVertex);
        if (a < 0 || b < 0 || c < 0) {
            std::printf("Marching Cubes: invalid triangle %d\n", static_cast<int>(output->Polygons.size()));
            continue;
        }
        output->addTriangle(a, b, c);
    }
}

void MarchingCubes33::emitPolygons(const mc33::CubeTiling& tiling)
{
    VertexIDList polygon;
    bool complete = true;
    auto flush = [&] {
        // A cycle with a missing vertex is left out rather than stored with an invalid id.
        if (complete && !polygon.empty()) output->Polygons.push_back(polygon);
        polygon.clear();
        complete = true;
    };
    for (int c = 0; c < tiling.codeCount; ++c) {
        if (tiling.codes[c] < 0) {
            flush();
            continue;
        }
        const int id = vertexId(tiling.codes[c], -1);
        if (id < 0) complete = false;
        polygon.push_back(id);
    }
    flush();
}

void MarchingCubes33::finishOutput()
{
    output->Vertices.insert(output->Vertices.end(), vertices, vertices + vertexCount);
    progress(91);
    output->buildVIndex();
    progress(93);
    output->computeMidpoints();
    progress(97);
    output->computeVertexNormals();
    progress(98);
    progress(100);
}

void MarchingCubes33::printCaseStatistics()
{
    message("Detailed cases statistics");
    for (int s = 0; s < mc33::SubcaseCount; ++s) {
        char text[1000];
        std::snprintf(text, sizeof text, "  %7d cases %s", subcaseCount[s], mc33::subcaseNames[s]);
        message(text);
    }
}

void MarchingCubes33::run()
{
    if (status) status->beginStage("Marching");
    records_ = volume->records();
    computeIntersections();

    output->clear();
    output->scale = volume->getScale();
    output->offset = volume->getOffset();
    // A closed surface has about as many polygons as edge vertices.
    output->Polygons.reserve(static_cast<std::size_t>(vertexCount));
    processCubes();

    char text[1000];
    std::snprintf(text, sizeof text, "Flip candidates: %d", 0);
    message(text);
    std::snprintf(text, sizeof text, "Edges flipped  : %d", 0);
    message(text);

    finishOutput();
    printCaseStatistics();
    records_ = nullptr;
    if (status) status->endStage();
}

void MarchingCubes33::message(const char* text) const
{
    if (status) status->printMessage(text);
}

void MarchingCubes33::progress(int percent) const
{
    if (status) status->setProgress(percent);
}

}  // namespace voxquad

#include "marching_cubes33.h"

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <utility>

#include "polygon_storage.h"
#include "status_output.h"
#include "volume_storage.h"

namespace voxquad {

namespace {

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
    vertices = {};
    sliceFirstVertex = {};
    lowerSlice = {};
    upperSlice = {};
    for (std::vector<float>& held : heldSlices) held = {};
    for (std::vector<std::uint8_t>& held : heldSides) held = {};
    for (std::vector<std::int8_t>& held : heldFarSides) held = {};
    sizeX = sizeY = sizeZ = -1;
}

void MarchingCubes33::init()
{
    sizeX = volume->getXSize();
    sizeY = volume->getYSize();
    sizeZ = volume->getZSize();
    const std::size_t slice = 3 * static_cast<std::size_t>(sizeX) * static_cast<std::size_t>(sizeY);
    for (SliceVertexIds* ids : {&lowerSlice, &upperSlice}) {
        ids->ids.assign(slice, -1);
        ids->points.clear();
    }
    sliceFirstVertex.assign(static_cast<std::size_t>(sizeZ) + 1, 0);
    for (std::vector<float>& held : heldSlices) held.resize(slice / 3);
    for (std::vector<std::uint8_t>& held : heldSides) held.resize(slice / 3);
    for (std::vector<std::int8_t>& held : heldFarSides) held.resize(slice / 3);
    for (std::int32_t& c : subcaseCount) c = 0;
    vertices.clear();
}

float MarchingCubes33::cornerValue(float raw, int x, int y, int z) const
{
    if (raw != unsampledDistance || !farField) return mc33::clampCornerValue(raw);
    std::int8_t& side = heldFarSides[z % heldSliceCount][static_cast<std::size_t>(y) * static_cast<std::size_t>(sizeX) + x];
    if (side == 0) side = farField->insideAt(x, y, z) ? -1 : 1;
    return side * voxelizerBandWidth;
}

void MarchingCubes33::holdSlices(int first, int last)
{
    for (int z = first; z <= last; ++z) {
        int& held = heldSliceZ[z % heldSliceCount];
        if (held == z) continue;
        voxels->readSlice(z, heldSlices[z % heldSliceCount].data());
        const float* raw = heldSlices[z % heldSliceCount].data();
        std::uint8_t* sides = heldSides[z % heldSliceCount].data();
        for (std::size_t n = 0, count = heldSides[z % heldSliceCount].size(); n < count; ++n) sides[n] = sideOf(raw[n]);
        std::fill(heldFarSides[z % heldSliceCount].begin(), heldFarSides[z % heldSliceCount].end(), std::int8_t{0});
        held = z;
    }
}

template <typename Visit>
void MarchingCubes33::forEachRunNearSamples(int y, int z, Visit visit) const
{
    if (!band) {
        visit(0, sizeX - 1);
        return;
    }
    // Points whose edges or cubes reach into rows y .. y + 1, z .. z + 1 and columns x .. x + 1.
    const BlockGrid& grid = band->grid();
    const int by[2] = {y >> BlockGrid::blockBits, std::min(y + 1, sizeY - 1) >> BlockGrid::blockBits};
    const int bz[2] = {z >> BlockGrid::blockBits, std::min(z + 1, sizeZ - 1) >> BlockGrid::blockBits};
    int next = 0;
    for (int bx = 0; bx < grid.blocksX; ++bx) {
        bool near = false;
        for (int a = 0; a < 2 && !near; ++a)
            for (int b = 0; b < 2 && !near; ++b) near = band->blockMayHoldSamples(bx, by[a], bz[b]);
        if (!near) continue;
        const int first = std::max(next, (bx << BlockGrid::blockBits) - 1);
        const int last = std::min(sizeX - 1, ((bx + 1) << BlockGrid::blockBits) - 1);
        visit(first, last);
        next = last + 1;
    }
}

template <typename Visit>
void MarchingCubes33::forEachXWithCrossings(int y, int z, Visit visit) const
{
    // A neighbour beyond the grid is the point itself, as in edgeCrossings.
    const std::size_t start = static_cast<std::size_t>(y) * static_cast<std::size_t>(sizeX);
    const std::uint8_t* row = &heldSides[z % heldSliceCount][start];
    const std::uint8_t* nextRow = y + 1 < sizeY ? row + sizeX : row;
    const std::uint8_t* above = z + 1 < sizeZ ? &heldSides[(z + 1) % heldSliceCount][start] : row;
    forEachRunNearSamples(y, z, [&](int first, int last) {
        for (int x = first; x <= last; ++x) {
            // Four points on one side cross nowhere; four unsampled ones start no edge either.
            const std::uint8_t sides = row[x] | row[std::min(x + 1, sizeX - 1)] | nextRow[x] | above[x];
            if (sides != negativeSide && sides != positiveSide && sides != unsampledSide) visit(x);
        }
    });
}

template <typename Found>
void MarchingCubes33::edgeCrossings(int x, int y, int z, Found found) const
{
    // A neighbour beyond the grid takes the point's own value: no crossing there.
    const int nx = std::min(x + 1, sizeX - 1), ny = std::min(y + 1, sizeY - 1), nz = std::min(z + 1, sizeZ - 1);
    const float raw = rawDistance(x, y, z);
    if (raw == unsampledDistance) {
        // Without the far field an unsampled point starts no edge; with it, only one whose edges
        // reach a sample can.
        if (!farField) return;
        if ((nx == x || rawDistance(nx, y, z) == unsampledDistance) &&
            (ny == y || rawDistance(x, ny, z) == unsampledDistance) &&
            (nz == z || rawDistance(x, y, nz) == unsampledDistance))
            return;
    }
    const float c0 = cornerValue(raw, x, y, z);
    const float c1[3] = {nx == x ? c0 : corner(nx, y, z), ny == y ? c0 : corner(x, ny, z),
                         nz == z ? c0 : corner(x, y, nz)};
    for (int axis = 0; axis < 3; ++axis)
        if ((c0 > 0) != (c1[axis] > 0)) found(axis, c0, c1[axis]);
}

void MarchingCubes33::createEdgeVertex(std::int32_t id, int axis, int x, int y, int z, float c0, float c1)
{
    const float u = c0 / (c0 - c1);
    vec3 position(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
    position[axis] += u;
    // The normal is left zero: the vertex normals are computed from the polygons at the end.
    vertices[static_cast<std::size_t>(id)] = Vertex(position);
}

void MarchingCubes33::countIntersections()
{
    std::int32_t count = 0;
    for (int z = 0; z < sizeZ; ++z) {
        holdSlices(z, std::min(z + 1, sizeZ - 1));
        sliceFirstVertex[z] = count;
        for (int y = 0; y < sizeY; ++y)
            forEachXWithCrossings(y, z, [&](int x) { edgeCrossings(x, y, z, [&](int, float, float) { ++count; }); });
        progress(z * 10 / sizeZ);
    }
    sliceFirstVertex[sizeZ] = count;
}

void MarchingCubes33::createSliceVertices(int z, SliceVertexIds& slice)
{
    std::int32_t next = sliceFirstVertex[z];
    for (int y = 0; y < sizeY; ++y)
        forEachXWithCrossings(y, z, [&](int x) {
            const std::size_t point = static_cast<std::size_t>(y) * static_cast<std::size_t>(sizeX) + x;
            const std::int32_t first = next;
            edgeCrossings(x, y, z, [&](int axis, float c0, float c1) {
                slice.ids[3 * point + axis] = next;
                createEdgeVertex(next++, axis, x, y, z, c0, c1);
            });
            if (next != first) slice.points.push_back(static_cast<std::uint32_t>(point));
        });
    assert(next == sliceFirstVertex[z + 1]);
}

void MarchingCubes33::clearSlice(SliceVertexIds& slice)
{
    for (const std::uint32_t point : slice.points) std::fill_n(&slice.ids[3 * static_cast<std::size_t>(point)], 3, -1);
    slice.points.clear();
}

std::int32_t MarchingCubes33::edgeVertex(int axis, int x, int y, int z) const
{
    const std::vector<std::int32_t>& ids = (z == k ? lowerSlice : upperSlice).ids;
    return ids[3 * (static_cast<std::size_t>(y) * static_cast<std::size_t>(sizeX) + x) + axis];
}

bool MarchingCubes33::readCube()
{
    float raw[8];
    bool sampled = false;
    for (int p = 0; p < 8; ++p) {
        raw[p] = cubeRows[cornerY(p) + 2 * cornerZ(p)][i + cornerX(p)];
        if (raw[p] == unsampledDistance && !farField) return false;
        sampled |= raw[p] != unsampledDistance;
    }
    if (!sampled) return false;  // wholly in the far field: no surface
    for (int p = 0; p < 8; ++p) cube[p] = cornerValue(raw[p], i + cornerX(p), j + cornerY(p), k + cornerZ(p));
    return true;
}

void MarchingCubes33::processCubes()
{
    if (sizeZ > 0) {
        holdSlices(0, std::min(1, sizeZ - 1));
        createSliceVertices(0, lowerSlice);
    }
    for (k = 0; k < sizeZ - 1; ++k) {
        holdSlices(k, std::min(k + 2, sizeZ - 1));
        if (k > 0) {
            std::swap(lowerSlice, upperSlice);
            clearSlice(upperSlice);
        }
        createSliceVertices(k + 1, upperSlice);
        for (j = 0; j < sizeY - 1; ++j) {
            for (int row = 0; row < 4; ++row) {
                const std::size_t start = static_cast<std::size_t>(j + row % 2) * static_cast<std::size_t>(sizeX);
                cubeRows[row] = &heldSlices[(k + row / 2) % heldSliceCount][start];
                cubeSideRows[row] = &heldSides[(k + row / 2) % heldSliceCount][start];
            }
            forEachRunNearSamples(j, k, [&](int first, int last) {
                for (int x = first; x <= std::min(last, sizeX - 2); ++x) {
                    const std::uint8_t sides = cubeSides(x);
                    // A cube with its corners on one side is case 0: counted, with nothing to emit.
                    if (sides == negativeSide || sides == positiveSide) {
                        ++subcaseCount[mc33::Sub0];
                        continue;
                    }
                    if (sides == unsampledSide) continue;
                    i = x;
                    if (readCube()) processCube();
                }
            });
        }
        progress(k * 80 / sizeZ);
    }
}

void MarchingCubes33::processCube()
{
    const mc33::CubeTiling tiling = mc33::classifyCube(cube);
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
        id = edgeVertex(e.axis, i + e.dx, j + e.dy, k + e.dz);
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
    vec3 position;
    int found = 0;
    for (int code = 0; code < 12; ++code) {
        const EdgeLocation& e = edgeLocations[code];
        const int id = edgeVertex(e.axis, i + e.dx, j + e.dy, k + e.dz);
        if (id < 0) continue;
        position += vertices[id].position;
        ++found;
    }
    if (found > 0) position /= static_cast<float>(found);
    vertices.emplace_back(position);
    return static_cast<int>(vertices.size()) - 1;
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
    output->Vertices = std::move(vertices);
    vertices = {};
    progress(91);
    output->buildVIndex();
    progress(93);
    output->computeMidpoints();
    progress(97);
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
    voxels.emplace(*volume);
    band = volume->band();
    for (int& held : heldSliceZ) held = -1;
    countIntersections();
    // Each edge vertex has its place by its id; the few vertices made inside cubes of the ambiguous
    // cases follow them.
    const std::size_t edgeVertices = static_cast<std::size_t>(sliceFirstVertex[sizeZ]);
    vertices.reserve(edgeVertices + edgeVertices / 16);
    vertices.resize(edgeVertices);

    output->clear();
    output->scale = volume->getScale();
    output->offset = volume->getOffset();
    // A closed surface has about as many polygons as edge vertices, a few more; the room reserved
    // is only touched as it fills, and growing would move every polygon.
    output->Polygons.reserve(edgeVertices + edgeVertices / 3 + 1);
    processCubes();

    char text[1000];
    std::snprintf(text, sizeof text, "Flip candidates: %d", 0);
    message(text);
    std::snprintf(text, sizeof text, "Edges flipped  : %d", 0);
    message(text);

    finishOutput();
    printCaseStatistics();
    voxels.reset();
    band = nullptr;
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

#include "voxelizer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "status_output.h"
#include "triangle_distance.h"
#include "volume_storage.h"
#include "voxelizer_band.h"
#include "winding_columns.h"

namespace voxquad {

// Integer box of a triangle along one axis, widened by one cell on each side when it is flat, and
// kept inside the grid (the top stays two below the size so that a widened box still fits).
void boxAlongAxis(float a, float b, float c, int size, int& lo, int& hi)
{
    const float limit = static_cast<float>(size);
    // Clamping first keeps the conversion defined for coordinates far outside the grid.
    const float low = std::clamp(std::floor(std::min({a, b, c})), -2.0f, limit);
    const float high = std::clamp(std::ceil(std::max({a, b, c})), -2.0f, limit);
    lo = static_cast<int>(low);
    hi = std::min(static_cast<int>(high), size - 2);
    if (lo == hi) {
        --lo;
        ++hi;
    }
    lo = std::max(lo, 0);
}

namespace {

bool isFinite(const vec3& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

// The closest feature of a triangle to a grid point, numbered like the pseudo-normals:
// 0 face, 1 edge p0-p1, 2 edge p0-p2, 3 edge p1-p2, 4 vertex p0, 5 vertex p1, 6 vertex p2.
struct ClosestFeature {
    int region;
    vec3 offset;  // from the closest point to the grid point
};

// Inside the face region (u > 0, v > 0, u + v < 1) the closest point is the projection onto the
// plane. Outside it, the closest point lies on the border, and it is found by Euclidean search
// over the three edges: clamping the (u, v) parameters instead picks the wrong edge or vertex of a
// long, slanted triangle, whose pseudo-normal then gives grid points beside it the wrong sign
// (and a closed input an open surface). With the Euclidean closest feature the angle-weighted
// pseudo-normal signs every distance correctly (Baerentzen and Aanaes 2005).
ClosestFeature closestFeature(const vec3& q, const vec3 (&corners)[3], float u, float v, float w, const vec3& n)
{
    if (u > 0 && v > 0 && u + v < 1) return {0, n * w};
    struct Edge {
        int a, b, region;
    };
    static constexpr Edge edges[3] = {{0, 1, 1}, {0, 2, 2}, {1, 2, 3}};
    ClosestFeature best{0, vec3()};
    float bestLength = std::numeric_limits<float>::infinity();
    for (const Edge& edge : edges) {
        const vec3 a = corners[edge.a], ab = corners[edge.b] - a;
        const float t = std::clamp(dot(q - a, ab) / dot(ab, ab), 0.0f, 1.0f);
        const vec3 offset = q - (a + ab * t);
        const float length = dot(offset, offset);
        if (length >= bestLength) continue;
        bestLength = length;
        best.offset = offset;
        best.region = t == 0 ? 4 + edge.a : t == 1 ? 4 + edge.b : edge.region;
    }
    return best;
}

}  // namespace

PolygonStorageVoxelizerDual::PolygonStorageVoxelizerDual() = default;
PolygonStorageVoxelizerDual::~PolygonStorageVoxelizerDual() = default;

void PolygonStorageVoxelizerDual::voxelize()
{
    if (status) status->beginStage("Voxelization");
    volume->clear();
    volume->setScale(storage->scale);
    volume->setOffset(storage->offset);

    if (status) status->setProgress(10);
    int progress = 10;
    skippedCount = 0;
    prepareSigns();
    nearest = std::make_unique<NearestTriangles>(
        BlockGrid(volume->getXSize(), volume->getYSize(), volume->getZSize()));
    const int polygonCount = static_cast<int>(storage->Polygons.size());
    const int step = std::max(1, polygonCount / 90);
    for (int i = 0; i < polygonCount; ++i) {
        const VertexIDList& polygon = storage->Polygons[i];
        if (polygon.size() > 2) voxelizePolygon(polygon, i);
        if (i % step == 0 && status) status->setProgress(progress++);
    }
    widenBand();
    signByWinding();
    nearest.reset();

    if (status) {
        char text[100];
        std::snprintf(text, sizeof text, "% d Polygons skipped", skippedCount);
        status->printMessage(text);
        status->endStage();
    }
}

const FarFieldSign* PolygonStorageVoxelizerDual::farField() const
{
    return windings && shells.allClosed() ? windings.get() : nullptr;
}

void PolygonStorageVoxelizerDual::releaseFarField() { windings.reset(); }

void PolygonStorageVoxelizerDual::prepareSigns()
{
    shells = findShells(*storage);
    windings.reset();
    if (std::any_of(shells.closure.begin(), shells.closure.end(), [](ShellClosure c) { return c != ShellClosure::Open; }))
        windings = std::make_unique<WindingColumns>(*storage, shells, volume->getXSize(), volume->getYSize());

    // A triangle thinner than this (in cells) has a normal that says nothing of the surface around
    // it: rounding decides it, or the triangle folds back over its neighbours.
    constexpr float sliverHeight = 1e-3f;
    const std::size_t polygonCount = storage->Polygons.size();
    slivers.assign(polygonCount, 0);
    corners.assign(polygonCount, Corners{});
    vertexPseudoNormals.resize(storage->Vertices.size());
    for (std::size_t v = 0; v < storage->Vertices.size(); ++v) vertexPseudoNormals[v] = storage->Vertices[v].normal;
    std::vector<int> touched;
    for (std::size_t i = 0; i < polygonCount; ++i) {
        const VertexIDList& p = storage->Polygons[i];
        if (p.size() != 3) continue;
        const vec3 a = storage->Vertices[p[0]].position, b = storage->Vertices[p[1]].position,
                   c = storage->Vertices[p[2]].position;
        corners[i] = {a, b, c};
        const float longest = std::max({(b - a).length(), (c - b).length(), (a - c).length()});
        if (cross(b - a, c - a).length() < sliverHeight * longest) {
            slivers[i] = 1;
            touched.insert(touched.end(), p.begin(), p.end());
        }
    }
    // The vertices of slivers get their angle-weighted normal again without them.
    for (int v : touched) {
        const vec3& position = storage->Vertices[v].position;
        vec3 sum;
        float totalWeight = 0;
        for (int p : storage->VIndex[v]) {
            const int a = storage->neighbour(p, v, true), b = storage->neighbour(p, v, false);
            if (slivers[p] || a < 0) continue;
            const float c =
                dot(normalized(storage->Vertices[a].position - position), normalized(storage->Vertices[b].position - position));
            const float angle = (c > -1.0f && c < 1.0f) ? std::acos(c) : 0.0f;
            sum += storage->Midpoints[p].normal * angle;
            totalWeight += angle;
        }
        vertexPseudoNormals[v] = totalWeight > 0 ? normalized(sum / totalWeight) : vec3();
    }
    // A sliver faces like the triangles across its edges, whose normals do say where the surface
    // turns; alone, or among slivers only, it faces nowhere.
    facetNormals.resize(polygonCount);
    for (std::size_t i = 0; i < polygonCount; ++i) facetNormals[i] = storage->Midpoints[i].normal;
    for (std::size_t i = 0; i < polygonCount; ++i) {
        if (!slivers[i]) continue;
        const VertexIDList& p = storage->Polygons[i];
        vec3 sum;
        for (int k = 0; k < 3; ++k) {
            const int across = storage->otherPolygon(static_cast<int>(i), EdgeEntryKey(p[k], p[(k + 1) % 3]));
            if (across >= 0 && !slivers[across]) sum += storage->Midpoints[across].normal;
        }
        facetNormals[i] = normalized(sum);
    }
}

vec3 PolygonStorageVoxelizerDual::edgeNormal(int polygonIndex, int a, int b) const
{
    const auto found = storage->EdgeIndex.find(EdgeEntryKey(a, b));
    if (found == storage->EdgeIndex.end()) return facetNormals[polygonIndex];
    vec3 sum = facetNormals[found->second.first];
    if (found->second.second >= 0) sum += facetNormals[found->second.second];
    return sum;
}

void PolygonStorageVoxelizerDual::voxelizePolygon(const VertexIDList& polygon, int index)
{
    if (polygon.size() != 3) {
        ++skippedCount;
        return;
    }
    const vec3 p0 = storage->Vertices[polygon[0]].position, p1 = storage->Vertices[polygon[1]].position,
               p2 = storage->Vertices[polygon[2]].position;
    const vec3 e1 = p1 - p0, e2 = p2 - p0;
    const vec3 n = storage->Midpoints[index].normal;
    const mat3 T = mat3::fromColumns(e1, e2, n);
    if (!isFinite(p0) || !isFinite(p1) || !isFinite(p2) || T.determinant() == 0) {
        ++skippedCount;
        return;
    }
    mat3 M;
    bool inverted = false;

    int lo[3], hi[3];
    const int sizes[3] = {volume->getXSize(), volume->getYSize(), volume->getZSize()};
    for (int a = 0; a < 3; ++a) boxAlongAxis(p0[a], p1[a], p2[a], sizes[a], lo[a], hi[a]);

    // Pseudo-normals in the order of the regions of closestFeature; near a closed shell the winding
    // numbers sign the samples afterwards.
    const bool closed = shells.isClosed(index);
    vec3 normals[7];
    if (!closed) {
        normals[0] = facetNormals[index];
        normals[1] = edgeNormal(index, polygon[0], polygon[1]);
        normals[2] = edgeNormal(index, polygon[0], polygon[2]);
        normals[3] = edgeNormal(index, polygon[1], polygon[2]);
        for (int k = 0; k < 3; ++k) normals[4 + k] = vertexPseudoNormals[polygon[k]];
    }

    // A grid point farther from the triangle's bounding sphere than its sample (or the band) cannot
    // take a sample from it. The distances computed below keep to the sphere only when the frame
    // is well conditioned, so the test is left to triangles that are not thin and whose normal
    // stands clear of their plane; the margin covers the rounding. On a fine mesh and a coarse
    // grid (many triangles per cell) it leaves out most points of each box.
    const vec3 centre = (p0 + p1 + p2) * (1.0f / 3.0f);
    const float radius =
        std::sqrt(std::max({(p0 - centre).length2(), (p1 - centre).length2(), (p2 - centre).length2()}));
    const float longest2 = std::max({e1.length2(), e2.length2(), (p2 - p1).length2()});
    const vec3 area = cross(e1, e2);
    const float facing = dot(area, n);
    const bool bounded = area.length2() >= 0.01f * longest2 * longest2 &&
                         facing * facing >= 0.25f * area.length2() * n.length2();
    constexpr float sphereMargin = 0.01f;

    const VoxelAccessor voxels(*volume);
    const vec3 corners[3] = {p0, p1, p2};
    for (int x = lo[0]; x <= hi[0]; ++x)
        for (int y = lo[1]; y <= hi[1]; ++y)
            for (int z = lo[2]; z <= hi[2]; ++z) {
                const vec3 q(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
                const float current = std::fabs(voxels.distance(x, y, z));
                if (bounded) {
                    const float reach = std::min(current, voxelizerBandWidth) + radius + sphereMargin;
                    if ((q - centre).length2() >= reach * reach) continue;
                }
                if (!inverted) {
                    M = T.inverse();
                    inverted = true;
                }
                const vec3 r = q - p0;
                const float u = dot(M.row[0], r), v = dot(M.row[1], r), w = dot(M.row[2], r);
                const ClosestFeature closest = closestFeature(q, corners, u, v, w, n);
                const float len = closest.offset.length();
                const bool positive = closed || dot(normals[closest.region], closest.offset) > 0;
                if (len < voxelizerBandWidth && len < current) {
                    voxels.setDistance(x, y, z, positive ? len : -len);
                    nearest->set(x, y, z, index, 1);
                }
            }
}

float PolygonStorageVoxelizerDual::signedDistance(const vec3& q, int index, float bound) const
{
    const Corners& c = corners[static_cast<std::size_t>(index)];
    const ClosestPoint closest = closestOnTriangle(q, c[0], c[1], c[2]);
    const vec3 offset = q - closest.point;
    const float squared = offset.length2();
    if (!(squared < bound * bound)) return unsampledDistance;
    const float len = std::sqrt(squared);
    if (shells.isClosed(index)) return len;  // signed by the winding numbers afterwards
    const VertexIDList& polygon = storage->Polygons[index];
    vec3 normal;
    switch (closest.region) {
    case 0: normal = facetNormals[index]; break;
    case 1: normal = edgeNormal(index, polygon[0], polygon[1]); break;
    case 2: normal = edgeNormal(index, polygon[0], polygon[2]); break;
    case 3: normal = edgeNormal(index, polygon[1], polygon[2]); break;
    default: normal = vertexPseudoNormals[polygon[closest.region - 4]]; break;
    }
    return dot(normal, offset) > 0 ? len : -len;
}

}  // namespace voxquad

#include "polygon_storage.h"

#include <algorithm>
#include <cassert>
#include <cmath>

#include "status_output.h"

namespace voxquad {

bool polygonWithoutArea(const VertexIDList& polygon, const VertexArray& vertices)
{
    const vec3& origin = vertices[polygon[0]].position;
    vec3 area;
    float longest = 0;
    for (std::size_t k = 0; k < polygon.size(); ++k) {
        const vec3& a = vertices[polygon[k]].position;
        const vec3& b = vertices[polygon[(k + 1) % polygon.size()]].position;
        longest = std::max(longest, (b - a).length2());
        area += cross(a - origin, b - origin);
    }
    return area.length2() <= 1e-8f * longest * longest;
}

void PolygonStorage::message(const char* text) const
{
    if (status)
        status->printMessage(text);
}

void PolygonStorage::clear()
{
    Polygons.clear();
    Vertices.clear();
    VIndex.clear();
    Midpoints.clear();
    scale = 1;
    offset = vec3();
}

int PolygonStorage::addVertex(const Vertex& v)
{
    Vertices.push_back(v);
    return static_cast<int>(Vertices.size()) - 1;
}

int PolygonStorage::addTriangle(int a, int b, int c)
{
    if (a == b || b == c || a == c)
        return -1;
    Polygons.push_back(VertexIDList{a, b, c});
    return static_cast<int>(Polygons.size()) - 1;
}

void PolygonStorage::buildVIndex()
{
    VIndex.assign(Vertices.size(), VertexIDSet());
    for (std::size_t i = 0; i < Polygons.size(); ++i)
        for (int v : Polygons[i])
            VIndex[v].insert(static_cast<int>(i));
    buildEdgeIndexFromVIndex();
}

namespace {

// Calls visit(smaller, larger, polygon) for every side of every polygon, in polygon order.
template <typename Visit>
void forEachSide(const PolygonArray& polygons, Visit visit)
{
    for (std::size_t i = 0; i < polygons.size(); ++i) {
        const VertexIDList& poly = polygons[i];
        if (poly.empty())
            continue;
        std::int32_t prev = poly.back();
        for (std::int32_t cur : poly) {
            visit(std::min(prev, cur), std::max(prev, cur), static_cast<std::int32_t>(i));
            prev = cur;
        }
    }
}

// Sorts the sides of one vertex by their larger vertex, keeping polygon order within an edge.
// Buckets hold a vertex's few sides, so insertion sort does it without allocating.
template <typename Iterator>
void sortBucketStably(Iterator first, Iterator last)
{
    auto byLarger = [](const auto& l, const auto& r) { return l.larger < r.larger; };
    if (last - first > 32) {
        std::stable_sort(first, last, byLarger);
        return;
    }
    for (auto i = first + (first != last); i < last; ++i) {
        auto side = *i;
        auto j = i;
        for (; j != first && byLarger(side, *(j - 1)); --j)
            *j = *(j - 1);
        *j = side;
    }
}

}  // namespace

void PolygonStorage::buildEdgeIndex()
{
    message("PolygonStorage::buildEdgeIndex");
    EdgeIndex.clear();
    // The sides are bucketed by their smaller vertex (a counting sort that keeps polygon order),
    // each small bucket is sorted by the larger vertex, and the table is filled in key order. Per
    // edge, the first two distinct polygons of a bucket run are the first two polygons that meet
    // the edge in polygon order.
    struct Side {
        std::int32_t larger;
        std::int32_t polygon;
    };
    // One counting pass; the table grows to the largest smaller vertex, as buckets past it are empty.
    std::vector<std::uint32_t> bucketStart(1, 0);
    bucketStart.reserve(Vertices.size() + 1);
    forEachSide(Polygons, [&](std::int32_t smaller, std::int32_t, std::int32_t) {
        const std::size_t at = static_cast<std::size_t>(smaller) + 1;
        if (at >= bucketStart.size())
            bucketStart.resize(at + 1, 0);
        ++bucketStart[at];
    });
    for (std::size_t v = 1; v < bucketStart.size(); ++v)
        bucketStart[v] += bucketStart[v - 1];
    std::vector<Side> sides(bucketStart.back());
    EdgeIndex.reserve(sides.size() / 2);
    std::vector<std::uint32_t> fill(bucketStart.begin(), bucketStart.end() - 1);
    forEachSide(Polygons, [&](std::int32_t smaller, std::int32_t larger, std::int32_t polygon) {
        sides[fill[smaller]++] = Side{larger, polygon};
    });

    for (std::size_t a = 0; a + 1 < bucketStart.size(); ++a) {
        auto first = sides.begin() + bucketStart[a], last = sides.begin() + bucketStart[a + 1];
        sortBucketStably(first, last);
        for (auto run = first; run != last;) {
            EdgeEntryData data{run->polygon, -1};
            auto next = run + 1;
            for (; next != last && next->larger == run->larger; ++next)
                if (data.second == -1 && next->polygon != data.first)
                    data.second = next->polygon;
            EdgeIndex.append(EdgeEntryKey(static_cast<std::int32_t>(a), run->larger), data);
            run = next;
        }
    }
}

void PolygonStorage::buildEdgeIndexFromVIndex()
{
    // The same table as buildEdgeIndex, with the fresh VIndex as the buckets: a vertex's polygons in
    // ascending order, and each polygon's sides in order, are its sides in polygon order. No table of
    // all sides is made, which spares memory that a large mesh would have to fault in.
    message("PolygonStorage::buildEdgeIndex");
    EdgeIndex.clear();
    std::size_t sideCount = 0;
    for (const VertexIDList& poly : Polygons)
        sideCount += poly.size();
    EdgeIndex.reserve(sideCount / 2);
    struct Side {
        std::int32_t larger;
        std::int32_t polygon;
    };
    std::vector<Side> sides;
    for (std::size_t a = 0; a < VIndex.size(); ++a) {
        const std::int32_t vertex = static_cast<std::int32_t>(a);
        sides.clear();
        for (const std::int32_t polygon : VIndex[a]) {
            const VertexIDList& poly = Polygons[static_cast<std::size_t>(polygon)];
            std::int32_t prev = poly.back();
            for (const std::int32_t cur : poly) {
                if (std::min(prev, cur) == vertex)
                    sides.push_back(Side{std::max(prev, cur), polygon});
                prev = cur;
            }
        }
        sortBucketStably(sides.begin(), sides.end());
        for (auto run = sides.begin(); run != sides.end();) {
            EdgeEntryData data{run->polygon, -1};
            auto next = run + 1;
            for (; next != sides.end() && next->larger == run->larger; ++next)
                if (data.second == -1 && next->polygon != data.first)
                    data.second = next->polygon;
            EdgeIndex.append(EdgeEntryKey(vertex, run->larger), data);
            run = next;
        }
    }
}

void PolygonStorage::computeMidpoints()
{
    Midpoints.resize(Polygons.size());
    for (std::size_t i = 0; i < Polygons.size(); ++i)
        computeMidpoint(static_cast<int>(i));
}

void PolygonStorage::computeMidpoint(int i)
{
    VertexIDList& poly = Polygons[i];
    std::size_t n = poly.size();
    if (n < 3) {
        poly.clear();
        return;
    }
    Vertex& record = Midpoints[i];
    record.featureKind = 0;
    if (n == 3) {
        const vec3& a = Vertices[poly[0]].position;
        const vec3& b = Vertices[poly[1]].position;
        const vec3& c = Vertices[poly[2]].position;
        record.normal = normalized(cross(b - a, c - b));
        record.position = (a + b + c) * 0.33333334f;
        return;
    }
    vec3 normalSum, positionSum;
    for (std::size_t k = 0; k < n; ++k) {
        const vec3& p0 = Vertices[poly[k]].position;
        const vec3& p1 = Vertices[poly[(k + 1) % n]].position;
        const vec3& p2 = Vertices[poly[(k + 2) % n]].position;
        normalSum += normalized(cross(p1 - p0, p2 - p1));
        positionSum += p0;
    }
    float inverseCount = 1.0f / static_cast<float>(n);
    record.normal = normalized(normalSum * inverseCount);
    record.position = positionSum * inverseCount;
}

namespace {

// The angle of a polygon at its corner `position` between the sides to `next` and `previous`.
float cornerAngle(const vec3& position, const vec3& next, const vec3& previous)
{
    float c = dot(normalized(next - position), normalized(previous - position));
    return (c > -1.0f && c < 1.0f) ? std::acos(c) : 0.0f;
}

}  // namespace

// vertexNormal for every vertex, with one search per polygon instead of two: each vertex
// gathers its polygons in the ascending order of its VIndex, so the sums are the same to the bit. A
// vertex repeated within a polygon counts at its first corner only, as neighbour() finds it there;
// a polygon emptied by computeMidpoints counts for nothing. No table of sums beside the vertices is
// needed, which spares memory that a large mesh would have to fault in.
void PolygonStorage::computeVertexNormals()
{
    assert(Vertices.size() == VIndex.size());
    for (std::size_t v = 0; v < Vertices.size(); ++v) {
        const std::int32_t vertex = static_cast<std::int32_t>(v);
        vec3 sum;
        float totalWeight = 0;
        for (const std::int32_t p : VIndex[v]) {
            const VertexIDList& poly = Polygons[static_cast<std::size_t>(p)];
            const std::size_t n = poly.size();
            const std::size_t k = static_cast<std::size_t>(std::find(poly.begin(), poly.end(), vertex) - poly.begin());
            if (k == n)
                continue;
            float angle = cornerAngle(Vertices[v].position, Vertices[poly[(k + 1) % n]].position,
                                      Vertices[poly[(k + n - 1) % n]].position);
            sum += Midpoints[static_cast<std::size_t>(p)].normal * angle;
            totalWeight += angle;
        }
        Vertices[v].normal = totalWeight > 0 ? normalized(sum / totalWeight) : vec3();
    }
}

vec3 PolygonStorage::vertexNormal(int v) const
{
    const vec3& position = Vertices[v].position;
    vec3 sum;
    float totalWeight = 0;
    for (int p : VIndex[v]) {
        int a = neighbour(p, v, true);
        int b = neighbour(p, v, false);
        if (a < 0)  // emptied by computeMidpoints since the index was built
            continue;
        float angle = cornerAngle(position, Vertices[a].position, Vertices[b].position);
        sum += Midpoints[p].normal * angle;
        totalWeight += angle;
    }
    return totalWeight > 0 ? normalized(sum / totalWeight) : vec3();
}

void PolygonStorage::computeBoundingBox()
{
    if (Vertices.empty()) {
        bboxMin = bboxMax = vec3();
        return;
    }
    bboxMin = bboxMax = Vertices.front().position;
    for (const Vertex& v : Vertices)
        for (int a = 0; a < 3; ++a) {
            bboxMin[a] = std::min(bboxMin[a], v.position[a]);
            bboxMax[a] = std::max(bboxMax[a], v.position[a]);
        }
}

void PolygonStorage::normalize(int nx, int ny, int nz)
{
    const int cells[3] = {nx, ny, nz};
    float s = 0;
    for (int a = 0; a < 3; ++a) {
        float axisScale = static_cast<float>(cells[a] - 4) / (bboxMax[a] - bboxMin[a]);
        s = a == 0 ? axisScale : std::min(s, axisScale);
    }
    const vec3 margin(1.5f, 1.5f, 1.5f);
    for (Vertex& v : Vertices)
        v.position = (v.position - bboxMin) * s + margin;
    for (Vertex& m : Midpoints)
        m.position = (m.position - bboxMin) * s + margin;
    float shift = 1.5f * scale / s;
    offset += bboxMin * scale - vec3(shift, shift, shift);
    scale = scale / s;
    bboxMax = (bboxMax - bboxMin) * s + margin;
    bboxMin = margin;
}

int PolygonStorage::otherPolygon(int p, const EdgeEntryKey& key) const
{
    auto it = EdgeIndex.find(key);
    if (it == EdgeIndex.end())
        return -1;
    return it->second.first == p ? it->second.second : it->second.first;
}

int PolygonStorage::neighbour(int p, int v, bool forward) const
{
    const VertexIDList& poly = Polygons[p];
    auto it = std::find(poly.begin(), poly.end(), v);
    if (it == poly.end())
        return -1;
    std::size_t n = poly.size();
    std::size_t k = static_cast<std::size_t>(it - poly.begin());
    return poly[forward ? (k + 1) % n : (k + n - 1) % n];
}

}  // namespace voxquad

#include <algorithm>
#include <cstdint>
#include <map>
#include <vector>

#include "polygon_storage.h"
#include "status_output.h"

namespace voxquad {

namespace {

// Walks the polygons around one source vertex across shared edges.
class FanWalk {
public:
    FanWalk(const PolygonStorage& source, int v, int startPolygon, bool forward)
        : source_(source), v_(v), forward_(forward), current_(startPolygon),
          w_(source.neighbour(startPolygon, v, forward))
    {
    }

    // Moves to the polygon across the edge (v, w); false when there is none or it is oriented
    // against the current one.
    bool step()
    {
        int q = source_.otherPolygon(current_, EdgeEntryKey(v_, w_));
        if (q == -1)
            return false;
        int nextW = source_.neighbour(q, v_, forward_);
        if (nextW == w_ || nextW < 0)  // against the current polygon's orientation, or emptied
            return false;
        current_ = q;
        w_ = nextW;
        return true;
    }

    int polygon() const { return current_; }
    // The far end of the edge the walk would cross next.
    int edgeEnd() const { return w_; }

private:
    const PolygonStorage& source_;
    int v_;
    bool forward_;
    int current_;
    int w_;
};

Vertex borderMidpoint(const PolygonStorage& source, int v, int w)
{
    const Vertex& corner = source.Vertices[v];
    return Vertex((corner.position + source.Vertices[w].position) / 2, source.vertexNormal(v), corner.featureKind);
}

// The polygons around vertex v in rotational order, from the smallest id. An open fan (v on a
// border) also gives the far ends of its two border edges: beforeFirst precedes polygons[0],
// afterLast follows the last polygon.
struct Fan {
    VertexIDList polygons;
    bool open = false;
    int beforeFirst = -1, afterLast = -1;
};

Fan walkFan(const PolygonStorage& source, int v, int start, std::size_t polygonCount)
{
    // Each walk takes at most one step per polygon of the vertex: an edge that holds more than
    // two polygons could otherwise lead it around a cycle that never returns to the start.
    Fan fan;
    fan.polygons.push_back(start);
    FanWalk backward(source, v, start, false);
    for (std::size_t steps = 0; steps < polygonCount; ++steps) {
        if (!backward.step()) {
            fan.open = true;
            break;
        }
        if (backward.polygon() == start)
            return fan;
        fan.polygons.push_back(backward.polygon());
    }
    if (!fan.open)
        return fan;
    fan.afterLast = backward.edgeEnd();
    VertexIDList front;  // the other way round, nearest to start first
    FanWalk forward(source, v, start, true);
    for (std::size_t steps = 0; steps < polygonCount && forward.step() && forward.polygon() != start; ++steps)
        front.push_back(forward.polygon());
    fan.beforeFirst = forward.edgeEnd();
    fan.polygons.insert(fan.polygons.begin(), front.rbegin(), front.rend());
    return fan;
}

// Union-find over vertex ids with path halving.
class VertexClusters {
public:
    explicit VertexClusters(std::size_t count) : parent_(count)
    {
        for (std::size_t v = 0; v < count; ++v) parent_[v] = static_cast<std::int32_t>(v);
    }
    std::int32_t root(std::int32_t v)
    {
        while (parent_[v] != v) v = parent_[v] = parent_[parent_[v]];
        return v;
    }
    // The smaller id stays the representative.
    void join(std::int32_t a, std::int32_t b)
    {
        a = root(a);
        b = root(b);
        if (a != b) parent_[std::max(a, b)] = std::min(a, b);
    }

private:
    std::vector<std::int32_t> parent_;
};

// Appends to out the simple cycles of a closed corner walk that may visit a corner twice (a polygon
// pinched at a merged vertex), each cut off where its first corner comes back; walks of fewer
// than three corners are dropped.
void appendSimpleCycles(const VertexIDList& walk, PolygonArray& out)
{
    VertexIDList stack;
    for (std::int32_t v : walk) {
        const auto repeat = std::find(stack.begin(), stack.end(), v);
        if (repeat == stack.end()) {
            stack.push_back(v);
            continue;
        }
        VertexIDList cycle(repeat, stack.end());
        stack.erase(repeat + 1, stack.end());
        if (cycle.size() >= 3) out.push_back(std::move(cycle));
    }
    if (stack.size() >= 3) out.push_back(std::move(stack));
}

// Removes the pairs of polygons that run through the same corners in opposite directions: two
// faces back to back that enclose nothing. Only polygons with a corner in merged are looked at.
void cancelOppositePairs(PolygonArray& polygons, const std::vector<char>& merged)
{
    // Polygons by their corners' smallest id, then the corners from there forwards.
    auto canonical = [](const VertexIDList& p, bool reversed) {
        VertexIDList cycle = p;
        if (reversed) std::reverse(cycle.begin(), cycle.end());
        std::rotate(cycle.begin(), std::min_element(cycle.begin(), cycle.end()), cycle.end());
        return cycle;
    };
    std::map<VertexIDList, std::vector<std::size_t>> byCycle;
    for (std::size_t i = 0; i < polygons.size(); ++i)
        if (std::any_of(polygons[i].begin(), polygons[i].end(), [&](std::int32_t v) { return merged[v]; }))
            byCycle[canonical(polygons[i], false)].push_back(i);
    std::vector<char> cancelled(polygons.size(), 0);
    bool any = false;
    for (auto& [cycle, ids] : byCycle) {
        const auto opposite = byCycle.find(canonical(cycle, true));
        if (opposite == byCycle.end() || &opposite->second == &ids) continue;
        while (!ids.empty() && !opposite->second.empty()) {
            cancelled[ids.back()] = cancelled[opposite->second.back()] = 1;
            ids.pop_back();
            opposite->second.pop_back();
            any = true;
        }
    }
    if (!any) return;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < polygons.size(); ++i)
        if (!cancelled[i]) {
            if (kept != i) polygons[kept] = std::move(polygons[i]);
            ++kept;
        }
    polygons.resize(kept);
}

// Merges the corners of a polygon that lie at one position: feature points taken by several
// neighbouring polygons of the source (the crease point of a cell slab, a corner) would otherwise
// leave edges of length zero and polygons without area. Each cluster keeps its smallest vertex;
// a polygon loses its repeated corners and is cut where it is pinched, what keeps fewer than three
// corners goes, and so do two polygons that end up back to back.
void mergeCoincidentCorners(PolygonArray& polygons, const VertexArray& vertices)
{
    VertexClusters clusters(vertices.size());
    bool merged = false;
    for (const VertexIDList& p : polygons)
        for (std::size_t k = 0; k < p.size(); ++k)
            for (std::size_t m = k + 1; m < p.size(); ++m)
                if (p[k] != p[m] && vertices[p[k]].position == vertices[p[m]].position) {
                    clusters.join(p[k], p[m]);
                    merged = true;
                }
    if (!merged) return;
    PolygonArray result;
    result.reserve(polygons.size());
    std::vector<char> mergedInto(vertices.size(), 0);
    VertexIDList walk;
    for (const VertexIDList& p : polygons) {
        walk.clear();
        for (std::int32_t v : p) {
            const std::int32_t r = clusters.root(v);
            if (r != v) mergedInto[r] = 1;
            if (walk.empty() || walk.back() != r) walk.push_back(r);
        }
        while (walk.size() > 1 && walk.front() == walk.back()) walk.pop_back();
        appendSimpleCycles(walk, result);
    }
    polygons = std::move(result);
    cancelOppositePairs(polygons, mergedInto);
}

// The centroid of a source polygon, as its midpoint record had it before a feature point moved it.
vec3 centroidOf(const PolygonStorage& source, int polygon)
{
    const VertexIDList& p = source.Polygons[polygon];
    vec3 sum;
    for (std::int32_t v : p) sum += source.Vertices[v].position;
    return p.size() == 3 ? sum * 0.33333334f : sum * (1.0f / static_cast<float>(p.size()));
}

// A dual polygon whose corners all took feature points on one crease line has no area. The corner
// that a feature point moved farthest goes back to its centroid, until the polygon has area: the
// crease keeps its other points, and no polygon lies flat.
void releaseFlatFeatureCorners(const PolygonArray& polygons, VertexArray& vertices,
                               const PolygonStorage& source)
{
    const std::size_t sourcePolygons = source.Polygons.size();
    for (const VertexIDList& p : polygons)
        while (polygonWithoutArea(p, vertices)) {
            int best = -1;
            float farthest = -1;
            for (std::int32_t v : p) {
                if (static_cast<std::size_t>(v) >= sourcePolygons || vertices[v].featureKind == 0) continue;
                const float d = (centroidOf(source, v) - vertices[v].position).length2();
                if (d > farthest) {
                    farthest = d;
                    best = v;
                }
            }
            if (best < 0) break;
            vertices[best].position = centroidOf(source, best);
            vertices[best].featureKind = 0;
        }
}

// One face per source vertex with three or more polygons, walked around it; a fan open at a
// border of the source starts and ends at the midpoints of its border edges.
void appendDualFaces(PolygonStorage& dual, const PolygonStorage& source)
{
    dual.Polygons.reserve(source.VIndex.size());
    for (std::size_t v = 0; v < source.VIndex.size(); ++v) {
        // Polygons emptied since the index was built (fewer than three corners) do not count.
        std::size_t polygonCount = 0;
        int start = -1;
        for (int p : source.VIndex[v]) {
            if (source.Polygons[p].empty())
                continue;
            if (polygonCount++ == 0)
                start = p;
        }
        if (polygonCount < 3)
            continue;
        const int vertex = static_cast<int>(v);
        Fan fan = walkFan(source, vertex, start, polygonCount);
        if (!fan.open) {
            dual.Polygons.push_back(std::move(fan.polygons));
            continue;
        }
        int last = dual.addVertex(borderMidpoint(source, vertex, fan.afterLast));
        int first = dual.addVertex(borderMidpoint(source, vertex, fan.beforeFirst));
        VertexIDList& face = dual.Polygons.emplace_back();
        face.reserve(fan.polygons.size() + 2);
        face.push_back(first);
        face.insert(face.end(), fan.polygons.begin(), fan.polygons.end());
        face.push_back(last);
    }
}

}  // namespace

void PolygonStorage::constructDual(const PolygonStorage& source) { buildDual(source, nullptr); }

void PolygonStorage::constructDualReleasingEdges(PolygonStorage& source) { buildDual(source, &source.EdgeIndex); }

void PolygonStorage::buildDual(const PolygonStorage& source, EdgeEntryTable* sourceEdges)
{
    if (status)
        status->beginStage("Constructing Dual Surface");
    clear();
    scale = source.scale;
    offset = source.offset;
    Vertices = source.Midpoints;  // dual vertex i stands for source polygon i
    appendDualFaces(*this, source);
    if (sourceEdges)
        sourceEdges->release();
    mergeCoincidentCorners(Polygons, Vertices);
    releaseFlatFeatureCorners(Polygons, Vertices, source);
    buildVIndex();
    computeMidpoints();
    if (status)
        status->endStage();
}

}  // namespace voxquad

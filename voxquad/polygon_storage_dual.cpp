#include <algorithm>
#include <cstdint>
#include <vector>

#include "polygon_storage.h"
#include "status_output.h"

namespace voxquad {

namespace {

// The source's edge index flattened into runs by the smaller vertex id, so the walks look an edge
// up among a vertex's few edges instead of descending the ordered map, a cache miss per level.
class EdgeTable {
public:
    explicit EdgeTable(const EdgeEntryMap& index)
    {
        std::size_t runs = index.empty() ? 0 : static_cast<std::size_t>(index.rbegin()->first.a) + 1;
        runStart_.assign(runs + 1, 0);
        entries_.reserve(index.size());
        for (const auto& [key, data] : index) {  // ascending keys: each run is contiguous
            ++runStart_[static_cast<std::size_t>(key.a) + 1];
            entries_.push_back(Entry{key.b, data});
        }
        for (std::size_t a = 1; a < runStart_.size(); ++a)
            runStart_[a] += runStart_[a - 1];
    }

    // PolygonStorage::otherPolygon on the same index.
    int otherPolygon(int p, const EdgeEntryKey& key) const
    {
        if (key.a < 0 || static_cast<std::size_t>(key.a) + 1 >= runStart_.size())
            return -1;
        for (std::size_t i = runStart_[key.a]; i < runStart_[key.a + 1]; ++i)
            if (entries_[i].larger == key.b)
                return entries_[i].data.first == p ? entries_[i].data.second : entries_[i].data.first;
        return -1;
    }

private:
    struct Entry {
        std::int32_t larger;
        EdgeEntryData data;
    };
    std::vector<std::uint32_t> runStart_;
    std::vector<Entry> entries_;
};

// Walks the polygons around one source vertex across shared edges.
class FanWalk {
public:
    FanWalk(const PolygonStorage& source, const EdgeTable& edges, int v, int startPolygon, bool forward)
        : source_(source), edges_(edges), v_(v), forward_(forward), current_(startPolygon),
          w_(source.neighbour(startPolygon, v, forward))
    {
    }

    // Moves to the polygon across the edge (v, w); false when there is none or it is oriented
    // against the current one.
    bool step()
    {
        int q = edges_.otherPolygon(current_, EdgeEntryKey(v_, w_));
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
    const EdgeTable& edges_;
    int v_;
    bool forward_;
    int current_;
    int w_;
};

Vertex borderMidpoint(const PolygonStorage& source, int v, int w)
{
    const Vertex& corner = source.Vertices[v];
    return Vertex((corner.position + source.Vertices[w].position) / 2, corner.normal, corner.featureKind);
}

// The polygons around vertex v in rotational order, from the smallest id. An open fan (v on a
// border) also gives the far ends of its two border edges: beforeFirst precedes polygons[0],
// afterLast follows the last polygon.
struct Fan {
    VertexIDList polygons;
    bool open = false;
    int beforeFirst = -1, afterLast = -1;
};

Fan walkFan(const PolygonStorage& source, const EdgeTable& edges, int v, int start, std::size_t polygonCount)
{
    // Each walk takes at most one step per polygon of the vertex: an edge that holds more than
    // two polygons could otherwise lead it around a cycle that never returns to the start.
    Fan fan;
    fan.polygons.push_back(start);
    FanWalk backward(source, edges, v, start, false);
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
    FanWalk forward(source, edges, v, start, true);
    for (std::size_t steps = 0; steps < polygonCount && forward.step() && forward.polygon() != start; ++steps)
        front.push_back(forward.polygon());
    fan.beforeFirst = forward.edgeEnd();
    fan.polygons.insert(fan.polygons.begin(), front.rbegin(), front.rend());
    return fan;
}

}  // namespace

void PolygonStorage::constructDual(const PolygonStorage& source)
{
    if (status)
        status->beginStage("Constructing Dual Surface");
    clear();
    scale = source.scale;
    offset = source.offset;
    Vertices = source.Midpoints;  // dual vertex i stands for source polygon i
    const EdgeTable edges(source.EdgeIndex);

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
        Fan fan = walkFan(source, edges, vertex, start, polygonCount);
        if (!fan.open) {
            Polygons.push_back(std::move(fan.polygons));
            continue;
        }
        // An open fan starts and ends at the midpoints of its border edges.
        int last = addVertex(borderMidpoint(source, vertex, fan.afterLast));
        int first = addVertex(borderMidpoint(source, vertex, fan.beforeFirst));
        VertexIDList& face = Polygons.emplace_back();
        face.reserve(fan.polygons.size() + 2);
        face.push_back(first);
        face.insert(face.end(), fan.polygons.begin(), fan.polygons.end());
        face.push_back(last);
    }

    buildVIndex();
    computeMidpoints();
    computeVertexNormals();
    if (status)
        status->endStage();
}

}  // namespace voxquad

#include <algorithm>

#include "polygon_storage.h"
#include "status_output.h"

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
        if (nextW == w_)
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
    return Vertex((corner.position + source.Vertices[w].position) / 2, corner.normal, corner.featureKind);
}

}  // namespace

void PolygonStorage::constructDual(const PolygonStorage& source)
{
    if (status)
        status->beginStage("Constructing Dual Surface");
    clear();
    scale = source.scale;
    offset = source.offset;
    Vertices = source.Midpoints;

    for (std::size_t v = 0; v < source.VIndex.size(); ++v) {
        const VertexIDSet& around = source.VIndex[v];
        if (around.size() < 3)
            continue;
        // Each walk takes at most one step per polygon of the vertex: an edge that holds more than
        // two polygons could otherwise lead it around a cycle that never returns to the start.
        const std::size_t maxSteps = around.size();
        const int vertex = static_cast<int>(v);
        const int start = *around.begin();

        VertexIDList face{start};
        FanWalk backward(source, vertex, start, false);
        bool reachedBorder = false;
        for (std::size_t steps = 0; steps < maxSteps; ++steps) {
            if (!backward.step()) {
                reachedBorder = true;
                break;
            }
            if (backward.polygon() == start)
                break;
            face.push_back(backward.polygon());
        }

        if (reachedBorder) {
            face.push_back(addVertex(borderMidpoint(source, vertex, backward.edgeEnd())));
            VertexIDList front;  // polygons of the forward walk, nearest to start first
            FanWalk forward(source, vertex, start, true);
            for (std::size_t steps = 0; steps < maxSteps && forward.step() && forward.polygon() != start; ++steps)
                front.push_back(forward.polygon());
            front.push_back(addVertex(borderMidpoint(source, vertex, forward.edgeEnd())));
            face.insert(face.begin(), front.rbegin(), front.rend());
        }
        Polygons.push_back(std::move(face));
    }

    buildVIndex();
    computeMidpoints();
    computeVertexNormals();
    if (status)
        status->endStage();
}

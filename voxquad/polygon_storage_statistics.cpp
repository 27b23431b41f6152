#include <cstdio>

#include "polygon_storage.h"

namespace voxquad {

namespace {

constexpr int binCount = 10;  // sizes 0 .. 8 and one bin for 9 and more

void countInto(int (&bins)[binCount], std::size_t size)
{
    ++bins[size < binCount - 1 ? size : binCount - 1];
}

}  // namespace

void PolygonStorage::printStatistics()
{
    int grad[binCount] = {};
    int edges[binCount] = {};
    for (const VertexIDSet& polygons : VIndex)
        countInto(grad, polygons.size());
    for (const VertexIDList& polygon : Polygons)
        countInto(edges, polygon.size());

    char line[100];
    message("------ Polygon Storage Statistics -------- begin");
    message("Vertex grad statistics");
    for (int g = 0; g < binCount - 1; ++g) {
        std::snprintf(line, sizeof line, " %d grad %d", grad[g], g);
        message(line);
    }
    std::snprintf(line, sizeof line, " %d grad >=%d", grad[binCount - 1], binCount - 1);
    message(line);
    std::snprintf(line, sizeof line, "Total vertices: %d", static_cast<int>(VIndex.size()));
    message(line);
    message("Polygon edge statistics");
    for (int e = 0; e < binCount - 1; ++e) {
        std::snprintf(line, sizeof line, " %d with %d edges", edges[e], e);
        message(line);
    }
    std::snprintf(line, sizeof line, " %d with >=%d edges", edges[binCount - 1], binCount - 1);
    message(line);
    std::snprintf(line, sizeof line, "Total : %d", static_cast<int>(Polygons.size()));
    message(line);
    message("------ Polygon Storage Statistics -------- end");
}

}  // namespace voxquad

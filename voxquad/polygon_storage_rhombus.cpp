#include <algorithm>

#include "polygon_storage.h"
#include "status_output.h"

namespace voxquad {

void PolygonStorage::removeRhombusPolygons()
{
    if (status)
        status->beginStage("Removing rhombus polygons");
    auto valence = [this](int v) { return VIndex[v].size(); };
    // Valences are read as they stand, so earlier collapses change the later tests.
    for (std::size_t i = 0; i < Polygons.size(); ++i) {
        VertexIDList& quad = Polygons[i];
        if (quad.size() != 4)
            continue;
        if (valence(quad[0]) != 3)
            std::rotate(quad.begin(), quad.begin() + 1, quad.end());  // kept even without a collapse
        const int a = quad[0], b = quad[1], c = quad[2], d = quad[3];
        if (valence(a) != 3 || valence(b) <= 4 || valence(c) != 3 || valence(d) <= 4)
            continue;
        const vec3 centroid = Midpoints[i].position;
        removePolygon(static_cast<int>(i));
        replaceVertex(a, c);
        moveVertex(c, centroid);
    }
    buildEdgeIndex();
    if (status)
        status->endStage();
}

}  // namespace voxquad

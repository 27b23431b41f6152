#include <algorithm>

#include "polygon_storage.h"
#include "status_output.h"

namespace voxquad {

bool PolygonStorage::cutLeavesNoArea(const VertexIDList& corners) const
{
    VertexIDList rest(corners.begin() + 2, corners.end());
    rest.insert(rest.begin(), corners[0]);
    return polygonWithoutArea({corners[0], corners[1], corners[2]}, Vertices) || polygonWithoutArea(rest, Vertices);
}

void PolygonStorage::reducePolygonDegree()
{
    if (status)
        status->beginStage("Reducing polygon degree");
    // Polygons appended by the splits are visited too; they have at most four corners.
    for (std::size_t i = 0; i < Polygons.size(); ++i) {
        const int polygon = static_cast<int>(i);
        const std::size_t n = Polygons[i].size();
        if (n <= 4)
            continue;
        if (n % 2 == 1) {
            // A triangle off the front leaves an even polygon. When that triangle or the rest would
            // have no area (corners on one crease line), the cut starts at the first corner where
            // neither does.
            VertexIDList& corners = Polygons[i];
            for (std::size_t r = 0; r < n && cutLeavesNoArea(corners); ++r)
                std::rotate(corners.begin(), corners.begin() + 1, corners.end());
            splitAtCorners(polygon, 0, 2);
        }
        if (n >= 6)
            splitIntoFan(polygon, 4, 0, Midpoints[i]);
    }
    buildEdgeIndex();
    if (status)
        status->endStage();
}

}  // namespace voxquad

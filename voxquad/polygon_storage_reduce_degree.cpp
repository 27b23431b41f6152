#include "polygon_storage.h"
#include "status_output.h"

namespace voxquad {

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
        if (n % 2 == 1)
            splitAtCorners(polygon, 0, 2);  // a triangle off the front leaves an even polygon
        if (n >= 6)
            splitIntoFan(polygon, 4, 0, Midpoints[i]);
    }
    buildEdgeIndex();
    if (status)
        status->endStage();
}

}  // namespace voxquad

#include "feature_transfer.h"

#include <cmath>

#include "polygon_storage.h"
#include "volume_storage.h"

namespace voxquad {

void TransferFeaturePointsToMidpoints(PolygonStorage& marchingMesh, GenericVolumeStorage& volume)
{
    const int size[3] = {volume.getXSize(), volume.getYSize(), volume.getZSize()};
    for (Vertex& m : marchingMesh.Midpoints) {
        // The lower of the two nearest cell centres along each axis; a midpoint off the grid (or
        // not a number) has no cells around it.
        int base[3];
        bool onGrid = true;
        for (int a = 0; a < 3; ++a) {
            const float b = std::floor(m.position[a] - 0.5f);
            onGrid = onGrid && b >= -1 && b < static_cast<float>(size[a]);
            base[a] = onGrid ? static_cast<int>(b) : 0;
        }
        if (!onGrid) continue;
        float best = std::sqrt(3.0f) * 0.5f;
        bool chosen = false;
        vec3 point;
        std::uint8_t kind = 0;
        for (int x = base[0]; x <= base[0] + 1; ++x)
            for (int y = base[1]; y <= base[1] + 1; ++y)
                for (int z = base[2]; z <= base[2] + 1; ++z) {
                    if (x < 0 || y < 0 || z < 0 || x >= size[0] || y >= size[1] || z >= size[2]) continue;
                    VoxelData voxel;
                    volume.getVoxel(x, y, z, voxel);
                    if (!(voxel.featureOffset.x <= 1)) continue;  // unset cells hold unsampledDistance
                    const vec3 fp = vec3(x + 0.5f, y + 0.5f, z + 0.5f) - voxel.featureOffset;
                    const float distance = (m.position - fp).length();
                    if (distance < best) {
                        best = distance;
                        chosen = true;
                        point = fp;
                        kind = voxel.flags;
                    }
                }
        if (chosen) {
            m.position = point;
            m.featureKind = kind;
        }
    }
}

}  // namespace voxquad

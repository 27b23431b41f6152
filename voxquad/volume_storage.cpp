#include "volume_storage.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <utility>

namespace voxquad {

void GenericVolumeStorage::setSize(int x, int y, int z)
{
    XSize = x;
    YSize = y;
    ZSize = z;
    sliceSize = x * y;
}

void GenericVolumeStorage::setVoxel(int, int, int, const VoxelData&) {}

void GenericVolumeStorage::getVoxel(int, int, int, VoxelData&) {}

void GenericVolumeStorage::clear() {}

void VolumeStorageDF::setSize(int x, int y, int z)
{
    assert(x >= 0 && y >= 0 && z >= 0);
    const std::size_t count = static_cast<std::size_t>(x) * static_cast<std::size_t>(y) * static_cast<std::size_t>(z);
    if (count != VoxelCount) {
        ZeroedBlock grown(count * sizeof(VoxelData));
        auto* records = static_cast<VoxelData*>(grown.data());
        if (VoxelCount > 0 && count > 0)
            std::memcpy(static_cast<void*>(records), Voxels, std::min(count, VoxelCount) * sizeof(VoxelData));
        Storage = std::move(grown);
        Voxels = records;
        VoxelCount = count;
    }
    GenericVolumeStorage::setSize(x, y, z);
}

std::size_t VolumeStorageDF::index(int x, int y, int z) const
{
    assert(x < XSize && "x<XSize");
    assert(y < YSize && "y<YSize");
    assert(z < ZSize && "z<ZSize");
    assert(x >= 0 && "x>=0");
    assert(y >= 0 && "y>=0");
    assert(z >= 0 && "z>=0");
    return static_cast<std::size_t>(z) * static_cast<std::size_t>(sliceSize) +
           static_cast<std::size_t>(y) * static_cast<std::size_t>(XSize) + static_cast<std::size_t>(x);
}

void VolumeStorageDF::setVoxel(int x, int y, int z, const VoxelData& voxel) { Voxels[index(x, y, z)] = voxel; }

void VolumeStorageDF::getVoxel(int x, int y, int z, VoxelData& voxel) { voxel = Voxels[index(x, y, z)]; }

void VolumeStorageDF::clear()
{
    VoxelData unsampled;
    unsampled.distance = unsampledDistance;
    unsampled.featureOffset = vec3(unsampledDistance, unsampledDistance, unsampledDistance);
    for (std::size_t n = 0; n < VoxelCount; ++n) Voxels[n] = unsampled;
}

}  // namespace voxquad

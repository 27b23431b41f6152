#include "volume_storage.h"

#include <gtest/gtest.h>

namespace voxquad {

namespace {

VoxelData voxelWithDistance(float d)
{
    VoxelData v;
    v.distance = d;
    v.flags = 2;
    v.featureOffset = vec3(0.25f, -0.5f, 0.125f);
    return v;
}

TEST(VolumeStorageDF, RecordsAreTwentyBytesInOneArrayIndexedZSliceYRowX)
{
    static_assert(sizeof(VoxelData) == 20);
    VolumeStorageDF volume;
    volume.setSize(3, 4, 5);
    EXPECT_EQ(volume.getSliceSize(), 12);
    volume.setVoxel(2, 1, 3, voxelWithDistance(7));
    EXPECT_EQ(volume.records()[3 * 12 + 1 * 3 + 2].distance, 7);
    VoxelData back;
    volume.getVoxel(2, 1, 3, back);
    EXPECT_EQ(back.flags, 2);
    EXPECT_EQ(back.featureOffset, vec3(0.25f, -0.5f, 0.125f));
}

TEST(VolumeStorageDF, GrowingKeepsRecordsAndZeroFillsNewOnes)
{
    VolumeStorageDF volume;
    volume.setSize(2, 2, 2);
    volume.clear();
    volume.setSize(2, 2, 3);
    VoxelData kept, added;
    volume.getVoxel(1, 1, 1, kept);
    volume.getVoxel(1, 1, 2, added);
    EXPECT_EQ(kept.distance, unsampledDistance);
    EXPECT_EQ(kept.featureOffset, vec3(unsampledDistance, unsampledDistance, unsampledDistance));
    EXPECT_EQ(added.distance, 0);
    EXPECT_EQ(added.featureOffset, vec3());
}

TEST(VolumeStorageDFDeathTest, AccessOutsideTheGridIsAProgrammingError)
{
    VolumeStorageDF volume;
    volume.setSize(2, 2, 2);
    VoxelData v;
    EXPECT_DEATH(volume.getVoxel(2, 0, 0, v), "x<XSize");
    EXPECT_DEATH(volume.setVoxel(0, 0, -1, v), "z>=0");
}

}  // namespace

}  // namespace voxquad

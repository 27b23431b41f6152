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

// The band volume keeps blocks near the samples only, but reads as the whole array would after
// the same calls, across block borders and a grid that is not a multiple of the block size.
TEST(VolumeStorageBandDF, ReadsLikeTheWholeArrayAfterTheSameCalls)
{
    VolumeStorageDF whole;
    VolumeStorageBandDF band;
    for (GenericVolumeStorage* v : {static_cast<GenericVolumeStorage*>(&whole), static_cast<GenericVolumeStorage*>(&band)}) {
        v->setSize(19, 10, 17);
        v->clear();
        v->setVoxel(0, 0, 0, voxelWithDistance(-1));
        v->setVoxel(8, 7, 16, voxelWithDistance(2.5f));
        VoxelData distanceOnly;
        distanceOnly.distance = 0.5f;
        distanceOnly.featureOffset = vec3(unsampledDistance, unsampledDistance, unsampledDistance);
        v->setVoxel(18, 9, 8, distanceOnly);
        VoxelAccessor(*v).setDistance(7, 8, 9, -3);
    }
    for (int z = 0; z < 17; ++z)
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 19; ++x) {
                VoxelData a, b;
                whole.getVoxel(x, y, z, a);
                band.getVoxel(x, y, z, b);
                ASSERT_EQ(a.distance, b.distance) << x << " " << y << " " << z;
                ASSERT_EQ(a.flags, b.flags) << x << " " << y << " " << z;
                ASSERT_EQ(a.featureOffset, b.featureOffset) << x << " " << y << " " << z;
            }
    EXPECT_EQ(band.allocatedBlocks(), 4u);
    band.clear();
    EXPECT_EQ(band.allocatedBlocks(), 0u);
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

#pragma once
#include <cstddef>
#include <cstdint>

#include "vec_math.h"
#include "volume_storage_memory.h"

namespace voxquad {

// Distance value of a voxel that holds no sample.
constexpr float unsampledDistance = 10000000.0f;

// One voxel: the distance sample at its grid point and the sharp-feature data of the cell that
// has this grid point as its lowest corner.
struct VoxelData {
    // Signed distance in grid units, positive on the side the surface normals point to.
    float distance = 0;
    // Feature kind of the cell: bit 0 edge feature point, bit 1 corner feature point.
    std::uint8_t flags = 0;
    // Cell centre minus the feature point; unsampledDistance in each component when there is none.
    vec3 featureOffset;
};

// A regular grid of voxels. Grid point g lies at the world position g * scale + offset.
class GenericVolumeStorage {
public:
    virtual void setSize(int x, int y, int z);
    virtual void setVoxel(int x, int y, int z, const VoxelData& voxel);
    virtual void getVoxel(int x, int y, int z, VoxelData& voxel);
    virtual void clear();
    virtual ~GenericVolumeStorage() = default;

    // The record array when the volume keeps one contiguously (element z * sliceSize + y * XSize + x),
    // else null; lets the passes over every voxel skip the per-voxel calls.
    virtual VoxelData* records() { return nullptr; }

    int getXSize() const { return XSize; }
    int getYSize() const { return YSize; }
    int getZSize() const { return ZSize; }
    int getSliceSize() const { return sliceSize; }
    float getScale() const { return scale; }
    const vec3& getOffset() const { return offset; }
    void setScale(float s) { scale = s; }
    void setOffset(const vec3& o) { offset = o; }

protected:
    int XSize = 0, YSize = 0, ZSize = 0;
    int sliceSize = 0;
    float scale = 1;
    vec3 offset;
};

// The distance volume: one contiguous array of XSize * YSize * ZSize records (20 bytes each).
class VolumeStorageDF : public GenericVolumeStorage {
public:
    VolumeStorageDF() = default;
    VolumeStorageDF(const VolumeStorageDF&) = delete;
    VolumeStorageDF& operator=(const VolumeStorageDF&) = delete;

    // Resizes the array; new records are zero, existing ones are kept.
    void setSize(int x, int y, int z) override;
    void setVoxel(int x, int y, int z, const VoxelData& voxel) override;
    void getVoxel(int x, int y, int z, VoxelData& voxel) override;
    // Every record becomes unsampled: distance and featureOffset unsampledDistance, flags 0.
    void clear() override;
    VoxelData* records() override { return Voxels; }

private:
    std::size_t index(int x, int y, int z) const;

    ZeroedBlock Storage;          // owns the records
    VoxelData* Voxels = nullptr;  // the records in Storage
    std::size_t VoxelCount = 0;
};

// Reads and writes the voxels of any volume, straight through the record array when it has one.
class VoxelAccessor {
public:
    explicit VoxelAccessor(GenericVolumeStorage& volume)
        : volume_(volume), records_(volume.records()), xSize_(volume.getXSize()), sliceSize_(volume.getSliceSize())
    {
    }

    float distance(int x, int y, int z) const
    {
        if (records_) return records_[offsetOf(x, y, z)].distance;
        VoxelData v;
        volume_.getVoxel(x, y, z, v);
        return v.distance;
    }

    void setDistance(int x, int y, int z, float d) const
    {
        if (records_) {
            records_[offsetOf(x, y, z)].distance = d;
            return;
        }
        VoxelData v;
        volume_.getVoxel(x, y, z, v);
        v.distance = d;
        volume_.setVoxel(x, y, z, v);
    }

private:
    std::size_t offsetOf(int x, int y, int z) const
    {
        return static_cast<std::size_t>(z) * static_cast<std::size_t>(sliceSize_) +
               static_cast<std::size_t>(y) * static_cast<std::size_t>(xSize_) + static_cast<std::size_t>(x);
    }

    GenericVolumeStorage& volume_;
    VoxelData* records_;
    int xSize_, sliceSize_;
};

}  // namespace voxquad

#pragma once
#include <cstddef>
#include <cstdint>

#include <unordered_map>
#include <vector>

#include "block_grid.h"
#include "vec_math.h"
#include "volume_storage_memory.h"

namespace voxquad {

// Distance value of a voxel that holds no sample.
constexpr float unsampledDistance = 10000000.0f;

// The voxelizer writes no distance of this many grid units or more; marching cubes gives an
// unsampled point whose side is known this distance from the surface.
constexpr float voxelizerBandWidth = 5.0f;

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

class VolumeStorageBandDF;

// Which side of the input's closed surface an unsampled grid point lies on: the voxelizer knows it
// where the input encloses a volume, so that marching cubes can give an unsampled corner its sign.
class FarFieldSign {
public:
    virtual bool insideAt(int x, int y, int z) const = 0;
    virtual ~FarFieldSign() = default;
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
    // The volume itself when it keeps its samples in blocks near the surface (VolumeStorageBandDF),
    // else null; lets the passes over the voxels visit only the blocks that hold samples.
    virtual VolumeStorageBandDF* band() { return nullptr; }

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

// The distance volume kept near the surface only: blocks of 8 x 8 x 8 distances, each allocated
// when a voxel in it is first given a distance other than the background, and the feature data of
// the few cells that hold it. Every voxel reads as VolumeStorageDF would after the same calls; the
// memory grows with the surface instead of the volume. The blocks are cut from chunks of huge
// pages, which are faulted in at a fraction of the cost of 4 KiB pages and go back to the system
// as a whole when the volume is cleared.
class VolumeStorageBandDF : public GenericVolumeStorage {
public:
    VolumeStorageBandDF() = default;
    VolumeStorageBandDF(const VolumeStorageBandDF&) = delete;
    VolumeStorageBandDF& operator=(const VolumeStorageBandDF&) = delete;

    // A new size drops every block; the voxels read as zero records until clear().
    void setSize(int x, int y, int z) override;
    void setVoxel(int x, int y, int z, const VoxelData& voxel) override;
    void getVoxel(int x, int y, int z, VoxelData& voxel) override;
    // Drops every block and feature: all voxels read as unsampled.
    void clear() override;
    VolumeStorageBandDF* band() override { return this; }

    float distance(int x, int y, int z) const
    {
        const float* block = blocks_[grid_.blockOf(x, y, z)];
        return block ? block[BlockGrid::offsetIn(x, y, z)] : background_.distance;
    }
    void setDistance(int x, int y, int z, float d);
    // The distances of slice z, row by row (x fastest), block row by block row.
    void readSlice(int z, float* out) const;
    // False when no voxel of the block holds a sample (it reads as the unsampled background).
    bool blockMayHoldSamples(int bx, int by, int bz) const
    {
        return blocks_[grid_.blockAt(bx, by, bz)] || background_.distance != unsampledDistance;
    }
    const BlockGrid& grid() const { return grid_; }
    // Blocks of distances allocated, for memory reports.
    std::size_t allocatedBlocks() const;

private:
    struct Feature {
        std::uint8_t flags;
        vec3 offset;
    };
    std::size_t voxelIndex(int x, int y, int z) const;
    // A block of distances from the chunks, every voxel the background.
    float* newBlock();
    void dropBlocks();

    BlockGrid grid_;
    std::vector<float*> blocks_;       // per block, null while all its voxels are background
    std::vector<ZeroedBlock> chunks_;  // the memory of the blocks
    std::size_t blocksLeftInChunk_ = 0;
    std::unordered_map<std::size_t, Feature> features_;  // by voxel index, where they differ from the background
    VoxelData background_;
};

// Reads and writes the voxels of any volume, straight through the record array or the band's
// blocks when it has them.
class VoxelAccessor {
public:
    explicit VoxelAccessor(GenericVolumeStorage& volume)
        : volume_(volume), records_(volume.records()), band_(volume.band()), xSize_(volume.getXSize()),
          sliceSize_(volume.getSliceSize())
    {
    }

    float distance(int x, int y, int z) const
    {
        if (records_) return records_[offsetOf(x, y, z)].distance;
        if (band_) return band_->distance(x, y, z);
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
        if (band_) {
            band_->setDistance(x, y, z, d);
            return;
        }
        VoxelData v;
        volume_.getVoxel(x, y, z, v);
        v.distance = d;
        volume_.setVoxel(x, y, z, v);
    }

    // The distances of slice z into out (XSize * YSize values, x fastest).
    void readSlice(int z, float* out) const
    {
        if (band_) {
            band_->readSlice(z, out);
            return;
        }
        for (int y = 0; y < volume_.getYSize(); ++y)
            for (int x = 0; x < xSize_; ++x) *out++ = distance(x, y, z);
    }

    // False when block (bx, by, bz) of 8 x 8 x 8 voxels surely holds no sample.
    bool blockMayHoldSamples(int bx, int by, int bz) const
    {
        return !band_ || band_->blockMayHoldSamples(bx, by, bz);
    }

private:
    std::size_t offsetOf(int x, int y, int z) const
    {
        return static_cast<std::size_t>(z) * static_cast<std::size_t>(sliceSize_) +
               static_cast<std::size_t>(y) * static_cast<std::size_t>(xSize_) + static_cast<std::size_t>(x);
    }

    GenericVolumeStorage& volume_;
    VoxelData* records_;
    VolumeStorageBandDF* band_;
    int xSize_, sliceSize_;
};

}  // namespace voxquad

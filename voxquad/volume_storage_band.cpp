#include <algorithm>
#include <cassert>

#include "huge_pages.h"
#include "volume_storage.h"

namespace voxquad {

void VolumeStorageBandDF::setSize(int x, int y, int z)
{
    assert(x >= 0 && y >= 0 && z >= 0);
    if (x != XSize || y != YSize || z != ZSize || blocks_.empty()) {
        grid_ = BlockGrid(x, y, z);
        dropBlocks();
        blocks_.assign(grid_.blockCount(), nullptr);
        features_.clear();
        background_ = VoxelData();
    }
    GenericVolumeStorage::setSize(x, y, z);
}

void VolumeStorageBandDF::setDistance(int x, int y, int z, float d)
{
    float*& block = blocks_[grid_.blockOf(x, y, z)];
    if (!block) {
        if (d == background_.distance) return;
        block = newBlock();
    }
    block[BlockGrid::offsetIn(x, y, z)] = d;
}

float* VolumeStorageBandDF::newBlock()
{
    constexpr std::size_t blockBytes = BlockGrid::blockVoxels * sizeof(float);
    constexpr std::size_t blocksPerChunk = hugePageSize / blockBytes;
    if (blocksLeftInChunk_ == 0) {
        chunks_.emplace_back(blocksPerChunk * blockBytes);
        blocksLeftInChunk_ = blocksPerChunk;
    }
    float* chunk = static_cast<float*>(chunks_.back().data());
    float* block = chunk + (blocksPerChunk - blocksLeftInChunk_--) * BlockGrid::blockVoxels;
    std::fill_n(block, BlockGrid::blockVoxels, background_.distance);
    return block;
}

void VolumeStorageBandDF::dropBlocks()
{
    std::fill(blocks_.begin(), blocks_.end(), nullptr);
    chunks_.clear();
    blocksLeftInChunk_ = 0;
}

void VolumeStorageBandDF::readSlice(int z, float* out) const
{
    constexpr int side = BlockGrid::blockSide;
    const int bz = z >> BlockGrid::blockBits;
    const int inBlockZ = BlockGrid::offsetIn(0, 0, z);
    for (int by = 0; by < grid_.blocksY; ++by) {
        const int y0 = by << BlockGrid::blockBits, rows = std::min(side, YSize - y0);
        for (int bx = 0; bx < grid_.blocksX; ++bx) {
            const int x0 = bx << BlockGrid::blockBits, columns = std::min(side, XSize - x0);
            const float* block = blocks_[grid_.blockAt(bx, by, bz)];
            for (int r = 0; r < rows; ++r) {
                float* row = out + static_cast<std::size_t>(y0 + r) * static_cast<std::size_t>(XSize) + x0;
                if (block)
                    std::copy_n(block + inBlockZ + (r << BlockGrid::blockBits), columns, row);
                else
                    std::fill_n(row, columns, background_.distance);
            }
        }
    }
}

std::size_t VolumeStorageBandDF::voxelIndex(int x, int y, int z) const
{
    return (static_cast<std::size_t>(z) * static_cast<std::size_t>(YSize) + static_cast<std::size_t>(y)) *
               static_cast<std::size_t>(XSize) +
           static_cast<std::size_t>(x);
}

void VolumeStorageBandDF::setVoxel(int x, int y, int z, const VoxelData& voxel)
{
    assert(grid_.contains(x, y, z));
    setDistance(x, y, z, voxel.distance);
    const std::size_t index = voxelIndex(x, y, z);
    if (voxel.flags == background_.flags && voxel.featureOffset == background_.featureOffset)
        features_.erase(index);
    else
        features_[index] = Feature{voxel.flags, voxel.featureOffset};
}

void VolumeStorageBandDF::getVoxel(int x, int y, int z, VoxelData& voxel)
{
    assert(grid_.contains(x, y, z));
    voxel = background_;
    voxel.distance = distance(x, y, z);
    const std::size_t index = voxelIndex(x, y, z);
    const auto found = features_.find(index);
    if (found != features_.end()) {
        voxel.flags = found->second.flags;
        voxel.featureOffset = found->second.offset;
    }
}

void VolumeStorageBandDF::clear()
{
    dropBlocks();
    features_.clear();
    background_.distance = unsampledDistance;
    background_.flags = 0;
    background_.featureOffset = vec3(unsampledDistance, unsampledDistance, unsampledDistance);
}

std::size_t VolumeStorageBandDF::allocatedBlocks() const
{
    return static_cast<std::size_t>(std::count_if(blocks_.begin(), blocks_.end(), [](const auto& b) { return b != nullptr; }));
}

}  // namespace voxquad

#pragma once
// The voxelizer's record of the nearest triangle of each sample (internal to the voxelizer).
#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "block_grid.h"

namespace voxquad {

// Per sample, in blocks of 8 x 8 x 8 beside the volume's: its nearest triangle, the triangle it
// last tried (so that the many neighbours that offer one triangle cost one distance), and the
// ring of the band's widening in which it last changed. Blocks holding samples of a ring are
// queued for that ring.
class NearestTriangles {
public:
    struct Block {
        std::int32_t triangle[BlockGrid::blockVoxels];
        std::int32_t tried[BlockGrid::blockVoxels];
        std::uint8_t ring[BlockGrid::blockVoxels];
        std::uint8_t queuedRing = 0;
    };

    explicit NearestTriangles(const BlockGrid& grid) : grid_(grid), blocks_(grid.blockCount()) {}

    const BlockGrid& grid() const { return grid_; }
    Block* find(std::size_t block) const { return blocks_[block].get(); }
    // Records triangle t as the nearest of (x, y, z), changed in the given ring.
    void set(int x, int y, int z, std::int32_t t, std::uint8_t ring)
    {
        const std::size_t index = grid_.blockOf(x, y, z);
        std::unique_ptr<Block>& block = blocks_[index];
        if (!block) {
            block = std::make_unique_for_overwrite<Block>();
            std::fill_n(block->triangle, BlockGrid::blockVoxels, -1);
            std::fill_n(block->tried, BlockGrid::blockVoxels, -1);
            std::fill_n(block->ring, BlockGrid::blockVoxels, std::uint8_t{0});
            block->queuedRing = 0;
        }
        const int offset = BlockGrid::offsetIn(x, y, z);
        block->triangle[offset] = block->tried[offset] = t;
        block->ring[offset] = ring;
        if (block->queuedRing != ring) {
            block->queuedRing = ring;
            queue_.push_back(static_cast<std::uint32_t>(index));
        }
    }
    // The blocks queued since the last call (in the order they were queued).
    std::vector<std::uint32_t> takeQueue() { return std::exchange(queue_, {}); }
    std::size_t blockCount() const { return blocks_.size(); }

private:
    BlockGrid grid_;
    std::vector<std::unique_ptr<Block>> blocks_;
    std::vector<std::uint32_t> queue_;
};

}  // namespace voxquad

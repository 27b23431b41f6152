#pragma once
#include <cstddef>
#include <cstdint>

namespace voxquad {

// A grid of voxels cut into blocks of 8 x 8 x 8, so that data kept only near a surface can be
// stored block by block. Blocks are numbered x fastest, voxels within a block likewise.
class BlockGrid {
public:
    static constexpr int blockBits = 3;
    static constexpr int blockSide = 1 << blockBits;
    static constexpr int blockVoxels = blockSide * blockSide * blockSide;

    BlockGrid() = default;
    BlockGrid(int x, int y, int z)
        : sizeX(x), sizeY(y), sizeZ(z), blocksX(blocksAlong(x)), blocksY(blocksAlong(y)), blocksZ(blocksAlong(z))
    {
    }

    static int blocksAlong(int voxels) { return (voxels + blockSide - 1) >> blockBits; }

    std::size_t blockCount() const
    {
        return static_cast<std::size_t>(blocksX) * static_cast<std::size_t>(blocksY) * static_cast<std::size_t>(blocksZ);
    }
    std::size_t blockOf(int x, int y, int z) const { return blockAt(x >> blockBits, y >> blockBits, z >> blockBits); }
    std::size_t blockAt(int bx, int by, int bz) const
    {
        return (static_cast<std::size_t>(bz) * static_cast<std::size_t>(blocksY) + static_cast<std::size_t>(by)) *
                   static_cast<std::size_t>(blocksX) +
               static_cast<std::size_t>(bx);
    }
    static int offsetIn(int x, int y, int z)
    {
        constexpr int mask = blockSide - 1;
        return ((z & mask) << (2 * blockBits)) | ((y & mask) << blockBits) | (x & mask);
    }
    bool contains(int x, int y, int z) const
    {
        return x >= 0 && y >= 0 && z >= 0 && x < sizeX && y < sizeY && z < sizeZ;
    }

    int sizeX = 0, sizeY = 0, sizeZ = 0;
    int blocksX = 0, blocksY = 0, blocksZ = 0;
};

}  // namespace voxquad

#include <cmath>

#include "volume_storage.h"
#include "voxelizer.h"
#include "voxelizer_band.h"
#include "winding_columns.h"

namespace voxquad {

namespace {

// The rings of the widening: enough for the band width across the face neighbours (a point five
// cells off along a diagonal is nine steps away), with room for the corrections that a nearer
// triangle makes further in.
constexpr int maxRings = 32;

// Calls visit(x, y, z) for every voxel of a block that changed in the given ring.
template <typename Visit>
void forEachInRing(const NearestTriangles& nearest, std::size_t blockIndex, int ring, Visit visit)
{
    const BlockGrid& grid = nearest.grid();
    const NearestTriangles::Block& block = *nearest.find(blockIndex);
    const int bx = static_cast<int>(blockIndex % static_cast<std::size_t>(grid.blocksX));
    const int by = static_cast<int>(blockIndex / static_cast<std::size_t>(grid.blocksX) % static_cast<std::size_t>(grid.blocksY));
    const int bz = static_cast<int>(blockIndex / (static_cast<std::size_t>(grid.blocksX) * static_cast<std::size_t>(grid.blocksY)));
    for (int offset = 0; offset < BlockGrid::blockVoxels; ++offset) {
        if (block.ring[offset] != ring) continue;
        visit((bx << BlockGrid::blockBits) + (offset & (BlockGrid::blockSide - 1)),
              (by << BlockGrid::blockBits) + ((offset >> BlockGrid::blockBits) & (BlockGrid::blockSide - 1)),
              (bz << BlockGrid::blockBits) + (offset >> (2 * BlockGrid::blockBits)), block.triangle[offset]);
    }
}

}  // namespace

void PolygonStorageVoxelizerDual::widenBand()
{
    const VoxelAccessor voxels(*volume);
    const BlockGrid& grid = nearest->grid();
    // Samples stay within the boxes' reach: the last index along an axis is never written.
    const int limit[3] = {grid.sizeX - 2, grid.sizeY - 2, grid.sizeZ - 2};
    // Offers triangle to the neighbour (x, y, z) of a point that lies reach farther from it than
    // the neighbour can (the point's distance less the step between them): a neighbour already
    // that close cannot get nearer through this triangle, and is passed over without a distance.
    auto offer = [&](int x, int y, int z, std::int32_t triangle, float reach, int ring) {
        NearestTriangles::Block* block = nearest->find(grid.blockOf(x, y, z));
        const int offset = BlockGrid::offsetIn(x, y, z);
        if (block && (block->triangle[offset] == triangle || block->tried[offset] == triangle)) return;
        const float current = std::fabs(voxels.distance(x, y, z));
        if (current <= reach) return;
        if (block) block->tried[offset] = triangle;
        const float d = signedDistance(vec3(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)),
                                       triangle, std::min(current, voxelizerBandWidth));
        if (d == unsampledDistance) return;
        voxels.setDistance(x, y, z, d);
        nearest->set(x, y, z, triangle, static_cast<std::uint8_t>(ring));
    };
    // A step to a face neighbour, with a margin for the rounding of the distances.
    constexpr float step = 1.001f;
    constexpr int neighbours[6][3] = {{-1, 0, 0}, {1, 0, 0}, {0, -1, 0}, {0, 1, 0}, {0, 0, -1}, {0, 0, 1}};
    for (int ring = 1; ring < maxRings; ++ring) {
        const std::vector<std::uint32_t> blocks = nearest->takeQueue();
        if (blocks.empty()) break;
        for (std::uint32_t b : blocks)
            forEachInRing(*nearest, b, ring, [&](int x, int y, int z, std::int32_t triangle) {
                const float reach = std::fabs(voxels.distance(x, y, z)) - step;
                for (const auto& d : neighbours) {
                    const int nx = x + d[0], ny = y + d[1], nz = z + d[2];
                    if (nx < 0 || ny < 0 || nz < 0 || nx > limit[0] || ny > limit[1] || nz > limit[2]) continue;
                    offer(nx, ny, nz, triangle, reach, ring + 1);
                }
            });
    }
}

void PolygonStorageVoxelizerDual::signByWinding()
{
    if (!windings) return;
    const VoxelAccessor voxels(*volume);
    const BlockGrid& grid = nearest->grid();
    for (int bz = 0; bz < grid.blocksZ; ++bz)
        for (int by = 0; by < grid.blocksY; ++by)
            for (int bx = 0; bx < grid.blocksX; ++bx) {
                const NearestTriangles::Block* block = nearest->find(grid.blockAt(bx, by, bz));
                if (!block) continue;
                for (int offset = 0; offset < BlockGrid::blockVoxels; ++offset) {
                    const std::int32_t triangle = block->triangle[offset];
                    if (triangle < 0 || !shells.isClosed(triangle)) continue;
                    const int x = (bx << BlockGrid::blockBits) + (offset & (BlockGrid::blockSide - 1));
                    const int y = (by << BlockGrid::blockBits) + ((offset >> BlockGrid::blockBits) & (BlockGrid::blockSide - 1));
                    const int z = (bz << BlockGrid::blockBits) + (offset >> (2 * BlockGrid::blockBits));
                    const float len = std::fabs(voxels.distance(x, y, z));
                    voxels.setDistance(x, y, z, windings->insideAt(x, y, z) ? -len : len);
                }
            }
}

}  // namespace voxquad

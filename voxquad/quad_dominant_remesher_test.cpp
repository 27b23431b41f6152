#include "quad_dominant_remesher.h"

#include <gtest/gtest.h>

namespace voxquad {

TEST(GridSize, CubicCellsAlongTheBoxProportions)
{
    struct Case {
        vec3 size;
        int target;
        int nx, ny, nz;
    };
    const Case cases[] = {
        {{1, 1, 1}, 6000000, 181, 181, 181},
        {{2, 1, 1}, 6000000, 288, 144, 144},
        {{0.002f, 0.001f, 0.001f}, 6000000, 288, 144, 144},  // only the proportions count
        {{3, 1, 2}, 1000000, 165, 55, 110},
    };
    for (const Case& c : cases) {
        GridSize grid;
        std::string error;
        ASSERT_TRUE(gridSizeFor(c.size, c.target, grid, error)) << error;
        EXPECT_EQ(grid.nx, c.nx);
        EXPECT_EQ(grid.ny, c.ny);
        EXPECT_EQ(grid.nz, c.nz);
    }
}

TEST(GridSize, RefusesUnusableGrids)
{
    const std::pair<vec3, int> cases[] = {
        {{1, 1, 1}, 0}, {{1, 1, 1}, -6000000}, {{1, 1, 0}, 6000000}, {{0, 0, 0}, 6000000}, {{100, 100, 1}, 20000},
    };
    for (const auto& [size, target] : cases) {
        GridSize grid;
        std::string error;
        EXPECT_FALSE(gridSizeFor(size, target, grid, error));
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace voxquad

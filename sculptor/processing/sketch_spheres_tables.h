// The classic marching-cubes case tables (W. E. Lorensen and H. E. Cline,
// "Marching cubes: a high resolution 3D surface construction algorithm",
// SIGGRAPH 1987), in the widely published form of P. Bourke, "Polygonising a
// scalar field" (tables by C. G. Bloyd), for this numbering of a cube (i, j, k):
//
//   corner 0 (i, j, k)      1 (i+1, j, k)      2 (i+1, j, k+1)    3 (i, j, k+1)
//          4 (i, j+1, k)    5 (i+1, j+1, k)    6 (i+1, j+1, k+1)  7 (i, j+1, k+1)
//   edge e joins the corners (0,1) (1,2) (2,3) (3,0) (4,5) (5,6) (6,7) (7,4)
//          (0,4) (1,5) (2,6) (3,7); kCubeEdgeCorners lists each pair from
//          its lower grid index to its higher one, so that a crossing
//          computed from the first corner to the second comes out the same,
//          to the bit, in all four cubes that share the edge
//
// The case index sets bit c for every corner c below the level. kCubeEdgeTable
// holds the cut edges of each case (bit e for edge e), kCubeTriangleTable up to
// five triangles as edge triples, the row ended by -1.
#pragma once

#include <cstdint>

inline constexpr int kCubeCornerOffset[8][3] = {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1},
                                                {0, 1, 0}, {1, 1, 0}, {1, 1, 1}, {0, 1, 1}};

inline constexpr int kCubeEdgeCorners[12][2] = {{0, 1}, {1, 2}, {3, 2}, {0, 3}, {4, 5}, {5, 6},
                                                {7, 6}, {4, 7}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};

extern const uint16_t kCubeEdgeTable[256];
extern const int8_t kCubeTriangleTable[256][16];

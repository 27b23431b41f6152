#include "mesh_shapes.h"

#include <gtest/gtest.h>

#include <cmath>

#include "mesh_checks.h"

TEST(MeshShapes, GeodesicSphere) {
  const TGeosphera e = MakeGeodesicSphere(3, 2.5f);
  EXPECT_EQ(e.indexCount, 3 * 20 * 64);
  EXPECT_EQ(e.vertexCount, 10 * 64 + 2);
  EXPECT_TRUE(ClosedAndOriented(e));
  EXPECT_GT(SignedVolume(e), 0.9 * 4.18879 * 2.5 * 2.5 * 2.5);
  for (const TGLCoord& p : e.vertices) EXPECT_NEAR(std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z), 2.5, 1e-5);
}

TEST(MeshShapes, CubeSphereStoresQuadsAsPairs) {
  const TGeosphera e = MakeCubeSphere(4, 2.5f);
  EXPECT_EQ(e.indexCount, 6 * 16 * 6);
  EXPECT_EQ(e.vertexCount, 6 * 16 + 2);
  EXPECT_TRUE(ClosedAndOriented(e));
  EXPECT_GT(SignedVolume(e), 0);
  // Pair (a, b, c), (a, c, d): the second triangle starts with the first's a and c.
  for (size_t c = 0; c < e.faces.size(); c += 6) {
    EXPECT_EQ(e.faces[c + 3], e.faces[c]);
    EXPECT_EQ(e.faces[c + 4], e.faces[c + 2]);
  }
}

TEST(MeshShapes, RotationRingsInAxisOrder) {
  const TGeosphera e = MakeRotationRings(288, 16, 3.0f, 0.04f);
  ASSERT_EQ(e.vertexCount, 3 * 4608);
  EXPECT_TRUE(ClosedAndOriented(e));
  EXPECT_GT(SignedVolume(e), 0);
  // The first ring turns about y (|y| stays within the tube), the second about x, the third about z.
  for (int ring = 0; ring < 3; ++ring) {
    float spread[3] = {0, 0, 0};
    for (int v = ring * 4608; v < (ring + 1) * 4608; ++v) {
      spread[0] = std::max(spread[0], std::abs(e.vertices[v].x));
      spread[1] = std::max(spread[1], std::abs(e.vertices[v].y));
      spread[2] = std::max(spread[2], std::abs(e.vertices[v].z));
    }
    const int axis = ring == 0 ? 1 : ring == 1 ? 0 : 2;
    EXPECT_LE(spread[axis], 0.0401f) << "ring " << ring;
  }
}

#include "stray_pieces.h"

#include <gtest/gtest.h>

#include "mesh_shapes.h"

namespace {

// Appends a geodesic sphere in one colour; returns its vertices (as samples).
std::vector<Float3> AddSphere(ColoredMesh& mesh, int levels, float radius, Float3 center, Rgb color) {
  const TGeosphera sphere = MakeGeodesicSphere(levels, radius);
  const int32_t first = static_cast<int32_t>(mesh.positions.size());
  std::vector<Float3> added;
  for (int v = 0; v < sphere.vertexCount; ++v) {
    const TGLCoord& p = sphere.vertices[static_cast<size_t>(v)];
    added.push_back({p.x + center[0], p.y + center[1], p.z + center[2]});
    mesh.colors.push_back(color);
  }
  mesh.positions.insert(mesh.positions.end(), added.begin(), added.end());
  for (size_t c = 0; c < sphere.faces.size(); c += 3)
    mesh.triangles.push_back({first + static_cast<int32_t>(sphere.faces[c]),
                              first + static_cast<int32_t>(sphere.faces[c + 1]),
                              first + static_cast<int32_t>(sphere.faces[c + 2])});
  return added;
}

}  // namespace

TEST(StrayPieces, KeepsThePiecesTheSamplesNeed) {
  const Rgb kBody{200, 0, 0}, kSecondPart{0, 200, 0}, kGhost{0, 0, 200}, kFar{9, 9, 9};
  ColoredMesh mesh;
  AddSphere(mesh, 2, 0.3f, {4, 4, 4}, kFar);  // near no sample
  std::vector<Float3> samples = AddSphere(mesh, 3, 1, {0, 0, 0}, kBody);
  AddSphere(mesh, 1, 0.01f, {1.003f, 0, 0}, kGhost);  // a small shell beside the body
  const std::vector<Float3> part = AddSphere(mesh, 2, 0.4f, {2, 0, 0}, kSecondPart);
  samples.insert(samples.end(), part.begin(), part.end());

  DropStrayPieces(mesh, samples, 6);

  ASSERT_EQ(mesh.positions.size(), 642u + 162u);
  ASSERT_EQ(mesh.colors.size(), mesh.positions.size());
  ASSERT_EQ(mesh.triangles.size(), 1280u + 320u);
  for (const std::array<int32_t, 3>& t : mesh.triangles) {
    const Rgb& color = mesh.colors[static_cast<size_t>(t[0])];
    EXPECT_TRUE(color == kBody || color == kSecondPart);
    for (int32_t v : t) {
      ASSERT_LT(static_cast<size_t>(v), mesh.positions.size());
      EXPECT_EQ(mesh.colors[static_cast<size_t>(v)], color);  // colours moved with their vertices
    }
  }
}

TEST(StrayPieces, LeavesAMeshThatNoSampleReaches) {
  ColoredMesh mesh;
  AddSphere(mesh, 2, 1, {0, 0, 0}, {1, 2, 3});
  const ColoredMesh before = mesh;
  DropStrayPieces(mesh, {{50, 50, 50}}, 8);
  EXPECT_EQ(mesh.triangles, before.triangles);
  EXPECT_EQ(mesh.positions, before.positions);
}

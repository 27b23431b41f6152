// The base models as the build wrote them beside the executables.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/start_mesh.h"
#include "base_models.h"
#include "io/model_conversion.h"
#include "mesh_checks.h"
#include "model/scene.h"

namespace {

std::string ModelFile(const BaseModel& model) {
  return std::string(PLASMORA_BIN_DIR) + "/" + kStartMeshChoices[size_t(model.choice - 1)].model;
}

std::string Caption(const BaseModel& model) { return kStartMeshChoices[size_t(model.choice - 1)].caption; }

double BoxDiagonal(const TGeosphera& e) {
  Vec3d low = PointOf(e, 0), high = low;
  for (uint32_t v = 0; v < e.vertices.size(); ++v) {
    const Vec3d p = PointOf(e, v);
    low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
    high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
  }
  return Length(high - low);
}

}  // namespace

// Test names and failure lines name the model by its button.
void PrintTo(const BaseModel& model, std::ostream* out) { *out << Caption(model); }

namespace {

class BaseModelFile : public ::testing::TestWithParam<BaseModel> {};

TEST_P(BaseModelFile, IsOneClosedOutwardShellOfQuadPairs) {
  const BaseModel& model = GetParam();
  TScene scene;
  ASSERT_TRUE(LoadIntoScene(scene, ModelFile(model), kModelMet, 1.0f)) << ModelFile(model);
  ASSERT_EQ(scene.elementCount(), 1);
  const TGeosphera& e = scene.elements[0];
  const size_t triangles = e.faces.size() / 3;
  EXPECT_GE(triangles, 20000u);
  EXPECT_LE(triangles, 120000u);
  EXPECT_TRUE(ClosedAndOriented(e)) << "a border, a non-manifold or a flipped edge";
  EXPECT_EQ(ShellCount(e), 1);
  EXPECT_GT(SignedVolume(e), 0);
  EXPECT_EQ(FoldedTriangles(e), 0u);
  // Quads as triangle pairs (a, b, c), (a, c, d) throughout.
  ASSERT_EQ(triangles % 2, 0u);
  size_t unpaired = 0;
  for (size_t c = 0; c < e.faces.size(); c += 6) unpaired += e.faces[c + 3] != e.faces[c] || e.faces[c + 4] != e.faces[c + 2];
  EXPECT_EQ(unpaired, 0u);
}

TEST_P(BaseModelFile, IsItsOwnMirrorImageAcrossZ) {
  const BaseModel& model = GetParam();
  if (!model.mirrorSymmetric) GTEST_SKIP() << "a single ear, arm or leg has no mirror plane";
  TScene scene;
  ASSERT_TRUE(LoadIntoScene(scene, ModelFile(model), kModelMet, 1.0f));
  const TGeosphera& e = scene.elements[0];
  EXPECT_LE(MirrorDeviation(e, 7), 0.01 * BoxDiagonal(e));
}

INSTANTIATE_TEST_SUITE_P(StartMeshes, BaseModelFile, ::testing::ValuesIn(BaseModels().begin(), BaseModels().end()),
                         [](const ::testing::TestParamInfo<BaseModel>& info) {
                           std::string name = Caption(info.param);
                           std::erase(name, ' ');
                           return name;
                         });

}  // namespace

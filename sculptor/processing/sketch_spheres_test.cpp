#include "processing/sketch_spheres.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <new>
#include <string>
#include <vector>

#include "model/messages.h"
#include "model/test_meshes.h"
#include "model/test_scene_host.h"
#include "processing/sketch_spheres_mesh_checks.h"

namespace {

TGeosphera Sphere(TGLCoord position, float radius) {
  TGeosphera e = MakeOctahedron();
  e.position = position;
  e.loadExtent = radius;
  return e;
}

// Element 0 (an octahedron standing for any earlier shape) and sketch spheres.
TScene SketchScene(float principalExtent, const std::vector<TGLCoord>& spheres, float radius) {
  TScene scene;
  ResetScene(scene);
  scene.elements[0] = MakeOctahedron();
  scene.elements[0].uid = 1;
  scene.elements[0].name = "Principal";
  scene.elements[0].loadExtent = principalExtent;
  scene.elements[0].sketchBase = 1;
  for (const TGLCoord& p : spheres) {
    const int i = AppendElement(scene);
    const uint32_t uid = scene.elements[static_cast<size_t>(i)].uid;
    scene.elements[static_cast<size_t>(i)] = Sphere(p, radius);
    scene.elements[static_cast<size_t>(i)].uid = uid;
  }
  return scene;
}

TEST(SketchBalls, NearSpheresCollapseToTheLowerIndexAndCoincidentOnesStay) {
  struct Case {
    std::string name;
    std::vector<TGLCoord> positions;  // element 0 first
    std::vector<int> kept;
  };
  const Case cases[] = {
      {"coincident spheres both stay", {{0, 0, 0}, {1, 1, 1}, {1, 1, 1}}, {0, 1, 2}},
      {"a near sphere goes, the lower index stays", {{0, 0, 0}, {1, 1, 1}, {1.2f, 1, 1}}, {0, 1}},
      {"near element 0 the sphere goes", {{0, 0, 0}, {0.1f, 0, 0}}, {0}},
      // 1 drops 2 at once, so 2 (gone) cannot drop 3; 1 and 3 are 0.4 apart.
      {"a dropped sphere drops nothing", {{0, 0, 0}, {1, 0, 0}, {1.2f, 0, 0}, {1.4f, 0, 0}}, {0, 1, 3}},
      {"0.3 apart both stay", {{0, 0, 0}, {1, 0, 0}, {1, 0.3f, 0}}, {0, 1, 2}},
  };
  for (const Case& c : cases) {
    ATGeosphera elements;
    for (const TGLCoord& p : c.positions) elements.push_back(Sphere(p, 0.5f));
    EXPECT_EQ(SketchBallElements(elements), c.kept) << c.name;
  }

  ATGeosphera elements = {Sphere({0, 0, 0}, 2.5f), Sphere({1, 0, 0}, 0.6f)};
  const TMetaBalls balls = SketchBalls(elements);
  ASSERT_EQ(balls.size(), 2u);
  EXPECT_FLOAT_EQ(balls[0].strength, 22.5f);  // loadExtent x 9
  EXPECT_FLOAT_EQ(balls[1].strength, 0.06f);  // loadExtent^2 / 6
  EXPECT_EQ(balls[1].position, (TGLCoord{1, 0, 0}));
}

// With only element 0 the result is one round blob of strength 9 x loadExtent
// about its position, whatever element 0 held before.
TEST(ConvertSketch, OnlyElementZeroGivesOneBlob) {
  CapturingMessageSink messages;
  TScene scene = SketchScene(2.5f, {}, 0);
  scene.elements[0].uvs.assign(6, TGLUV{});
  scene.elements[0].uvCount = 6;
  scene.elements[0].subdivLevel = 2;
  ASSERT_TRUE(ConvertSketch(scene, 10));
  EXPECT_TRUE(messages.entries.empty());
  ASSERT_EQ(scene.elementCount(), 1);
  const TGeosphera& e = scene.elements[0];
  const float radius = std::pow(22.5f, 0.25f);
  for (const TGLCoord& v : e.vertices) ASSERT_NEAR(std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z), radius, 0.03f);
  sketch_checks::ExpectClosedManifoldOutward(e.vertices, e.faces);
  EXPECT_EQ(e.name, "Principal");
  EXPECT_EQ(e.sketchBase, 1);
  EXPECT_EQ(e.vertexCount, static_cast<int32_t>(e.vertices.size()));
  EXPECT_EQ(e.indexCount, static_cast<int32_t>(e.faces.size()));
  EXPECT_EQ(e.colors, TCores(e.vertices.size(), kDefaultVertexColor));
  EXPECT_EQ(e.vertexState.size(), e.vertices.size() + 1);
  EXPECT_EQ(e.normals.size(), e.vertices.size());
  EXPECT_NEAR(e.normals[0].x * e.vertices[0].x + e.normals[0].y * e.vertices[0].y + e.normals[0].z * e.vertices[0].z,
              radius, 0.05f);  // outward unit normals
  EXPECT_TRUE(e.uvs.empty());
  EXPECT_EQ(e.uvCount, 0);
  EXPECT_EQ(e.subdivLevel, 0);
}

// The sphere elements leave the scene through the element delete (so their
// buffers and undo rings go) and element 0 is rebuilt and drawn.
TEST(ConvertSketch, ReplacesElementZeroAndRemovesTheSpheres) {
  TScene scene = SketchScene(2.5f, {{2.2f, 0.4f, 0.5f}, {2.2f, 0.4f, -0.5f}}, 0.7f);
  RecordingSceneHost host;
  host.Attach(scene);
  scene.currentElement = 2;
  ASSERT_TRUE(ConvertSketch(scene, 2));
  EXPECT_EQ(scene.elementCount(), 1);
  EXPECT_EQ(scene.currentElement, 0);
  EXPECT_TRUE(host.Called("deleted 3"));
  EXPECT_TRUE(host.Called("deleted 2"));
  EXPECT_FALSE(host.Called("deleted 1"));
  EXPECT_TRUE(host.Called("upload 0"));
  EXPECT_TRUE(host.Called("grids"));
  EXPECT_TRUE(host.Called("level 0"));
  EXPECT_EQ(scene.adjacencyWidth, scene.elements[0].adjacency.width);
  float reach = 0;
  for (const TGLCoord& v : scene.elements[0].vertices) reach = std::max(reach, v.x);
  EXPECT_GT(reach, 2.5f);  // the spheres' bulge
}

// Two overlapping balls and a chain of ten (as a stroke leaves them, mirrored
// pairs included) give one closed, manifold, outward mesh.
TEST(ConvertSketch, OverlappingBallsAndAChainGiveAClosedOutwardMesh) {
  struct Case {
    std::string name;
    std::vector<TGLCoord> spheres;
    float radius;
    float resolution;
    float shift = 0;  // along x, for all balls
  };
  std::vector<TGLCoord> chain;
  for (int s = 1; s < 10; ++s) chain.push_back({1.0f + 0.35f * s, 0.1f * s, 0.05f * s * s});
  std::vector<TGLCoord> farChain = chain;
  for (TGLCoord& p : farChain) p.x += 25;
  const Case cases[] = {
      {"two overlapping balls", {{1.4f, 0.2f, 0.1f}}, 1.0f, 2},
      {"a chain of ten", chain, 0.8f, 4},
      {"a chain of ten, coarse", chain, 0.8f, 2},
      // Where a float step exceeds the weld distance, only crossings computed
      // alike in neighbouring cubes keep the mesh closed.
      {"a chain of ten far out", farChain, 0.8f, 10, 25},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TScene scene = SketchScene(1.0f, c.spheres, c.radius);
    scene.elements[0].position.x = c.shift;
    ASSERT_TRUE(ConvertSketch(scene, c.resolution));
    const TGeosphera& e = scene.elements[0];
    sketch_checks::ExpectClosedManifoldOutward(e.vertices, e.faces);
  }
}

// Nothing is touched unless the conversion succeeds; every failure says why.
TEST(ConvertSketch, AFailureLeavesElementZeroAndTheSpheresAsTheyWere) {
  struct Case {
    std::string name;
    float principalExtent;
    float resolution;
    SketchProgress progress;
    std::string message;
  };
  const Case cases[] = {
      {"resolution below the bar", 2.5f, 1.4f, {}, kSketchResolutionOutOfRange},
      {"resolution above the bar", 2.5f, 10.6f, {}, kSketchResolutionOutOfRange},
      {"resolution not a number", 2.5f, std::numeric_limits<float>::quiet_NaN(), {}, kSketchResolutionOutOfRange},
      {"no surface", -2.5f, 2, {}, kSketchNoSurface},
      {"cut short", 2.5f, 2, [](int done, int) { return done < 45; }, kSketchCanceled},
      {"out of memory", 2.5f, 2,
       [](int done, int) -> bool {
         if (done == 45) throw std::bad_alloc();
         return true;
       },
       kSketchNotEnoughMemory},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CapturingMessageSink messages;
    // Off the grid points, so a negative principal field gives nothing at all.
    TScene scene = SketchScene(c.principalExtent, {{2.2f, 0.4f, 0.5f}, {2.2f, 0.4f, -0.5f}}, 0.7f);
    scene.elements[0].position = {0.1f, 0.1f, 0.1f};
    const ATGeosphera before = scene.elements;
    EXPECT_FALSE(ConvertSketch(scene, c.resolution, c.progress));
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{c.message});
    ASSERT_EQ(scene.elementCount(), 3);
    for (size_t i = 0; i < before.size(); ++i) {
      EXPECT_EQ(scene.elements[i].vertices, before[i].vertices);
      EXPECT_EQ(scene.elements[i].faces, before[i].faces);
      EXPECT_EQ(scene.elements[i].position, before[i].position);
    }
  }
}

}  // namespace

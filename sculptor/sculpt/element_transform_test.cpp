#include "sculpt/element_transform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "model/scene.h"
#include "model/test_meshes.h"
#include "model/topology.h"

namespace {

void ExpectNear(const TGLCoord& a, const TGLCoord& b, float tolerance = 1e-5f) {
  EXPECT_NEAR(a.x, b.x, tolerance);
  EXPECT_NEAR(a.y, b.y, tolerance);
  EXPECT_NEAR(a.z, b.z, tolerance);
}

TGeosphera OctahedronAt(const TGLCoord& c) {
  TGeosphera e = MakeOctahedron();
  for (TGLCoord& v : e.vertices) v = {v.x + c.x, v.y + c.y, v.z + c.z};
  RefreshElement(e);
  e.center = ElementCenter(e);
  return e;
}

TEST(RotateAboutAxis, TurnsCounterClockwiseAboutTheUnitAxes) {
  struct Case {
    TGLCoord v, axis;
    float degrees;
    TGLCoord expected;
  };
  for (const Case& c : {Case{{1, 0, 0}, {0, 1, 0}, 90, {0, 0, -1}}, Case{{1, 0, 0}, {0, 0, 1}, 90, {0, 1, 0}},
                        Case{{0, 1, 0}, {1, 0, 0}, 90, {0, 0, 1}}, Case{{0, 1, 0}, {1, 0, 0}, -180, {0, -1, 0}},
                        Case{{2, 3, 4}, {0, 1, 0}, 0, {2, 3, 4}}}) {
    ExpectNear(RotateAboutAxis(c.v, c.axis, c.degrees), c.expected);
  }
}

TEST(HandleRotationStep, RingIndexRangesChooseTheAngle) {
  struct Case {
    int vertex, dx, dy;
    TGLCoord step;  // X, Z, Y
  };
  for (const Case& c : {Case{0, 5, 9, {0, 0, 1}}, Case{4607, -10, 0, {0, 0, -2}}, Case{4608, 5, 5, {}},
                        Case{4609, 5, 5, {}}, Case{4610, 9, 5, {1, 0, 0}}, Case{9215, 0, -5, {-1, 0, 0}},
                        Case{9216, 5, 5, {}}, Case{9217, 9, 5, {0, -1, 0}}, Case{13823, 0, -15, {0, 3, 0}},
                        Case{-1, 5, 5, {}}}) {
    EXPECT_EQ(HandleRotationStep(c.vertex, c.dx, c.dy), c.step) << c.vertex;
  }
}

TEST(ApplyRotationStep, FivePixelsOnTheFirstRingTurnOneDegreeAboutYThroughTheCentre) {
  const TGLCoord c{3, -1, 2};
  TGeosphera e = OctahedronAt(c);
  // The pointer moved 5 pixels to the right: LastMouse.x - X = -5.
  e.rotation = HandleRotationStep(10, -5, 0);
  ApplyRotationStep(e);
  const double t = std::numbers::pi / 180;
  const TGLCoord expected{static_cast<float>(c.x + std::cos(t)), c.y, static_cast<float>(c.z - std::sin(t))};
  ExpectNear(e.vertices[0], expected);
  ExpectNear(e.vertices[2], {c.x, c.y + 1, c.z});  // on the axis
  ExpectNear(ElementCenter(e), c);
  EXPECT_EQ(e.rotation, TGLCoord{});
  // The normals turned with the surface.
  ExpectNear(e.normals[0], {static_cast<float>(std::cos(t)), 0, static_cast<float>(-std::sin(t))}, 2e-3f);
}

TEST(ApplyRotationStep, TurnsAboutXThenZThenMinusY) {
  TGeosphera e = OctahedronAt({});
  e.rotation = {90, 90, 0};  // X 90 then Z 90: +z goes to -y, then to +x
  ApplyRotationStep(e);
  ExpectNear(e.vertices[4], {1, 0, 0});
  e.rotation = {0, 0, 90};  // minus Y: +x goes to +z
  ApplyRotationStep(e);
  ExpectNear(e.vertices[4], {0, 0, 1});
}

TEST(ApplyScaleStep, ScalesAboutTheCentreAndReturnsToUnitScale) {
  const TGLCoord c{1, 2, 3};
  for (const auto& [shrink, factor] : {std::pair{true, 0.9f}, std::pair{false, 1.1f}}) {
    TGeosphera e = OctahedronAt(c);
    ApplyScaleStep(e, shrink);
    ExpectNear(e.vertices[0], {c.x + factor, c.y, c.z});
    ExpectNear(e.vertices[5], {c.x, c.y, c.z - factor});
    EXPECT_EQ(e.scale, (TGLCoord{1, 1, 1}));
  }
}

TEST(BakePosition, MovesTheVerticesAndRecentres) {
  TGeosphera e = OctahedronAt({});
  e.position = {1, -2, 0.5f};
  BakePosition(e);
  EXPECT_EQ(e.vertices[0], (TGLCoord{2, -2, 0.5f}));
  EXPECT_EQ(e.position, TGLCoord{});
  ExpectNear(e.center, {1, -2, 0.5f});
}

TEST(PlaceHandleAt, CentresTheHandleOnThePoint) {
  TGeosphera handle = OctahedronAt({5, 5, 5});
  PlaceHandleAt(handle, {-1, 0, 2});
  ExpectNear(ElementCenter(handle), {-1, 0, 2});
  ExpectNear(handle.vertices[0], {0, 0, 2});
  EXPECT_EQ(handle.center, (TGLCoord{-1, 0, 2}));
}

}  // namespace

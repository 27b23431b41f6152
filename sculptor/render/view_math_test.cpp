#include "render/view_math.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(ViewMath, PresetsSetBothCamerasYaws) {
  struct Case {
    ViewPreset preset;
    double mainYaw, mirrorYaw;
    const char* label;
  };
  const Case cases[] = {{ViewPreset::Front, 270, 270, "Front Position"},
                        {ViewPreset::Left, 180, 360, "Left Position"},
                        {ViewPreset::Right, 0, 180, "Right Position"},
                        {ViewPreset::Back, 90, 90, "Back Position"}};
  for (const Case& c : cases) {
    TCamera main{12, 3, 45, 1, 2}, mirror{12, 3, 135, -1, 2};
    ApplyViewPreset(c.preset, main, mirror);
    EXPECT_EQ(main.yaw, c.mainYaw);
    EXPECT_EQ(mirror.yaw, c.mirrorYaw);
    EXPECT_EQ(main.pitch, 0);
    EXPECT_EQ(mirror.roll, 0);
    EXPECT_EQ(ViewLabelFor(main), c.label);
    EXPECT_EQ(ViewPresetFromCaption(ViewPresetCaption(c.preset)), c.preset);
  }
}

TEST(ViewMath, ViewLabelOnlyForExactPresetAngles) {
  EXPECT_EQ(ViewLabelFor(TCamera{}), "Front Position");
  EXPECT_EQ(ViewLabelFor(TCamera{0, 0, 270.0001, 0, 0}), "");
  EXPECT_EQ(ViewLabelFor(TCamera{-0.3, 0, 270, 0, 0}), "");
  EXPECT_EQ(ViewLabelFor(TCamera{0, 1, 90, 0, 0}), "");
  EXPECT_EQ(ViewLabelFor(TCamera{0, 0, 360, 0, 0}), "");
}

TEST(ViewMath, WheelZoomFactors) {
  EXPECT_FLOAT_EQ(WheelZoom(20, 0.08f, true), 18.4f);
  EXPECT_FLOAT_EQ(WheelZoom(20, 0.08f, false), 21.6f);
  EXPECT_FLOAT_EQ(WheelZoom(10, 0.01f, true), 9.9f);
}

TEST(ViewMath, ViewHalfWidthFollowsRoundedHalfSizes) {
  const double h = StartViewHalfHeight();
  EXPECT_NEAR(h, 0.315299, 1e-6);
  EXPECT_DOUBLE_EQ(ViewHalfWidthFor(h, 800, 600), h * 400 / 300);
  EXPECT_DOUBLE_EQ(ViewHalfWidthFor(h, 801, 2), h * 400 / 1);  // halves to even
  EXPECT_TRUE(std::isfinite(ViewHalfWidthFor(h, 100, 1)));
  EXPECT_TRUE(std::isfinite(ViewHalfWidthFor(h, 100, 0)));
}

TEST(ViewMath, ProjectAndUnprojectAreInverse) {
  TCamera camera{25, 0, 300, 0.5f, -0.25f};
  const TMatrix4 mv = CameraModelview(camera, {0, 0, 15, 0, 0, 0, 0, 1, 0});
  const TMatrix4 pr = CameraProjection(camera, 0.42, 0.315, 20, -100, 500);
  const TViewport vp{0, 0, 640, 480};
  const std::array<double, 3> p{1.5, -0.7, 2.25};
  const auto w = ProjectWithMatrices(p, mv, pr, vp);
  ASSERT_TRUE(w);
  const auto back = UnprojectWithMatrices(*w, mv, pr, vp);
  ASSERT_TRUE(back);
  for (int i = 0; i < 3; ++i) EXPECT_NEAR((*back)[i], p[i], 1e-9);
}

TEST(ViewMath, FrontCameraMapsModelZToScreenRightAndPansTheWindow) {
  // The front view looks at the symmetry plane z = 0 edge-on: model +z is to
  // the right, +y up; a pan of 2 units shifts the window right by 2 units.
  TCamera camera;
  camera.panX = 2;
  const TMatrix4 mv = CameraModelview(camera, {0, 0, 15, 0, 0, 0, 0, 1, 0});
  const TMatrix4 pr = CameraProjection(camera, 0.4, 0.3, 10, -100, 500);
  const TViewport vp{0, 0, 800, 600};  // 100 pixels per unit
  const auto origin = ProjectWithMatrices({0, 0, 0}, mv, pr, vp);
  const auto plusZ = ProjectWithMatrices({0, 1, 1}, mv, pr, vp);
  ASSERT_TRUE(origin && plusZ);
  EXPECT_NEAR(origin->x, 200, 1e-9);
  EXPECT_NEAR(origin->y, 300, 1e-9);
  EXPECT_NEAR(plusZ->x, 300, 1e-9);
  EXPECT_NEAR(plusZ->y, 400, 1e-9);
}

TEST(ViewMath, SingularMatrixDoesNotInvert) {
  TMatrix4 zero{};
  EXPECT_FALSE(InvertMatrix(zero));
  EXPECT_FALSE(UnprojectWithMatrices({1, 1, 0.5}, zero, zero, {0, 0, 10, 10}));
}

TEST(ViewMath, CursorCircleOffsets) {
  const auto circle = BuildCursorCircle(40, 20);
  ASSERT_EQ(circle.size(), 40u);
  EXPECT_FLOAT_EQ(circle[0][0], 20);
  EXPECT_NEAR(circle[10][0], 0, 1e-5);
  EXPECT_FLOAT_EQ(circle[10][1], 20);
  EXPECT_TRUE(BuildCursorCircle(0, 5).empty());
}

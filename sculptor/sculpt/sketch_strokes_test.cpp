#include "sculpt/sketch_strokes.h"

#include <gtest/gtest.h>

namespace {

using A = TSketchAxis;

TEST(SketchStrokes, LockAxisByCameraAngles) {
  const struct {
    double pitch, yaw;
    A atPress, duringDrag;
  } cases[] = {
      {0, 270, A::X, A::X},       // the start view, along -x
      {0, 90, A::X, A::X},        //
      {44.9, 180, A::Z, A::Z},    // still level
      {316, 10, A::Z, A::Z},      // level from below, yaw (0, 45)
      {0, 350, A::Z, A::Z},       //
      {0, 135, A::X, A::None},    // borders: closed above at the press only
      {0, 315, A::X, A::None},    //
      {0, 225, A::Z, A::None},    //
      {0, 360, A::Z, A::None},    //
      {0, 45, A::None, A::None},  // on no range at all
      {0, 0, A::None, A::None},   //
      {45, 270, A::Y, A::Y},      // looking down or up
      {315, 270, A::Y, A::Y},     //
      {180, 0, A::Y, A::Y},       //
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SketchLockAxis(c.pitch, c.yaw, true), c.atPress) << c.pitch << " " << c.yaw;
    EXPECT_EQ(SketchLockAxis(c.pitch, c.yaw, false), c.duringDrag) << c.pitch << " " << c.yaw;
  }
}

TEST(SketchStrokes, AnglesWrapToTheOtherEnd) {
  EXPECT_EQ(WrapSketchAngle(361), 0);
  EXPECT_EQ(WrapSketchAngle(-1), 360);
  EXPECT_EQ(WrapSketchAngle(360), 360);
  EXPECT_EQ(WrapSketchAngle(0), 0);
}

TEST(SketchStrokes, AxisValuesAndRange) {
  const TGLCoord p{1, 2, 3};
  EXPECT_EQ(SketchAxisValue(p, A::Y), 2);
  const TGLCoord q = WithSketchAxisValue(p, A::Z, 7);
  EXPECT_EQ(q.z, 7);
  EXPECT_EQ(q.x, 1);
  EXPECT_EQ(WithSketchAxisValue(p, A::None, 7).z, 3);
  EXPECT_TRUE(SketchPointInRange({99.9f, -99.9f, 0}));
  EXPECT_FALSE(SketchPointInRange({0, 100, 0}));
  EXPECT_FALSE(SketchPointInRange({0, 0, -100}));
}

// A full ring forgets its oldest group; shrinking keeps the newest.
TEST(SketchStrokes, GroupRing) {
  TSketchGroups groups(3);
  for (int count : {1, 3, 5, 7}) groups.Push(count);
  EXPECT_EQ(groups.size(), 3u);
  groups.Resize(2);
  EXPECT_EQ(groups.Pop(), 7);
  EXPECT_EQ(groups.Pop(), 5);
  EXPECT_EQ(groups.Pop(), std::nullopt);
  groups.Resize(0);
  EXPECT_EQ(groups.capacity(), 1u);
}

}  // namespace

#include "sculpt/stencil_painting.h"

#include <gtest/gtest.h>

#include "model/test_meshes.h"

namespace {

// Model x and y times 10 are window pixels, y from the top.
class TenfoldView : public StrokeProjection {
 public:
  std::optional<TGLCoord> PointUnderCursor(int, int) override { return std::nullopt; }
  std::optional<TGLCoord> PointAtDepthZero(double, double) const override { return std::nullopt; }
  TScreenPoint Project(const TGLCoord& p) const override { return {p.x * 10.0, p.y * 10.0, 0}; }
  bool CameraSetups(TProjectionSetup&, TProjectionSetup&) override { return false; }
  float BrushWindow(float) const override { return 0; }
  TViewAngles MainCameraAngles() const override { return {}; }
};

// 40 x 20: red left of column 20, blue from it on; rows counted from the bottom.
class HalvesPicture : public StencilPicture {
 public:
  int StencilHeight() const override { return 20; }
  std::optional<TRGBA> StencilPixel(int column, int row) override {
    if (column < 0 || column >= 40 || row < 0 || row >= 20) return std::nullopt;
    lastRow = row;
    return column < 20 ? TRGBA{255, 0, 0, 255} : TRGBA{0, 0, 255, 255};
  }
  int lastRow = -1;
};

TEST(StencilPainting, VerticesTakeThePictureUnderThem) {
  TGeosphera e = MakeElement({{0.5f, 0.3f, 0}, {3.5f, 0.3f, 0}, {1, 1, 0}, {3, 1, 0}, {9, 1, 0}, {0.5f, 1.6f, 0}}, {});
  e.colors.assign(6, TRGBA{9, 9, 9, 9});
  e.vertexState[3] = kVertexFrozen;
  TBrushFrame frame;
  frame.radius = 1;
  frame.symmetry = false;
  frame.direct.entries = {{0, 0}, {1, 1}, {2, 0.5f}, {3, 0.5f}, {4, 0.5f}};
  frame.mirror.entries = {{5, 0}};
  TenfoldView view;
  HalvesPicture picture;
  ApplyStencilPainting(e, frame, view, picture);
  EXPECT_EQ(e.colors[0], (TRGBA{255, 0, 0, 255}));  // column 5
  EXPECT_EQ(e.colors[1], (TRGBA{0, 0, 255, 255}));  // column 35, at the rim
  EXPECT_EQ(e.colors[2], (TRGBA{255, 0, 0, 255}));
  EXPECT_EQ(picture.lastRow, 20 - 10 - 1);
  EXPECT_EQ(e.colors[3], (TRGBA{9, 9, 9, 9}));  // frozen
  EXPECT_EQ(e.colors[4], (TRGBA{9, 9, 9, 9}));  // outside the picture
  EXPECT_EQ(e.colors[5], (TRGBA{9, 9, 9, 9}));  // the mirror side without symmetry
  frame.symmetry = true;
  ApplyStencilPainting(e, frame, view, picture);
  EXPECT_EQ(e.colors[5], (TRGBA{255, 0, 0, 255}));
  EXPECT_EQ(e.vertexState[0], kVertexFree);
}

}  // namespace

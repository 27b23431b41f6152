// The projection stencil and the reference image on the real window: the
// panels and their exclusive modes, the drags of the picture keys, painting
// through the stencil, and the hide keys.
#include <QCheckBox>
#include <QLabel>
#include <QSlider>
#include <QToolButton>

#include "app/form_image_base.h"
#include "app/panel_ref_image.h"
#include "app/panel_stencil.h"
#include "app/tablet_input.h"
#include "app/window_test_support.h"

namespace {

class PictureToolsTest : public ViewportWindowTest {
 protected:
  TViewportInputs& Inputs() { return form_->viewport().inputs(); }
  QPoint Centre() { return {View().width() / 2, View().height() / 2}; }

  // A picture whose left half is `left` and right half `right`, saved as PNG.
  QString TwoColourPicture(const char* name, int w, int h, QColor left, QColor right) {
    QImage image(w, h, QImage::Format_RGB888);
    for (int x = 0; x < w; ++x) {
      for (int y = 0; y < h; ++y) image.setPixelColor(x, y, x < w / 2 ? left : right);
    }
    const QString file = install_.file(name);
    EXPECT_TRUE(image.save(file));
    return file;
  }

  void Drag(Qt::MouseButton button, QPoint from, const std::vector<QPoint>& path) {
    QTest::mousePress(&View(), button, {}, from);
    for (const QPoint& p : path) QTest::mouseMove(&View(), p);
    QTest::mouseRelease(&View(), button, {}, path.back());
  }
};

TEST_F(PictureToolsTest, TheTwoToolsAreExclusiveAndFitThePicture) {
  form_->PanelMenu->SpeedStencil->click();
  ASSERT_TRUE(form_->PanelStencil->isVisible());
  EXPECT_TRUE(Inputs().stencil.shown);
  EXPECT_TRUE(form_->document().modes().stencil);
  Choose(TwoColourPicture("wide.png", 200, 100, Qt::red, Qt::blue));
  form_->PanelStencil->SpeedStencilLoad->click();
  EXPECT_NE(Inputs().stencil.texture, 0u);
  EXPECT_FLOAT_EQ(Inputs().stencil.width, 500);  // 500 x 500 fitted to 2 : 1
  EXPECT_FLOAT_EQ(Inputs().stencil.height, 250);
  EXPECT_FLOAT_EQ(Inputs().stencil.x, 420);
  EXPECT_FALSE(form_->PanelStencil->ImageStencil->pixmap().isNull());
  form_->PanelStencil->TrackBarVisibility->setValue(80);
  EXPECT_FLOAT_EQ(Inputs().stencil.alpha, 0.8f);

  form_->PanelMenu->SpeedImageBase->click();
  EXPECT_TRUE(form_->PanelRefImage->isVisible());
  EXPECT_FALSE(form_->PanelStencil->isVisible());
  EXPECT_FALSE(Inputs().stencil.shown);
  EXPECT_FALSE(form_->document().modes().stencil);
  EXPECT_TRUE(Inputs().referenceImage.shown);
  Choose(TwoColourPicture("tall.png", 50, 100, Qt::green, Qt::white));
  form_->PanelRefImage->SpeedRefImage[1]->click();
  Choose(TwoColourPicture("square.png", 64, 64, Qt::green, Qt::white));
  form_->PanelRefImage->SpeedRefImage[2]->click();
  EXPECT_EQ(form_->PanelRefImage->currentSlot(), 2);
  EXPECT_FLOAT_EQ(Inputs().referenceImage.width, 250);  // 500 x 500 -> 250 x 500 -> 250 x 250
  EXPECT_FLOAT_EQ(Inputs().referenceImage.height, 250);
  form_->PanelRefImage->ImageRef[1]->click();
  EXPECT_EQ(form_->PanelRefImage->currentSlot(), 1);

  form_->PanelRefImage->SpeedAncor->click();  // "Fixed Panel"
  EXPECT_FALSE(form_->PanelRefImage->isVisible());
  EXPECT_FALSE(Inputs().referenceImage.shown);
  ASSERT_TRUE(form_->PanelRefImage->FormImageBase->isVisible());
  EXPECT_EQ(form_->PanelRefImage->FormImageBase->picture().size(), QSize(50, 100));
  form_->PanelRefImage->FormImageBase->close();
}

// With the picture keys ('A' by default) held, middle, right and left drags
// move, turn and scale the picture by the fixed steps; without them the
// camera and the brush take the drags.
TEST_F(PictureToolsTest, TheKeyedDragsMoveTurnAndScaleThePicture) {
  form_->PanelMenu->SpeedStencil->click();
  TImageOverlay& stencil = Inputs().stencil;
  const QPoint p = Centre();
  QTest::keyPress(form_.get(), Qt::Key_A);
  EXPECT_TRUE(Inputs().overlayKeyHeld);
  Drag(Qt::MiddleButton, p, {p + QPoint(10, 5), p + QPoint(12, 5)});
  EXPECT_FLOAT_EQ(stencil.x, 420 + 12);
  EXPECT_FLOAT_EQ(stencil.y, 100 - 5);  // y counts upwards
  Drag(Qt::RightButton, p, {p + QPoint(0, -10), p + QPoint(3, -20), p + QPoint(0, 10)});
  EXPECT_FLOAT_EQ(stencil.angle, 0.8f + 0.8f - 0.8f);  // above, above, below the press point
  EXPECT_DOUBLE_EQ(form_->viewport().state().mainCamera.yaw, 270);
  const Tvertices before = form_->scene().current().vertices;
  HoverMove(View(), p);
  Drag(Qt::LeftButton, p, {p + QPoint(0, -4), p + QPoint(0, -8), p + QPoint(0, -6)});
  EXPECT_FLOAT_EQ(stencil.scaleX, 1.1f);  // up, up, down
  EXPECT_FLOAT_EQ(stencil.scaleY, 1.1f);
  EXPECT_FALSE(form_->document().modes().overlayScaling);
  EXPECT_EQ(form_->scene().current().vertices, before);
  QTest::keyRelease(form_.get(), Qt::Key_A);
  EXPECT_FALSE(Inputs().overlayKeyHeld);

  Drag(Qt::MiddleButton, p, {p + QPoint(40, 0)});
  EXPECT_FLOAT_EQ(stencil.x, 432);
  EXPECT_FLOAT_EQ(form_->viewport().state().mainCamera.panX, -1);
}

// Painting through a picture red on the left half of the viewport and blue on
// the right: the vertices under each half take that half's colour.
TEST_F(PictureToolsTest, StrokesCopyTheStencilsColours) {
  form_->PanelMenu->CheckSym->setChecked(false);
  form_->PanelMenu->ScrollRadius->setValue(40);
  form_->PanelMenu->SpeedStencil->click();
  ASSERT_TRUE(form_->PanelStencil->LoadStencil(TwoColourPicture("halves.png", 64, 64, Qt::red, Qt::blue)));
  TImageOverlay& stencil = Inputs().stencil;
  const PanelCentro& view = form_->viewport();
  stencil.x = stencil.y = 0;
  stencil.width = static_cast<float>(view.framebufferWidth());
  stencil.height = static_cast<float>(view.framebufferHeight());
  form_->viewport().grabFramebuffer();  // a frame draws the picture into the offscreen buffer
  const Tvertices shape = form_->scene().current().vertices;
  for (const auto& [offset, colour] : {std::pair{-40, TRGBA{255, 0, 0, 255}}, std::pair{40, TRGBA{0, 0, 255, 255}}}) {
    const QPoint at = Centre() + QPoint(offset, 10);
    HoverMove(View(), at);
    Drag(Qt::LeftButton, at, {at + QPoint(1, 0)});
    const TBrushFrame& f = form_->document().stroke().state().frame;
    ASSERT_FALSE(f.direct.entries.empty());
    for (const TContsel& entry : f.direct.entries) {
      EXPECT_EQ(form_->scene().current().colors[static_cast<size_t>(entry.vertex)], colour) << offset;
    }
  }
  EXPECT_EQ(form_->scene().current().vertices, shape);

  form_->PanelStencil->SpeedCloseStencil->click();
  EXPECT_FALSE(Inputs().stencil.shown);
  EXPECT_FALSE(form_->document().modes().stencil);
}

// "Hide Stencil" ('X') opens "Projection Edit" and closes whichever tool is
// open; "Hide Image Reference" toggles the reference panel. The stencil turns
// the tablet off until it closes.
TEST_F(PictureToolsTest, TheHideKeysToggleTheToolsAndTheTabletFollows) {
  form_->PanelConfig->CheckActiveTablet->click();
  ASSERT_TRUE(form_->viewportInput().tabletActive());
  QTest::keyClick(form_.get(), Qt::Key_X);
  EXPECT_TRUE(form_->PanelStencil->isVisible());
  EXPECT_FALSE(form_->viewportInput().tabletActive());
  QTest::keyClick(form_.get(), Qt::Key_X);
  EXPECT_FALSE(form_->PanelStencil->isVisible());
  EXPECT_TRUE(form_->viewportInput().tabletActive());

  form_->PanelRefImage->ToggleReferenceImage();
  EXPECT_TRUE(form_->PanelRefImage->isVisible());
  QTest::keyClick(form_.get(), Qt::Key_X);  // closes the reference tool
  EXPECT_FALSE(form_->PanelRefImage->isVisible());
  EXPECT_FALSE(Inputs().referenceImage.shown);
}

}  // namespace

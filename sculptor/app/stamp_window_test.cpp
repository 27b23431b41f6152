// The Stamp brush on the real window: its panel, the stamp buttons and
// "Import Stamp", the size bar, and a stroke that prints the picture.
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QToolButton>

#include "app/panel_stamp.h"
#include "app/window_test_support.h"

namespace {

class StampTest : public ViewportWindowTest {
 protected:
  TPanelStamp& Stamp() { return *form_->PanelStamp; }
  const TGeosphera& Ball() { return form_->scene().current(); }
};

TEST_F(StampTest, SelectingStampMapsTheElementAndShowsThePanel) {
  const int stamp = BrushItem("Stamp");
  form_->PanelModeling->RadioModelClick(stamp);
  ASSERT_TRUE(Stamp().isVisible());
  EXPECT_TRUE(Stamp().stampImagePath().endsWith("/images/xadrez.bmp"));
  EXPECT_FALSE(Stamp().ImageStamp->pixmap().isNull());
  ASSERT_EQ(Stamp().sampler().coords.size(), static_cast<size_t>(Ball().vertexCount));
  EXPECT_EQ(Stamp().sampler().coords[5], StampCoordinate(Ball().vertices[5], {}, 10));
  EXPECT_FLOAT_EQ(form_->document().brush().strength, 0);  // Stamp's intensity starts at 0

  Stamp().TrackBarSize->setValue(3);
  EXPECT_EQ(Stamp().LabelSizeNumber->text(), "3");
  EXPECT_EQ(Stamp().sampler().coords[5], StampCoordinate(Ball().vertices[5], Ball().center, 3));

  Stamp().SpeedCloseStamp->click();
  EXPECT_FALSE(Stamp().isVisible());
  EXPECT_TRUE(Stamp().sampler().coords.empty());
  form_->PanelModeling->RadioModelClick(stamp);
  EXPECT_TRUE(Stamp().isVisible());
  form_->PanelModeling->RadioModelClick(0);
  EXPECT_FALSE(Stamp().isVisible());
}

// A stamp button sets the grid's size; an imported picture of another size is
// resampled to it. Before any button the shown picture's size serves.
TEST_F(StampTest, ImportedPicturesKeepTheButtonsGrid) {
  form_->PanelModeling->RadioModelClick(BrushItem("Stamp"));
  EXPECT_EQ(Stamp().stampWidth(), 0);
  ASSERT_NE(Stamp().SamplerForApplication(Ball()), nullptr);
  EXPECT_EQ(Stamp().sampler().width, 128);  // xadrez.bmp as shown

  Stamp().BitStamp[0]->click();
  EXPECT_TRUE(Stamp().stampImagePath().endsWith("/images/defaultx.bmp"));
  EXPECT_EQ(Stamp().stampWidth(), 128);
  EXPECT_EQ(Stamp().stampHeight(), 128);

  QImage white(40, 10, QImage::Format_RGB888);
  white.fill(Qt::white);
  const QString file = install_.file("white.png");
  ASSERT_TRUE(white.save(file));
  Choose(file);
  Stamp().SpeedButton16->click();
  EXPECT_EQ(Stamp().stampImagePath(), file);
  const TStampSampler* sampler = Stamp().SamplerForApplication(Ball());
  ASSERT_NE(sampler, nullptr);
  EXPECT_EQ(sampler->width, 128);
  EXPECT_EQ(sampler->height, 128);
  EXPECT_EQ(sampler->heights, std::vector<int32_t>(129 * 129, 1677));
}

// A Stamp stroke with an all-white picture lifts every footprint vertex by
// 1677 x 4 x s along its own normal, and after Subdivide reaches the new
// vertices too.
TEST_F(StampTest, AWhiteStampLiftsTheFootprintAlongTheNormals) {
  form_->PanelModeling->RadioModelClick(BrushItem("Stamp"));
  form_->PanelMenu->CheckSym->setChecked(false);
  // Stamp's strength follows its intensity only when it is selected.
  form_->PanelMenu->ScrollIntensity->setValue(15);
  EXPECT_FLOAT_EQ(form_->document().brush().strength, 0);
  form_->PanelModeling->RadioModelClick(BrushItem("Stamp"));
  QImage white(16, 16, QImage::Format_RGB888);
  white.fill(Qt::white);
  ASSERT_TRUE(white.save(install_.file("white.bmp")));
  Choose(install_.file("white.bmp"));
  Stamp().SpeedButton16->click();
  const float s = form_->document().brush().strength;
  EXPECT_FLOAT_EQ(s, 15.0f / 10000000);

  form_->PanelMenu->SpeedSubdivideClick();
  QApplication::processEvents();
  const TGeosphera before = Ball();
  const QPoint at{View().width() / 2 + 30, View().height() / 2 - 20};
  HoverMove(View(), at);
  QTest::mousePress(&View(), Qt::LeftButton, {}, at);
  QTest::mouseMove(&View(), at + QPoint(1, 0));
  QTest::mouseRelease(&View(), Qt::LeftButton, {}, at + QPoint(1, 0));
  const TBrushFrame& f = form_->document().stroke().state().frame;
  ASSERT_FALSE(f.direct.entries.empty());
  for (const TContsel& entry : f.direct.entries) {
    const size_t v = static_cast<size_t>(entry.vertex);
    const float lift = 1677 * 4 * s;
    EXPECT_NEAR(Ball().vertices[v].x - before.vertices[v].x, before.normals[v].x * lift, 1e-6f) << v;
    EXPECT_NEAR(Ball().vertices[v].z - before.vertices[v].z, before.normals[v].z * lift, 1e-6f) << v;
  }
  EXPECT_GE(Stamp().sampler().coords.size(), static_cast<size_t>(Ball().vertexCount));
}

}  // namespace

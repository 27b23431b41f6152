// The pen on the real window: tablet events sent to the viewport as the
// platform sends them, the pressure into the intensity, the stroke done once,
// the side button's second brush and the pen drag that turns the view.
#include <QCheckBox>
#include <QLabel>
#include <QPointingDevice>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTabletEvent>

#include "app/tablet_input.h"
#include "app/window_test_support.h"

namespace {

class TabletTest : public ViewportWindowTest {
 protected:
  QPoint OnBall() { return {View().width() / 2 + 40, View().height() / 2 - 30}; }
  QPoint OffBall() { return {20, View().height() - 20}; }
  int Intensity() { return form_->PanelMenu->ScrollIntensity->value(); }

  // A tablet event of the pen; pressure 0 .. 1023 as the driver counts it.
  void Pen(QEvent::Type type, QPoint at, int pressure, Qt::MouseButton button = Qt::NoButton,
           Qt::MouseButtons buttons = Qt::NoButton) {
    QTabletEvent event(type, &pen_, QPointF(at), View().mapToGlobal(QPointF(at)), pressure / 1023.0, 0, 0, 0, 0, 0,
                       Qt::NoModifier, button, buttons);
    QApplication::sendEvent(&View(), &event);
    EXPECT_TRUE(event.isAccepted());
  }
  // The mouse event a platform may make from the same pen event.
  void MouseTwin(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(at), View().mapToGlobal(QPointF(at)), button, buttons, Qt::NoModifier, &pen_);
    QApplication::sendEvent(&View(), &event);
  }

  // "Active Tablet" once Qt has seen the pen.
  void ActivateTablet() {
    Pen(QEvent::TabletMove, OffBall(), 0);
    form_->PanelConfig->CheckActiveTablet->click();
    ASSERT_NE(form_->tabletInput().Tablet1->context(), 0u);
  }

  // A tip stroke: hover, press, one move, release; with the mouse twins when asked.
  void PenStroke(QPoint at, int pressure, bool twins = false) {
    Pen(QEvent::TabletMove, at, 0);
    Pen(QEvent::TabletPress, at, pressure, Qt::LeftButton, Qt::LeftButton);
    if (twins) MouseTwin(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    Pen(QEvent::TabletMove, at + QPoint(1, 0), pressure, Qt::NoButton, Qt::LeftButton);
    if (twins) MouseTwin(QEvent::MouseMove, at + QPoint(1, 0), Qt::NoButton, Qt::LeftButton);
    Pen(QEvent::TabletRelease, at + QPoint(1, 0), 0, Qt::LeftButton, Qt::NoButton);
    if (twins) MouseTwin(QEvent::MouseButtonRelease, at + QPoint(1, 0), Qt::LeftButton, Qt::NoButton);
    QApplication::processEvents();
  }

  QPointingDevice pen_{"test pen",
                       4711,
                       QInputDevice::DeviceType::Stylus,
                       QPointingDevice::PointerType::Pen,
                       QInputDevice::Capability::Position | QInputDevice::Capability::Pressure,
                       1,
                       3};
};

TEST_F(TabletTest, PressureOverSensibilitySetsTheIntensity) {
  ActivateTablet();
  struct Case {
    int sensibility, pressure, intensity;
  };
  const Case cases[] = {
      {45, 675, 15},   // the default sensibility
      {45, 0, 1},      // the bar keeps at least 1
      {1, 1023, 50},   // and at most 50
      {0, 20, 20},     // sensibility 0 divides by 1
      {30, 1023, 34},  // 34.1
  };
  for (const Case& c : cases) {
    form_->PanelConfig->ScrollBarWacom->setValue(c.sensibility);
    Pen(QEvent::TabletMove, OffBall(), c.pressure);
    EXPECT_EQ(Intensity(), c.intensity) << c.sensibility << " " << c.pressure;
    EXPECT_EQ(form_->PanelMenu->LabSize->text(), QString::number(c.intensity));
  }
  // Unchecking "Active Tablet" leaves the context open: pressure still counts.
  form_->PanelConfig->CheckActiveTablet->click();
  form_->PanelConfig->ScrollBarWacom->setValue(45);
  Pen(QEvent::TabletMove, OffBall(), 450);
  EXPECT_EQ(Intensity(), 10);
  EXPECT_FALSE(form_->viewportInput().tabletActive());
}

// A pen stroke with the mouse events a platform makes from it sculpts exactly
// as the same stroke without them: once.
TEST_F(TabletTest, APenStrokeSculptsOnce) {
  ActivateTablet();
  form_->PanelMenu->CheckSym->setChecked(false);
  const Tvertices start = form_->scene().current().vertices;
  PenStroke(OnBall(), 675);
  const Tvertices once = form_->scene().current().vertices;
  ASSERT_NE(once, start);
  EXPECT_EQ(Intensity(), 1);  // the release's packet has no pressure

  form_->MainMenu->Undo1Click();
  QApplication::processEvents();
  ASSERT_EQ(form_->scene().current().vertices, start);
  PenStroke(OnBall(), 675, true);
  const Tvertices twice = form_->scene().current().vertices;
  for (size_t v = 0; v < start.size(); ++v) {
    EXPECT_NEAR(twice[v].x, once[v].x, 1e-6f) << v;
    EXPECT_NEAR(twice[v].y, once[v].y, 1e-6f) << v;
    EXPECT_NEAR(twice[v].z, once[v].z, 1e-6f) << v;
  }
}

// A press whose first sample has no pressure waits for one that has: the
// stroke starts with that sample's intensity, and a press lifted without any
// pressure is no stroke at all.
TEST_F(TabletTest, ATipPressWaitsForPressure) {
  ActivateTablet();
  Pen(QEvent::TabletMove, OnBall(), 0);
  Pen(QEvent::TabletPress, OnBall(), 0, Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(form_->viewportInput().buttonState(), kNoButton);
  Pen(QEvent::TabletMove, OnBall(), 0, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(form_->viewportInput().buttonState(), kNoButton);
  Pen(QEvent::TabletMove, OnBall(), 900, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(form_->viewportInput().buttonState(), kLeftButton);
  EXPECT_EQ(Intensity(), 20);
  Pen(QEvent::TabletRelease, OnBall(), 0, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(form_->viewportInput().buttonState(), kNoButton);

  const Tvertices before = form_->scene().current().vertices;
  Pen(QEvent::TabletPress, OnBall(), 0, Qt::LeftButton, Qt::LeftButton);
  Pen(QEvent::TabletRelease, OnBall(), 0, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(form_->scene().current().vertices, before);
  EXPECT_EQ(form_->viewportInput().buttonState(), kNoButton);
}

// With the tablet active the side button does not turn the view: it arms the
// second brush (Smooth at 0.48, sensibility 25) for the next stroke only.
TEST_F(TabletTest, TheSideButtonArmsTheSecondBrush) {
  ActivateTablet();
  TRenderState& state = form_->viewport().state();
  const QPoint at = OnBall();
  Pen(QEvent::TabletPress, at, 0, Qt::RightButton, Qt::RightButton);
  Pen(QEvent::TabletMove, at + QPoint(30, 0), 0, Qt::NoButton, Qt::RightButton);
  Pen(QEvent::TabletRelease, at + QPoint(30, 0), 0, Qt::RightButton, Qt::NoButton);
  EXPECT_DOUBLE_EQ(state.mainCamera.yaw, 270);

  Pen(QEvent::TabletMove, at, 0);
  Pen(QEvent::TabletPress, at, 675, Qt::LeftButton, Qt::LeftButton);
  Pen(QEvent::TabletMove, at + QPoint(1, 0), 675, Qt::NoButton, Qt::LeftButton);
  EXPECT_TRUE(form_->PanelModeling->RadioModel[kSmoothItem]->isChecked());
  EXPECT_EQ(form_->tabletInput().penSensibility(), 25);
  Pen(QEvent::TabletMove, at + QPoint(2, 0), 675, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(Intensity(), 27);  // 675 / 25 from the stroke's second packet on
  Pen(QEvent::TabletRelease, at + QPoint(1, 0), 0, Qt::LeftButton, Qt::NoButton);
  EXPECT_TRUE(form_->PanelModeling->RadioModel[0]->isChecked());
  EXPECT_EQ(form_->tabletInput().penSensibility(), 45);

  // Armed once: the next stroke has the brush of before.
  Pen(QEvent::TabletMove, at, 0);
  Pen(QEvent::TabletPress, at, 675, Qt::LeftButton, Qt::LeftButton);
  Pen(QEvent::TabletMove, at + QPoint(1, 0), 675, Qt::NoButton, Qt::LeftButton);
  EXPECT_TRUE(form_->PanelModeling->RadioModel[0]->isChecked());
  Pen(QEvent::TabletRelease, at + QPoint(1, 0), 0, Qt::LeftButton, Qt::NoButton);
}

TEST_F(TabletTest, SmoothAsSecondBrushOfThePenTakesStrength048) {
  ActivateTablet();
  form_->PanelModeling->RadioModelClick(kSmoothItem);
  const QPoint at = OnBall();
  Pen(QEvent::TabletPress, at, 0, Qt::RightButton, Qt::RightButton);
  Pen(QEvent::TabletMove, at + QPoint(5, 0), 0, Qt::NoButton, Qt::RightButton);
  Pen(QEvent::TabletRelease, at + QPoint(5, 0), 0, Qt::RightButton, Qt::NoButton);
  // Mouse buttons here, so no packet moves the intensity meanwhile.
  HoverMove(View(), at);
  QTest::mousePress(&View(), Qt::LeftButton, {}, at);
  QTest::mouseMove(&View(), at + QPoint(1, 0));
  EXPECT_FLOAT_EQ(form_->document().brush().strength, 0.48f);
  QTest::mouseRelease(&View(), Qt::LeftButton, {}, at + QPoint(1, 0));
}

// A pen drag that starts off the surface turns the view and sculpts nothing,
// also where it crosses the surface; without the tablet it leaves the view alone.
TEST_F(TabletTest, APenDragOffTheSurfaceTurnsTheView) {
  TRenderState& state = form_->viewport().state();
  const auto drag = [this](QPoint to) {
    Pen(QEvent::TabletMove, OffBall(), 0);
    Pen(QEvent::TabletPress, OffBall(), 500, Qt::LeftButton, Qt::LeftButton);
    Pen(QEvent::TabletMove, OffBall() + QPoint(30, -15), 500, Qt::NoButton, Qt::LeftButton);
    Pen(QEvent::TabletMove, to, 500, Qt::NoButton, Qt::LeftButton);
    Pen(QEvent::TabletRelease, to, 0, Qt::LeftButton, Qt::NoButton);
  };
  drag(OffBall() + QPoint(40, -20));
  EXPECT_DOUBLE_EQ(state.mainCamera.yaw, 270);
  EXPECT_DOUBLE_EQ(state.mainCamera.pitch, 0);

  ActivateTablet();
  const Tvertices before = form_->scene().current().vertices;
  drag(OnBall());
  EXPECT_NE(state.mainCamera.yaw, 270);
  EXPECT_NE(state.mainCamera.pitch, 0);
  EXPECT_EQ(form_->scene().current().vertices, before);
}

}  // namespace

// Strokes on the real window under Xvfb: sculpting, symmetry, the camera
// drags, undo of a stroke, the status bar, the candidate window at several
// panel sizes, painting and the brush controls.
#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSlider>
#include <QToolButton>
#include <GL/glu.h>
#include <algorithm>
#include <cmath>
#include <functional>
#include <set>

#include "app/window_test_support.h"
#include "sculpt/brush_frame.h"

namespace {

double Distance(const TGLCoord& a, const TGLCoord& b) {
  return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z));
}

TGLCoord Minus(const TGLCoord& a, const TGLCoord& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

// The camera rule follows the pointer in screen points, whatever the pixel density.
void ExpectRotateAndPanRule(TFormMain& form) {
  QWidget& panel = form.viewport();
  const QPoint at{panel.width() / 2, panel.height() / 2};
  TRenderState& state = form.viewport().state();
  QTest::mousePress(&panel, Qt::RightButton, {}, at);
  QTest::mouseMove(&panel, at + QPoint(30, -15));
  QTest::mouseRelease(&panel, Qt::RightButton, {}, at + QPoint(30, -15));
  // dx = (last x - x) / 3 = -10, dy = (last y - y) / 3 = 5.
  EXPECT_DOUBLE_EQ(state.mainCamera.yaw, 270 - 10);
  EXPECT_DOUBLE_EQ(state.mainCamera.pitch, -5);
  EXPECT_DOUBLE_EQ(state.mirrorCamera.yaw, 270 + 10);
  EXPECT_DOUBLE_EQ(state.mirrorCamera.pitch, -5);

  QTest::mousePress(&panel, Qt::MiddleButton, {}, at);
  QTest::mouseMove(&panel, at + QPoint(40, 20));
  QTest::mouseRelease(&panel, Qt::MiddleButton, {}, at + QPoint(40, 20));
  // dx = (last x - x) / 40 = -1, dy = -0.5.
  EXPECT_FLOAT_EQ(state.mainCamera.panX, -1);
  EXPECT_FLOAT_EQ(state.mainCamera.panY, 0.5f);
  EXPECT_FLOAT_EQ(state.mirrorCamera.panX, 1);
  EXPECT_FLOAT_EQ(state.mirrorCamera.panY, 0.5f);
  EXPECT_EQ(form.viewportInput().buttonState(), kNoButton);
}

class StrokeTest : public ViewportWindowTest {
 protected:
  QPoint Centre() { return {View().width() / 2, View().height() / 2}; }
  const TGeosphera& Ball() { return form_->scene().current(); }

  void SetRadius(int position) { form_->PanelMenu->ScrollRadius->setValue(position); }

  // Hovers at `at`, then drags the left button over `path` and releases.
  void Stroke(QPoint at, const std::vector<QPoint>& path, Qt::MouseButton button = Qt::LeftButton) {
    Hover(at);
    QTest::mousePress(&View(), button, {}, at);
    for (const QPoint& p : path) QTest::mouseMove(&View(), p);
    QTest::mouseRelease(&View(), button, {}, path.empty() ? at : path.back());
    QApplication::processEvents();
  }

  void Hover(QPoint at) {
    HoverMove(View(), at);
    ASSERT_GE(form_->document().stroke().state().pickedVertex, 0) << "no vertex under the cursor";
  }
};

// The vertex at the mirror image across z = 0 of vertex `v`.
int32_t MirrorPartner(const Tvertices& vertices, size_t v) {
  const TGLCoord m = MirrorAcrossZ(vertices[v]);
  for (size_t i = 0; i < vertices.size(); ++i) {
    if (Distance(vertices[i], m) < 1e-5) return static_cast<int32_t>(i);
  }
  return -1;
}

TEST_F(StrokeTest, AddRaisesTheFootprintAlongItsMeanNormal) {
  form_->PanelMenu->CheckSym->setChecked(false);
  SetRadius(120);
  const Tvertices before = Ball().vertices;
  const QPoint at = Centre() + QPoint(40, -30);
  Stroke(at, {at + QPoint(1, 0)});

  const TBrushFrame& f = form_->document().stroke().state().frame;
  ASSERT_GE(f.direct.entries.size(), 3u);
  const float k = form_->document().brush().strength * f.radius;
  EXPECT_FLOAT_EQ(form_->document().brush().strength, form_->preferences().brushDefaultIntensity[0] / 1400.0f);
  std::set<int32_t> moved;
  for (const TContsel& entry : f.direct.entries) {
    const size_t v = static_cast<size_t>(entry.vertex);
    const float w = Falloff(entry.distance / f.radius) * k;
    const TGLCoord shift = Minus(Ball().vertices[v], before[v]);
    EXPECT_NEAR(shift.x, f.direct.normal.x * w, 1e-6) << v;
    EXPECT_NEAR(shift.y, f.direct.normal.y * w, 1e-6) << v;
    EXPECT_NEAR(shift.z, f.direct.normal.z * w, 1e-6) << v;
    EXPECT_LE(Distance(before[v], form_->document().stroke().state().cursorPoint), f.radius + 1e-5);
    moved.insert(entry.vertex);
  }
  // Outwards, and nothing else moved.
  const TGLCoord& n = f.direct.normal;
  const TGLCoord& c = form_->document().stroke().state().cursorPoint;
  EXPECT_GT(n.x * c.x + n.y * c.y + n.z * c.z, 0);
  for (int32_t v = 0; v < Ball().vertexCount; ++v) {
    if (!moved.count(v)) {
      EXPECT_EQ(Ball().vertices[static_cast<size_t>(v)], before[static_cast<size_t>(v)]) << v;
    }
  }
}

TEST_F(StrokeTest, SymmetryMovesTheMirroredVerticesByTheMirroredAmount) {
  ASSERT_TRUE(form_->PanelMenu->CheckSym->isChecked());
  SetRadius(100);
  const Tvertices before = Ball().vertices;
  const QPoint at = Centre() + QPoint(70, 10);  // off the plane z = 0, which is the screen's vertical centre line
  Stroke(at, {at + QPoint(1, 0), at + QPoint(2, 0)});
  ASSERT_FALSE(form_->document().stroke().state().frame.mirror.entries.empty());
  int movedCount = 0;
  for (int32_t v = 0; v < Ball().vertexCount; ++v) {
    const TGLCoord shift = Minus(Ball().vertices[static_cast<size_t>(v)], before[static_cast<size_t>(v)]);
    if (shift == TGLCoord{}) continue;
    ++movedCount;
    const int32_t partner = MirrorPartner(before, static_cast<size_t>(v));
    ASSERT_GE(partner, 0) << v;
    const size_t m = static_cast<size_t>(partner);
    const TGLCoord mirrored = Minus(Ball().vertices[m], before[m]);
    EXPECT_NEAR(mirrored.x, shift.x, 1e-4) << v;
    EXPECT_NEAR(mirrored.y, shift.y, 1e-4) << v;
    EXPECT_NEAR(mirrored.z, -shift.z, 1e-4) << v;
  }
  EXPECT_GE(movedCount, 4);
}

TEST_F(StrokeTest, RightDragTurnsAndMiddleDragPansTheCameras) { ExpectRotateAndPanRule(*form_); }

// Add acts from the first move on, Pinch and Grab already at the press: undo
// gives back every position of before the stroke either way.
TEST_F(StrokeTest, UndoAfterAStrokeRestoresEveryPosition) {
  SetRadius(120);
  for (const int item : {0, 3, 2}) {
    form_->PanelModeling->RadioModelClick(item);
    const Tvertices before = Ball().vertices;
    const QPoint at = Centre() + QPoint(30, 20);
    Stroke(at, {at + QPoint(5, 0), at + QPoint(15, 5), at + QPoint(25, 10)});
    ASSERT_NE(Ball().vertices, before) << item;
    ASSERT_TRUE(form_->document().undo().RestoreSnapshot(form_->scene(), UndoChannel::Geometry)) << item;
    EXPECT_EQ(Ball().vertices, before) << item;
  }
  EXPECT_TRUE(messages_.entries.empty());
}

// Undo and Redo through the menu and their keys walk the states of two
// strokes and a Subdivide exactly, and a new stroke after Undo drops Redo.
TEST_F(StrokeTest, UndoRedoWalkStrokesAndSubdivideExactly) {
  SetRadius(120);
  std::vector<Tvertices> states{Ball().vertices};
  for (const QPoint shift : {QPoint(30, 20), QPoint(-25, -10)}) {
    const QPoint at = Centre() + shift;
    Stroke(at, {at + QPoint(5, 0), at + QPoint(15, 5)});
    states.push_back(Ball().vertices);
  }
  form_->MainMenu->Subdivide1->trigger();
  states.push_back(Ball().vertices);
  ASSERT_EQ(Ball().subdivLevel, 1);
  ASSERT_NE(states[0], states[1]);
  ASSERT_NE(states[1], states[2]);

  const auto undo = [&] { form_->MainMenu->Undo1->trigger(); };
  const auto redo = [&] { form_->MainMenu->Redo1->trigger(); };
  const auto redoKeys = [&] { QTest::keyClick(form_.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); };
  const auto redoY = [&] { QTest::keyClick(form_.get(), Qt::Key_Y, Qt::ControlModifier); };
  const struct {
    std::function<void()> step;
    size_t state;
  } steps[] = {{undo, 2}, {undo, 1}, {redoKeys, 2}, {redo, 3}, {redoY, 3}, {undo, 2},
               {undo, 1}, {undo, 0}, {undo, 0},     {redoY, 1}, {redo, 2}, {redoKeys, 3}, {undo, 2}};
  for (size_t i = 0; i < std::size(steps); ++i) {
    steps[i].step();
    ASSERT_EQ(Ball().vertices, states[steps[i].state]) << "step " << i;
  }
  EXPECT_EQ(Ball().subdivLevel, 0);

  const QPoint at = Centre() + QPoint(10, 30);
  Stroke(at, {at + QPoint(10, 5)});
  const Tvertices stroked = Ball().vertices;
  redo();
  EXPECT_EQ(Ball().vertices, stroked);
  undo();
  EXPECT_EQ(Ball().vertices, states[2]);
  EXPECT_TRUE(messages_.entries.empty());
}

// The grid holds each vertex in the cell of its gluProject position, rounded
// to nearest with halves to even, under the matrices the picking uses.
TEST_F(StrokeTest, ScreenGridMatchesGluProject) {
  HoverMove(View(), Centre());
  const TStrokeState& s = form_->document().stroke().state();
  ASSERT_FALSE(s.gridsStale);
  const PanelCentro::CameraSetup setup = form_->viewport().cameraSetup();
  const int w = s.grid.width(), h = s.grid.height();
  int binned = 0;
  for (int32_t v = 0; v < Ball().vertexCount; ++v) {
    const TGLCoord& p = Ball().vertices[static_cast<size_t>(v)];
    double x = 0, y = 0, z = 0;
    ASSERT_EQ(gluProject(p.x, p.y, p.z, setup.modelview.data(), setup.projection.data(), setup.viewport.data(), &x,
                         &y, &z),
              GL_TRUE);
    const int column = static_cast<int>(std::nearbyint(x)), row = static_cast<int>(std::nearbyint(h - y));
    if (column < 1 || column > w - 1 || row < 1 || row > h - 1) continue;
    const std::vector<int32_t> cell = s.grid.Cell(column, row);
    EXPECT_NE(std::find(cell.begin(), cell.end(), v), cell.end()) << v;
    ++binned;
  }
  EXPECT_EQ(binned, kBallVertices);  // the whole ball is in view
}

TEST_F(StrokeTest, GrabStartedOffTheSurfaceMovesNothing) {
  SetRadius(120);
  form_->PanelModeling->RadioModelClick(2);
  const QPoint at = Centre() + QPoint(30, 20);
  Stroke(at, {at + QPoint(20, 0)});  // an earlier Grab drag
  const Tvertices before = Ball().vertices;
  const QPoint off(View().width() - 30, View().height() / 2);
  HoverMove(View(), off);
  ASSERT_EQ(form_->document().stroke().state().pickedVertex, -1);
  QTest::mousePress(&View(), Qt::LeftButton, {}, off);
  for (const QPoint& p : {at, at + QPoint(10, 0), at + QPoint(20, 0)}) QTest::mouseMove(&View(), p);
  QTest::mouseRelease(&View(), Qt::LeftButton, {}, at + QPoint(20, 0));
  EXPECT_EQ(Ball().vertices, before);
}

TEST_F(StrokeTest, StatusBarShowsTheFootprintAndThenTheTrianglesDrawn) {
  SetRadius(100);
  const QPoint at = Centre() + QPoint(60, 0);
  Hover(at);
  QTest::mousePress(&View(), Qt::LeftButton, {}, at);
  QTest::mouseMove(&View(), at + QPoint(2, 0));
  const TBrushFrame& f = form_->document().stroke().state().frame;
  const size_t count = f.direct.entries.size() + f.mirror.entries.size();
  ASSERT_GT(f.mirror.entries.size(), 0u);
  EXPECT_EQ(form_->statusPanels[2]->text(), QString("Selected Triangles: %1").arg(count));
  EXPECT_EQ(form_->statusPanels[0]->text(), QString("Triangles: %1").arg(Ball().indexCount / 3));
  EXPECT_EQ(form_->statusPanels[1]->text(), QString("Vertex: %1").arg(kBallVertices));
  const QString memory = form_->statusPanels[3]->text();
  EXPECT_TRUE(QRegularExpression("^Memory used: [1-9]\\d{0,2}(,\\d{3})+ K$").match(memory).hasMatch())
      << memory.toStdString();
  QTest::mouseRelease(&View(), Qt::LeftButton, {}, at + QPoint(2, 0));
  EXPECT_EQ(form_->statusPanels[2]->text(), QString("Triangles Draw: %1").arg(form_->document().stroke().state().normalTriangles));
  EXPECT_GT(form_->document().stroke().state().normalTriangles, 0);
}

std::set<int32_t> VerticesWithin(const Tvertices& vertices, const TGLCoord& centre, float radius) {
  std::set<int32_t> inside;
  for (size_t v = 0; v < vertices.size(); ++v) {
    if (Distance(vertices[v], centre) <= radius) inside.insert(static_cast<int32_t>(v));
  }
  return inside;
}

// The candidate window covers the whole brush on screen: the footprint holds
// every vertex within the radius, whatever the panel's size in pixels.
void ExpectWholeFootprint(TFormMain& form, QWidget& view) {
  form.PanelMenu->CheckSym->setChecked(false);
  form.PanelMenu->ScrollRadius->setValue(200);
  const QPoint at(view.width() / 2 + 5, view.height() / 2 + 5);
  HoverMove(view, at);
  QTest::mousePress(&view, Qt::LeftButton, {}, at);
  const Tvertices before = form.scene().current().vertices;
  QTest::mouseMove(&view, at + QPoint(1, 0));
  const double onScreen = 2.0 * form.viewport().PixelsPerModelUnit();
  EXPECT_GE(form.document().stroke().state().brushWindow, onScreen + 1 - 1e-3);
  std::set<int32_t> gathered;
  for (const TContsel& entry : form.document().stroke().state().frame.direct.entries) gathered.insert(entry.vertex);
  EXPECT_EQ(gathered, VerticesWithin(before, form.document().stroke().state().cursorPoint, 2.0f));
  QTest::mouseRelease(&view, Qt::LeftButton, {}, at + QPoint(1, 0));
}

TEST_F(StrokeTest, FootprintIsWholeInShortAndTallPanels) {
  for (const int height : {600, 1200}) {
    const int chrome = form_->height() - View().height();
    form_->resize(900, height + chrome);
    QTRY_COMPARE(View().height(), height);
    QApplication::processEvents();
    ExpectWholeFootprint(*form_, View());
  }
}

TEST_F(StrokeTest, PaintToolPaintsTheFootprintAndCapturesColours) {
  form_->document().SetColorChooser([](const QColor&) { return QColor(200, 10, 20); });
  form_->PanelMenu->CheckSym->setChecked(false);
  SetRadius(100);
  form_->PanelPaintColor->PaintTool1Click();
  EXPECT_TRUE(Panel("PanelPaintColor")->isVisible());
  EXPECT_EQ(form_->PanelPaintColor->sldRed->value(), 200);
  const Tvertices positions = Ball().vertices;
  const QPoint at = Centre() + QPoint(-40, 25);
  Stroke(at, {at + QPoint(1, 0)});
  const ATContsel& painted = form_->document().stroke().state().frame.direct.entries;
  ASSERT_FALSE(painted.empty());
  for (const TContsel& entry : painted) {
    const TRGBA& c = Ball().colors[static_cast<size_t>(entry.vertex)];
    EXPECT_EQ((std::array<int, 3>{c.r, c.g, c.b}), (std::array<int, 3>{200, 10, 20})) << entry.vertex;
  }
  EXPECT_EQ(Ball().vertices, positions);  // painting leaves the shape alone

  // Capture reads the colour under the cursor into the sliders.
  form_->PanelPaintColor->sldRed->setValue(0);
  form_->PanelPaintColor->SpeedCapture->click();
  EXPECT_TRUE(form_->document().modes().colorCapture);
  Stroke(at, {});
  EXPECT_FALSE(form_->document().modes().colorCapture);
  EXPECT_EQ(form_->PanelPaintColor->sldRed->value(), 200);
  EXPECT_EQ(form_->PanelPaintColor->sldGreen->value(), 10);

  form_->PanelPaintColor->SpeedPaintColorClose->click();
  EXPECT_FALSE(Panel("PanelPaintColor")->isVisible());
  EXPECT_FALSE(form_->document().modes().paint);
  EXPECT_TRUE(form_->PanelModeling->RadioModel[0]->isChecked());
}

TEST_F(StrokeTest, BrushSelectionIntensityAndInvertFreeze) {
  // Grab with its stored intensity already on the bar keeps the selection divisor.
  const int grab = form_->preferences().brushDefaultIntensity[2];
  form_->PanelMenu->ScrollIntensity->setValue(grab);
  form_->PanelModeling->RadioModelClick(2);
  EXPECT_FLOAT_EQ(form_->document().brush().strength, grab / 7500.0f);
  form_->PanelMenu->ScrollIntensity->setValue(grab == 50 ? 49 : grab + 1);
  EXPECT_FLOAT_EQ(form_->document().brush().strength, form_->PanelMenu->ScrollIntensity->value() / 1500.0f);
  EXPECT_EQ(form_->PanelMenu->LabSize->text(), QString::number(form_->PanelMenu->ScrollIntensity->value()));

  // Shift over Smooth with Smooth selected: the second brush's 0.3.
  SetRadius(100);
  form_->PanelModeling->RadioModelClick(6);
  const QPoint at = Centre() + QPoint(50, -40);
  Hover(at);
  QTest::mousePress(&View(), Qt::LeftButton, {}, at);
  const QPointF fb = form_->viewport().ToFramebuffer(QPointF(at + QPoint(1, 0)));
  form_->viewportInput().PanelCentroMouseMove(Qt::ShiftModifier, static_cast<int>(fb.x()), static_cast<int>(fb.y()));
  EXPECT_FLOAT_EQ(form_->document().brush().strength, 0.3f);
  QTest::mouseRelease(&View(), Qt::LeftButton, {}, at + QPoint(1, 0));
  EXPECT_FLOAT_EQ(form_->document().brush().strength, form_->PanelMenu->ScrollIntensity->value() / 75.0f);

  // Alt over Add: Subtract for the stroke, then Add again.
  form_->PanelModeling->RadioModelClick(0);
  Hover(at);
  const Tvertices before = Ball().vertices;
  QTest::mousePress(&View(), Qt::LeftButton, {}, at);
  form_->viewportInput().PanelCentroMouseMove(Qt::AltModifier, static_cast<int>(fb.x()), static_cast<int>(fb.y()));
  EXPECT_TRUE(form_->PanelModeling->RadioModel[1]->isChecked());
  EXPECT_EQ(form_->document().stroke().state().brushSign, -1);
  const TBrushFrame& f = form_->document().stroke().state().frame;
  ASSERT_GE(f.direct.pickedVertex, 0);
  const TGLCoord& p = Ball().vertices[static_cast<size_t>(f.direct.pickedVertex)];
  EXPECT_LT(Distance(p, {}), Distance(before[static_cast<size_t>(f.direct.pickedVertex)], {}));  // pushed in
  QTest::mouseRelease(&View(), Qt::LeftButton, {}, at + QPoint(1, 0));
  EXPECT_TRUE(form_->PanelModeling->RadioModel[0]->isChecked());
  EXPECT_EQ(form_->document().stroke().state().brushSign, 1);

  // Invert Freeze: 0 and 1 become 2, 2 becomes 0; refused in texture mode.
  TGeosphera& e = form_->scene().current();
  e.vertexState[0] = kVertexFrozen;
  e.vertexState[1] = kVertexTouched;
  form_->PanelMenu->CheckBox1->click();
  EXPECT_EQ(e.vertexState[0], kVertexFree);
  EXPECT_EQ(e.vertexState[1], kVertexFrozen);
  EXPECT_EQ(e.vertexState[2], kVertexFrozen);
  form_->viewport().state().textureViewOn = true;
  form_->PanelMenu->CheckBox1->click();
  EXPECT_EQ(e.vertexState[0], kVertexFree);
  EXPECT_EQ(messages_.Texts(), (std::vector<std::string>{"Disable texture mode to return sculpting."}));
}

TEST_F(StrokeTest, WheelZoomWidensTheWindowAndRebuildsTheGridsAtTheNextHover) {
  HoverMove(View(), Centre());
  const float radius = form_->viewport().inputs().brush.radius;
  const float window = form_->document().stroke().state().brushWindow;
  form_->formInput().FormMouseWheel(1);  // closer
  EXPECT_GT(form_->document().stroke().state().brushWindow, window);
  EXPECT_FLOAT_EQ(form_->viewport().inputs().brush.radius, radius);
  EXPECT_TRUE(form_->document().stroke().state().gridsStale);
  HoverMove(View(), Centre() + QPoint(1, 0));
  EXPECT_FALSE(form_->document().stroke().state().gridsStale);
}

// At a device pixel ratio of 2 (QT_SCALE_FACTOR=2) mouse positions become
// framebuffer pixels and the window still covers the whole brush.
class StrokeHiDpi : public StrokeTest {};

TEST_F(StrokeHiDpi, FootprintIsWholeAtDevicePixelRatioTwo) {
  if (View().devicePixelRatioF() != 2) GTEST_SKIP() << "needs QT_SCALE_FACTOR=2";
  form_->resize(700, 560);  // 1400 x 1120 pixels on the 1600 x 1200 screen
  QTRY_COMPARE(form_->width(), 700);
  ExpectWholeFootprint(*form_, View());
}

TEST_F(StrokeHiDpi, CameraDragsFollowThePointerInScreenPoints) {
  if (View().devicePixelRatioF() != 2) GTEST_SKIP() << "needs QT_SCALE_FACTOR=2";
  ExpectRotateAndPanRule(*form_);
}

}  // namespace

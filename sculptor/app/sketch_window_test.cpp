// The sketch-sphere tool on the real window under Xvfb: the "Skech Sphere"
// start mesh, strokes that drop mirrored pairs, their undo, the conversion,
// the panel's controls, its refusals and its question.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolButton>

#include "app/panel_skech.h"
#include "app/start_mesh.h"
#include "app/window_test_support.h"

namespace {

class SketchTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    WriteModelFile(install_.file("models/basegeosphere1.met"), {MakeGeodesicSphere(1, 0.5f)});
  }

  void StartSketch() {
    form_->PanelStart->StartMeshButtonClick(kSketchChoice);
    form_->PanelLoadAdd->ButtLoadAddClick();
    QApplication::processEvents();
  }

  TPanelSkech& Skech() { return *form_->PanelSkech; }
  TScene& Scene() { return form_->scene(); }
  QWidget& View() { return form_->viewport(); }
  QPoint Centre() { return {View().width() / 2, View().height() / 2}; }

  // Hovers at `at` (delivered at once), then drags the left button over `path`.
  void Stroke(QPoint at, const std::vector<QPoint>& path) {
    QMouseEvent move(QEvent::MouseMove, QPointF(at), View().mapToGlobal(QPointF(at)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&View(), &move);
    ASSERT_GE(form_->document().stroke().state().pickedVertex, 0) << "no vertex under the cursor";
    QTest::mousePress(&View(), Qt::LeftButton, {}, at);
    for (const QPoint& p : path) QTest::mouseMove(&View(), p);
    QTest::mouseRelease(&View(), Qt::LeftButton, {}, path.back());
    QApplication::processEvents();
  }

  void SketchStroke() { Stroke(Centre(), {Centre() + QPoint(15, 0), Centre() + QPoint(30, -10)}); }
};

TEST_F(SketchTest, OnlyASketchStartMeshOpensTheTool) {
  Skech().SpeedSkechClick();  // the default ball
  EXPECT_FALSE(Skech().isVisible());
  form_->viewport().state().textureViewOn = true;
  Skech().SpeedSkechClick();
  form_->viewport().state().textureViewOn = false;
  EXPECT_EQ(messages_.Texts(),
            (std::vector<std::string>{"Select \"Skech Sphere\" in \"Start Mesh\" to sculpt your base form.",
                                      "Disable texture mode to return sculpting."}));

  // The start mesh opens the tool and is converted at once, at the
  // resolution the bar shows.
  const int loadedVertices = 10 * 4 + 2;
  StartSketch();
  EXPECT_TRUE(Skech().isVisible());
  EXPECT_TRUE(form_->document().modes().sketch);
  ASSERT_EQ(Scene().elementCount(), 1);
  EXPECT_EQ(Scene().elements[0].sketchBase, 1);
  EXPECT_GT(Scene().elements[0].vertexCount, loadedVertices);
  EXPECT_EQ(Skech().ScrollBarSkech->value(), 4);
  EXPECT_EQ(Skech().Labfator->text(), "4");
  EXPECT_FLOAT_EQ(Skech().sketchResolution(), 4);

  // Closed, the tool reopens from its button now.
  Skech().SpeedButton8->click();
  EXPECT_FALSE(Skech().isVisible());
  EXPECT_FALSE(form_->document().modes().sketch);
  form_->PanelMenu->SpeedSkech->click();
  EXPECT_TRUE(Skech().isVisible());
  EXPECT_TRUE(form_->document().modes().sketch);
  EXPECT_EQ(messages_.entries.size(), 2u);
}

// A stroke drops mirrored pairs on one plane facing the view (along -x at
// the start), Undo takes the stroke's spheres away, "Convert Skech" blends
// the spheres into element 0 alone.
TEST_F(SketchTest, StrokesDropPairsUndoRemovesThemConvertJoinsThem) {
  StartSketch();
  const TGeosphera principal = Scene().elements[0];
  SketchStroke();
  const int count = Scene().elementCount();
  ASSERT_GE(count, 3);
  ASSERT_EQ(count % 2, 1);
  EXPECT_EQ(Scene().currentElement, 0);
  EXPECT_EQ(Scene().elements[0].vertices, principal.vertices);  // not sculpted
  for (int i = 1; i < count; i += 2) {
    const TGeosphera& sphere = Scene().elements[static_cast<size_t>(i)];
    const TGeosphera& mirror = Scene().elements[static_cast<size_t>(i + 1)];
    EXPECT_EQ(sphere.name, "Sphere" + std::to_string(i));
    EXPECT_FLOAT_EQ(sphere.position.x, Scene().elements[1].position.x) << i;
    EXPECT_FLOAT_EQ(mirror.position.x, sphere.position.x) << i;
    EXPECT_FLOAT_EQ(mirror.position.y, sphere.position.y) << i;
    EXPECT_FLOAT_EQ(mirror.position.z, -sphere.position.z) << i;
    EXPECT_FLOAT_EQ(sphere.loadExtent, form_->document().brush().radius) << i;
    EXPECT_EQ(sphere.colorA, 178);
    EXPECT_GT(sphere.vertexCount, 0);
  }

  SketchStroke();
  ASSERT_GT(Scene().elementCount(), count);
  form_->MainMenu->Undo1->trigger();
  EXPECT_EQ(Scene().elementCount(), count);
  form_->MainMenu->Undo1->trigger();
  EXPECT_EQ(Scene().elementCount(), 1);
  EXPECT_EQ(Scene().elements[0].vertices, principal.vertices);

  SketchStroke();
  Skech().SpeedSkechConvertClick();
  ASSERT_EQ(Scene().elementCount(), 1);
  EXPECT_NE(Scene().elements[0].vertexCount, principal.vertexCount);
  EXPECT_EQ(form_->document().stroke().sketchGroups().size(), 0u);
  form_->MainMenu->Undo1->trigger();  // no sphere group left: nothing to undo
  EXPECT_EQ(Scene().elementCount(), 1);
  EXPECT_TRUE(messages_.entries.empty());
}

TEST_F(SketchTest, ResolutionAutomaticConvertClearAndMaxUndo) {
  StartSketch();
  Skech().ScrollBarSkech->setValue(7);
  EXPECT_FLOAT_EQ(Skech().sketchResolution(), 7);
  EXPECT_EQ(Skech().Labfator->text(), "7");

  // Automatic conversion holds the resolution at 2 and converts after each stroke.
  Skech().CheckAuto->click();
  EXPECT_TRUE(Skech().autoConvert());
  EXPECT_FLOAT_EQ(Skech().sketchResolution(), 2);
  Skech().ScrollBarSkech->setValue(9);
  EXPECT_EQ(Skech().ScrollBarSkech->value(), 2);
  EXPECT_EQ(Skech().Labfator->text(), "2");
  const int before = Scene().elements[0].vertexCount;
  SketchStroke();
  EXPECT_EQ(Scene().elementCount(), 1);
  EXPECT_NE(Scene().elements[0].vertexCount, before);
  Skech().CheckAuto->click();
  EXPECT_FALSE(Skech().autoConvert());
  EXPECT_FLOAT_EQ(Skech().sketchResolution(), 2);

  // "Clear Skech Spheres" asks first.
  SketchStroke();
  const int spheres = Scene().elementCount();
  ASSERT_GT(spheres, 1);
  messages_.answers = {MessageAnswer::No, MessageAnswer::Yes};
  Skech().SpeedClearSkech->click();
  EXPECT_EQ(Scene().elementCount(), spheres);
  Skech().SpeedClearSkech->click();
  EXPECT_EQ(Scene().elementCount(), 1);
  EXPECT_EQ(Scene().currentElement, 0);
  ASSERT_EQ(messages_.entries.size(), 2u);
  EXPECT_EQ(messages_.entries[0].text,
            "New mesh will be created, please save your mesh before deleting balls.\n"
            "Confirms the exclusion of the spheres?");

  // "Max Undo" "Ok" sizes the sketch stroke ring as the undo rings.
  EXPECT_EQ(form_->document().stroke().sketchGroups().capacity(), 18u);
  form_->PanelConfig->SpinMaxUndo->setValue(5);
  form_->PanelConfig->ButtMaxUndoOkClick();
  EXPECT_EQ(form_->document().stroke().sketchGroups().capacity(), 8u);
}

}  // namespace

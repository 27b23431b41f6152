// "Mesh Reduction" in the real window: the panel, "Process" on the current
// element with its refresh, Undo back to the element as the panel found it,
// and the refusal in texture mode.
#include <QAction>
#include <QLabel>
#include <QScrollBar>
#include <QToolButton>

#include "app/panel_reduction.h"
#include "app/window_test_support.h"

namespace {

class ReductionWindowTest : public WindowTest {
 protected:
  TGeosphera& Ball() { return form_->scene().elements[0]; }
  TPanelReduction& Panel() { return *form_->PanelReduction; }
  int GeometryCounter() { return form_->document().undo().Counter(Ball().uid, UndoChannel::Geometry); }
};

constexpr int kBallTriangles = 20 * 16;

TEST_F(ReductionWindowTest, ProcessReducesAgainOnEveryPressAndUndoGivesBackTheOpenedElement) {
  form_->MainMenu->Subdivide1->trigger();
  ASSERT_EQ(form_->PanelMenu->LabSubd->text(), "1");
  const TGeosphera opened = Ball();
  const int counter = GeometryCounter();

  ASSERT_TRUE(form_->PanelMenu->SpeedReduction->isEnabled());
  form_->PanelMenu->SpeedReduction->click();
  ASSERT_TRUE(Panel().isVisible());
  EXPECT_EQ(Panel().LabPosition->text(), "40 %");
  EXPECT_EQ(Panel().LabRed->text().trimmed(), "");
  EXPECT_EQ(GeometryCounter(), counter + 1);  // the snapshot of the opening

  Panel().ScrollReduction->setValue(50);
  EXPECT_EQ(Panel().LabPosition->text(), "50 %");
  Panel().SpeedProcessRed->click();
  const int once = Ball().triangleCount();
  EXPECT_LE(once, 4 * kBallTriangles / 2);
  EXPECT_GT(once, 4 * kBallTriangles / 2 - 20);
  EXPECT_EQ(form_->PanelMenu->LabSubd->text(), "0");
  EXPECT_EQ(Ball().subdivLevel, 0);
  EXPECT_EQ(Ball().colors.size(), Ball().vertices.size());
  EXPECT_EQ(form_->scene().adjacencyWidth, Ball().adjacency.width);
  EXPECT_EQ(form_->viewport().buffers().FindSlot(form_->scene(), 0)->vertexBytes, 12 * Ball().vertexCount);
  const int frames = form_->viewport().framesDrawn();
  QTRY_VERIFY(form_->viewport().framesDrawn() > frames);  // the reduced ball draws

  Panel().SpeedProcessRed->click();  // the reduced mesh is reduced again
  EXPECT_LE(Ball().triangleCount(), once / 2);
  EXPECT_EQ(GeometryCounter(), counter + 1);  // Process takes no snapshot of its own

  form_->MainMenu->Undo1->trigger();
  EXPECT_EQ(Ball().faces, opened.faces);
  EXPECT_EQ(Ball().vertices, opened.vertices);
  EXPECT_EQ(Ball().colors, opened.colors);
  EXPECT_EQ(form_->PanelMenu->LabSubd->text(), "1");

  Panel().SpeedCloseReduction->click();
  EXPECT_FALSE(Panel().isVisible());
  EXPECT_TRUE(messages_.Texts().empty());
}

TEST_F(ReductionWindowTest, ReopeningShowsTheDefaultRatioAndTextureModeRefuses) {
  form_->MainMenu->MeshReduction1->trigger();
  Panel().ScrollReduction->setValue(0);  // 0 % asks for no triangles: nothing is reduced
  Panel().SpeedProcessRed->click();
  EXPECT_EQ(Ball().triangleCount(), kBallTriangles);
  Panel().SpeedCloseReduction->click();
  form_->MainMenu->MeshReduction1->trigger();
  EXPECT_EQ(Panel().LabPosition->text(), "40 %");
  Panel().SpeedCloseReduction->click();

  const int counter = GeometryCounter();
  form_->viewport().state().textureViewOn = true;
  form_->MainMenu->MeshReduction1->trigger();
  form_->PanelMenu->SpeedReduction->click();
  EXPECT_FALSE(Panel().isVisible());
  EXPECT_EQ(GeometryCounter(), counter);
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>(2, "Disable texture mode to return sculpting."));
}

}  // namespace

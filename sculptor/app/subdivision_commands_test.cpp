// The multiresolution commands in the real window: the Edit menu, the tool
// panel, the shortcut commands and the level label.
#include <QAction>
#include <QLabel>
#include <QToolButton>

#include "app/window_test_support.h"

namespace {

class SubdivisionWindowTest : public WindowTest {
 protected:
  const TGeosphera& Ball() { return form_->scene().elements[0]; }
  QString Level() { return form_->PanelMenu->LabSubd->text(); }
};

constexpr int kBallTriangles = 20 * 16;
constexpr int kBallEdges = 30 * 16;

}  // namespace

TEST_F(SubdivisionWindowTest, MenuAndPanelChangeTheLevelOfTheBall) {
  ASSERT_TRUE(form_->MainMenu->Subdivide1->isEnabled());
  form_->MainMenu->Subdivide1->trigger();
  EXPECT_EQ(Ball().vertexCount, kBallVertices + kBallEdges);
  EXPECT_EQ(Ball().triangleCount(), 4 * kBallTriangles);
  EXPECT_EQ(Level(), "1");
  EXPECT_EQ(form_->scene().adjacencyWidth, Ball().adjacency.width);
  EXPECT_EQ(form_->viewport().buffers().FindSlot(form_->scene(), 0)->vertexBytes, 12 * (kBallVertices + kBallEdges));
  EXPECT_EQ(form_->document().undo().Counter(Ball().uid, UndoChannel::Geometry), UndoSnapshots::kFirstNumber + 1);
  const int frames = form_->viewport().framesDrawn();
  QTRY_VERIFY(form_->viewport().framesDrawn() > frames);

  ASSERT_TRUE(form_->PanelMenu->SpeedUnSubdivide->isEnabled());
  form_->PanelMenu->SpeedUnSubdivide->click();
  EXPECT_EQ(Ball().vertexCount, kBallVertices);
  EXPECT_EQ(Ball().triangleCount(), kBallTriangles);
  EXPECT_EQ(Level(), "0");

  form_->MainMenu->UnSubdivide1->trigger();
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"Level can not be less than the load mesh!!"});
  EXPECT_EQ(Ball().vertexCount, kBallVertices);
}

TEST_F(SubdivisionWindowTest, ShortcutCommandsOneAndTwo) {
  QTest::keyClick(form_.get(), Qt::Key_D, Qt::ControlModifier);
  EXPECT_EQ(Level(), "1");
  EXPECT_EQ(Ball().triangleCount(), 4 * kBallTriangles);
  QTest::keyClick(form_.get(), Qt::Key_D, Qt::ShiftModifier);
  EXPECT_EQ(Level(), "0");
  EXPECT_EQ(Ball().triangleCount(), kBallTriangles);
}

TEST_F(SubdivisionWindowTest, DetailRefinesTheSelectionAndUndoLeadsBack) {
  TGeosphera& ball = form_->scene().elements[0];
  const Tfaces faces = ball.faces;
  form_->PanelMenu->SpeedDetail->click();  // nothing selected: said so
  EXPECT_EQ(ball.faces, faces);
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"Select the vertices to detail first (\"Selection Mode\")."});
  for (size_t v = 0; v < ball.vertices.size(); ++v) ball.vertexState[v] = ball.vertices[v].y > 1.5f ? 2 : 0;
  form_->MainMenu->Detail1->trigger();
  EXPECT_GT(ball.triangleCount(), kBallTriangles);
  EXPECT_EQ(Level(), "0");
  const int frames = form_->viewport().framesDrawn();
  QTRY_VERIFY(form_->viewport().framesDrawn() > frames);  // the refined ball draws
  form_->MainMenu->UnSubdivide1->trigger();  // Detail leaves no level to go down
  EXPECT_GT(ball.triangleCount(), kBallTriangles);
  // Two undo steps lead back to the ball before the refinement.
  for (int step = 0; step < 2; ++step) form_->MainMenu->Undo1->trigger();
  EXPECT_EQ(ball.faces, faces);
}

// The counts follow every command that changes the mesh, not only the next stroke.
TEST_F(SubdivisionWindowTest, StatusBarCountsFollowTheMeshCommands) {
  TGeosphera& ball = form_->scene().elements[0];
  TMainMenu& menu = *form_->MainMenu;
  const std::pair<const char*, std::function<void()>> commands[] = {
      {"Subdivide", [&] { menu.Subdivide1->trigger(); }},
      {"UnSubdivide", [&] { menu.UnSubdivide1->trigger(); }},
      {"Detail",
       [&] {
         for (size_t v = 0; v < ball.vertices.size(); ++v) ball.vertexState[v] = ball.vertices[v].y > 1.5f ? 2 : 0;
         menu.Detail1->trigger();
       }},
      {"Undo", [&] { menu.Undo1->trigger(); }},
  };
  for (const auto& [name, command] : commands) {
    const int trianglesBefore = ball.triangleCount();
    command();
    EXPECT_NE(ball.triangleCount(), trianglesBefore) << name;
    EXPECT_EQ(form_->statusPanels[0]->text(), QString("Triangles: %1").arg(ball.indexCount / 3)) << name;
    EXPECT_EQ(form_->statusPanels[1]->text(), QString("Vertex: %1").arg(ball.vertexCount)) << name;
  }
}

TEST_F(SubdivisionWindowTest, TextureModeRefusesAllThree) {
  form_->viewport().state().textureViewOn = true;
  form_->MainMenu->Subdivide1->trigger();
  form_->PanelMenu->SpeedUnSubdivide->click();
  form_->PanelMenu->SpeedDetail->click();
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>(3, "Disable texture mode to return sculpting."));
  EXPECT_EQ(Ball().triangleCount(), kBallTriangles);
  EXPECT_EQ(Level(), "0");
}

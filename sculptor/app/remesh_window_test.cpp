// Remesh Compact and Remesh in the real window, with the real voxquad and
// poissonrecon installed beside it.
#include <QLabel>
#include <QProgressBar>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <map>
#include <utility>

#include "app/panel_remesh.h"
#include "app/window_test_support.h"

namespace {

// Every edge of the element is shared by exactly two of its triangles.
bool Closed(const TGeosphera& e) {
  std::map<std::pair<uint32_t, uint32_t>, int> edges;
  for (size_t t = 0; t + 2 < e.faces.size() && t < static_cast<size_t>(e.indexCount); t += 3) {
    for (int k = 0; k < 3; ++k) {
      const uint32_t a = e.faces[t + k], b = e.faces[t + (k + 1) % 3];
      ++edges[{std::min(a, b), std::max(a, b)}];
    }
  }
  return !edges.empty() && std::all_of(edges.begin(), edges.end(), [](const auto& edge) { return edge.second == 2; });
}

// Bounding box extent of the element along x over that along y.
float AspectXY(const TGeosphera& e) {
  float lo[2] = {1e30f, 1e30f}, hi[2] = {-1e30f, -1e30f};
  for (int i = 0; i < e.vertexCount; ++i) {
    const TGLCoord& v = e.vertices[static_cast<size_t>(i)];
    lo[0] = std::min(lo[0], v.x), hi[0] = std::max(hi[0], v.x);
    lo[1] = std::min(lo[1], v.y), hi[1] = std::max(hi[1], v.y);
  }
  return (hi[0] - lo[0]) / (hi[1] - lo[1]);
}

class RemeshWindow : public WindowTest {
 protected:
  void SetUp() override {
    for (const char* helper : {"voxquad", "poissonrecon"}) {
      ASSERT_TRUE(QFile::link(kBuiltProgramDir + "/" + helper, install_.file(helper))) << helper;
    }
    WindowTest::SetUp();
    remesh_ = form_->PanelRemesh;
  }

  TScene& scene() { return form_->scene(); }
  // Remesh Compact at track bar `position`.
  void RemeshCompact(int position) {
    form_->PanelMenu->TrackBarResol->setValue(position);
    form_->PanelMenu->ButRemeshCompact->click();
  }

  TPanelRemesh* remesh_ = nullptr;
};

TEST_F(RemeshWindow, RemeshCompactOfTheDefaultBallGivesOneClosedQuadElement) {
  EXPECT_EQ(form_->PanelMenu->LabResRemesh->text(), "10");
  RemeshCompact(1);
  EXPECT_EQ(form_->PanelMenu->LabResRemesh->text(), "1");
  ASSERT_EQ(messages_.Texts(), std::vector<std::string>{});
  ASSERT_EQ(scene().elementCount(), 1);
  const TGeosphera& e = scene().elements[0];
  EXPECT_NE(e.vertexCount, kBallVertices);
  EXPECT_TRUE(Closed(e));
  EXPECT_EQ(e.indexCount % 6, 0) << "quads are stored as triangle pairs";
  EXPECT_FALSE(remesh_->isVisible());
  EXPECT_EQ(remesh_->LabelStatusRem->text(), "Initializing process...");
  EXPECT_EQ(remesh_->ProgressBarRemesh->value(), 100);
}

// Three elements, the second current and three times as wide as high: the
// question comes first; Cancel keeps all three, OK leaves the second alone.
TEST_F(RemeshWindow, RemeshCompactAsksBeforeOtherElementsAreDiscarded) {
  TGeosphera wide = MakeGeodesicSphere(2, 1.0f);
  for (TGLCoord& v : wide.vertices) v.x *= 3;
  const QString file = install_.file("three.met");
  TGeosphera first = MakeGeodesicSphere(1, 1.0f), third = MakeGeodesicSphere(1, 1.0f);
  first.name = "first", wide.name = "wide", third.name = "third";
  WriteModelFile(file, {std::move(first), std::move(wide), std::move(third)});
  ASSERT_TRUE(form_->document().ReplaceSceneWith(file, kModelMet, scene().loadScale));
  form_->document().RefreshAfterSceneChange();
  ASSERT_EQ(scene().elementCount(), 3);
  scene().currentElement = 1;

  messages_.answers = {MessageAnswer::Cancel};
  RemeshCompact(1);
  EXPECT_EQ(scene().elementCount(), 3);
  ASSERT_EQ(messages_.entries.size(), 1u);
  EXPECT_EQ(messages_.entries[0].kind, MessageKind::Confirmation);

  messages_.answers = {MessageAnswer::Ok};
  RemeshCompact(1);
  EXPECT_EQ(messages_.entries.size(), 2u);
  ASSERT_EQ(scene().elementCount(), 1);
  EXPECT_EQ(scene().currentElement, 0);
  EXPECT_NEAR(AspectXY(scene().elements[0]), 3.0f, 0.3f);
}

TEST_F(RemeshWindow, RemeshOfAHalfRedBallKeepsTheRedSide) {
  TGeosphera& ball = scene().elements[0];
  ball.colors.resize(static_cast<size_t>(ball.vertexCount));
  for (int i = 0; i < ball.vertexCount; ++i) {
    const bool red = ball.vertices[static_cast<size_t>(i)].x > 0;
    ball.colors[static_cast<size_t>(i)] = red ? TRGBA{255, 0, 0, 255} : TRGBA{255, 255, 255, 255};
  }
  form_->PanelConfig->SpinRemesh->setValue(7);
  form_->MainMenu->Remesh1->trigger();
  ASSERT_EQ(messages_.Texts(), std::vector<std::string>{});
  ASSERT_EQ(scene().elementCount(), 1);
  const TGeosphera& e = scene().elements[0];
  EXPECT_EQ(e.name, "Principal");
  EXPECT_TRUE(Closed(e));
  float radius = 0;
  for (int i = 0; i < e.vertexCount; ++i) radius = std::max(radius, e.vertices[static_cast<size_t>(i)].x);
  int checked = 0;
  for (int i = 0; i < e.vertexCount; ++i) {
    const float x = e.vertices[static_cast<size_t>(i)].x;
    if (std::abs(x) < radius / 2) continue;
    const TRGBA c = e.colors[static_cast<size_t>(i)];
    EXPECT_EQ(x > 0, c.r > 200 && c.g < 80 && c.b < 80) << "x " << x << " colour " << int(c.r) << " " << int(c.g);
    ++checked;
  }
  EXPECT_GT(checked, 20);
}

// Cancel, and closing the window, during a long run end the helper and leave
// the scene as it was.
TEST_F(RemeshWindow, CancelAndCloseDuringARunChangeNothing) {
  for (const bool close : {false, true}) {
    SCOPED_TRACE(close ? "close" : "cancel");
    const int32_t vertices = scene().elements[0].vertexCount;
    messages_.answers = {MessageAnswer::No};  // no saving on close
    QTimer::singleShot(500, remesh_, [this, close] {
      ASSERT_TRUE(remesh_->running());
      ASSERT_TRUE(remesh_->isVisible());
      if (close) {
        form_->close();
      } else {
        remesh_->ButCancelRemesh->click();
      }
    });
    RemeshCompact(50);
    EXPECT_FALSE(remesh_->running());
    EXPECT_EQ(scene().elementCount(), 1);
    EXPECT_EQ(scene().elements[0].vertexCount, vertices);
    QApplication::processEvents();
    EXPECT_EQ(form_->isVisible(), !close);
    EXPECT_EQ(form_->destroyed(), close);
    for (const auto& entry : messages_.entries) EXPECT_EQ(entry.text.find("Failed"), std::string::npos) << entry.text;
  }
}

}  // namespace

// "Ambient Occlusion" in the real window: the bake darkens every element's
// colours at the tool panel's strength and shows them, Undo gives the current
// element's colours back, Cancel and a refusal leave them alone, and while the
// bake runs only its panel takes input.
#include <GL/gl.h>

#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <cmath>

#include "app/panel_create_ao.h"
#include "app/window_test_support.h"
#include "render/element_buffers.h"

namespace {

class AmbientOcclusionWindowTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    form_->PanelStart->CloseStartClick();
    // Colours of their own in every vertex, alpha included.
    TGeosphera& ball = form_->scene().current();
    for (size_t i = 0; i < ball.colors.size(); ++i) {
      ball.colors[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(3 * i), static_cast<uint8_t>(255 - i), 200};
    }
    UploadElementBuffers(form_->scene(), form_->scene().currentElement);
  }

  TPanelCreateAO& Panel() { return *form_->PanelCreateAO; }
  TCores Colors(int element) { return form_->scene().elements[static_cast<size_t>(element)].colors; }

  // The colour bytes in the GPU buffer of an element.
  TCores BufferColors(int element) {
    TScene& scene = form_->scene();
    const TElementGpuSlot* slot = form_->viewport().buffers().FindSlot(scene, element);
    TCores colors(scene.elements[static_cast<size_t>(element)].colors.size());
    if (slot == nullptr) return {};
    form_->viewport().makeCurrent();
    glBindBuffer(GL_ARRAY_BUFFER, slot->buffers[2]);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(colors.size() * sizeof(TRGBA)), colors.data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return colors;
  }

  // Runs `during` once the bake has started and lets its events run.
  void DuringTheBake(std::function<void()> during) {
    QTimer::singleShot(0, &Panel(), [this, during = std::move(during)] {
      ASSERT_TRUE(Panel().running());
      ASSERT_TRUE(Panel().isVisible());
      during();
    });
  }
};

TEST_F(AmbientOcclusionWindowTest, BakeFromTheMenuDarkensEveryElementAndUndoGivesTheColoursBack) {
  form_->PanelStart->StartMeshButtonClick(2);
  form_->PanelLoadAdd->CheckAddMesh->setChecked(true);
  form_->PanelLoadAdd->ButtLoadAddClick();
  ASSERT_EQ(form_->scene().elementCount(), 2);
  form_->scene().currentElement = 0;
  const TCores ball = Colors(0), cube = Colors(1);

  // Strength 0 only multiplies by 0.9: the slider reaches the bake.
  form_->PanelMenu->ScrollBarLevelAO->setValue(0);
  EXPECT_EQ(form_->PanelMenu->LabelLevelAO->text(), "0");
  form_->MainMenu->AmbientOcclusion1->trigger();
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"It is a very slow process. Do you want to continue?"});
  EXPECT_FALSE(Panel().isVisible());
  for (const auto& [element, before] : {std::pair{0, ball}, std::pair{1, cube}}) {
    const TCores after = Colors(element);
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i) {
      const auto darkened = [](uint8_t c) { return static_cast<uint8_t>(std::nearbyint(c / 255.0 * 0.9 * 255.0)); };
      ASSERT_EQ(after[i], (TRGBA{darkened(before[i].r), darkened(before[i].g), darkened(before[i].b), before[i].a}))
          << "element " << element << " vertex " << i;
    }
    // Both elements show their new colours, not only the current one.
    EXPECT_EQ(BufferColors(element), after) << "element " << element;
  }

  EXPECT_TRUE(form_->document().modified());
  form_->MainMenu->Undo1->trigger();
  EXPECT_EQ(Colors(0), ball);
  EXPECT_EQ(BufferColors(0), ball);

  // At the default strength the occlusion darkens more than the plain 0.9.
  form_->PanelMenu->ScrollBarLevelAO->setValue(kAoStrengthDefault);
  form_->PanelMenu->SpeedAO->click();
  const TCores baked = Colors(0);
  int darker = 0;
  for (size_t i = 0; i < baked.size(); ++i) darker += baked[i].b < std::nearbyint(ball[i].b * 0.9) ? 1 : 0;
  EXPECT_GT(darker, 0);
}

TEST_F(AmbientOcclusionWindowTest, RefusalsAndCancelLeaveTheColours) {
  const TCores before = Colors(0);
  // Texture mode refuses without asking; No to the question stops.
  form_->viewport().state().textureViewOn = true;
  form_->MainMenu->AmbientOcclusion1->trigger();
  form_->viewport().state().textureViewOn = false;
  messages_.answers = {MessageAnswer::No};
  form_->MainMenu->AmbientOcclusion1->trigger();
  EXPECT_EQ(messages_.Texts(), (std::vector<std::string>{"Disable texture mode to return sculpting.",
                                                         "It is a very slow process. Do you want to continue?"}));
  EXPECT_EQ(Colors(0), before);
  EXPECT_FALSE(form_->document().modified());

  // Cancel, clicked while the bake runs, stops it before any colour changed.
  QString status;
  DuringTheBake([&] {
    status = Panel().LabelAO->text();
    QTest::mouseClick(Panel().SpeedCancel, Qt::LeftButton);
  });
  form_->MainMenu->AmbientOcclusion1->trigger();
  EXPECT_EQ(status, "Creating octree structure...");
  EXPECT_FALSE(Panel().running());
  EXPECT_FALSE(Panel().isVisible());
  EXPECT_EQ(Panel().ProgressBarAO->value(), 0);
  EXPECT_EQ(Colors(0), before);
  EXPECT_FALSE(form_->document().modified());  // nothing changed: no undo step, nothing to save
}

TEST_F(AmbientOcclusionWindowTest, WhileItRunsOnlyThePanelTakesInputAndClosingWaitsForTheEnd) {
  const TGeosphera before = form_->scene().current();
  QWidget& view = form_->viewport();
  const QPoint centre(view.width() / 2, view.height() / 2);
  bool stillOpen = false;
  DuringTheBake([&] {
    // A stroke on the ball, the Undo shortcut and a click on the tool panel are swallowed.
    QTest::mousePress(&view, Qt::LeftButton, {}, centre);
    QTest::mouseMove(&view, centre + QPoint(20, 10));
    QTest::mouseRelease(&view, Qt::LeftButton, {}, centre + QPoint(20, 10));
    QTest::keyClick(form_.get(), Qt::Key_Z, Qt::ControlModifier);
    QTest::mouseClick(form_->PanelMenu->SpeedSubdivide, Qt::LeftButton);
    // Closing the window cancels the bake; the window goes once it has ended.
    form_->close();
    stillOpen = form_->isVisible();
  });
  messages_.answers = {MessageAnswer::Yes, MessageAnswer::No};  // the bake's question; No to a save question
  form_->MainMenu->AmbientOcclusion1->trigger();
  EXPECT_TRUE(stillOpen);
  const TGeosphera& after = form_->scene().current();
  EXPECT_EQ(after.vertices, before.vertices);
  EXPECT_EQ(after.indexCount, before.indexCount);
  EXPECT_EQ(after.colors, before.colors);

  // Cancelled before any colour changed: nothing to save, the window closes without asking.
  QApplication::processEvents();
  EXPECT_FALSE(form_->isVisible());
  EXPECT_EQ(messages_.Texts().back(), "It is a very slow process. Do you want to continue?");
}

}  // namespace

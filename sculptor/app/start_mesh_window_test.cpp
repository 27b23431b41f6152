// The start-mesh chooser of the real window on the built installation: every
// button can be chosen and brings in its own model, as the new principal mesh
// and as an added element.
#include <QCheckBox>
#include <QToolButton>

#include "app/start_mesh.h"
#include "io/model_conversion.h"
#include "window_test_support.h"

namespace {

class StartMeshWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    QFile::remove(UserPreferencesPath());
    form_ = std::make_unique<TFormMain>(kBuiltProgramDir);
    ASSERT_FALSE(form_->startupFailed());
    form_->resize(900, 700);
    form_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
  }

  template <typename T>
  T* Child(const QString& name) {
    T* child = form_->findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name.toStdString();
    return child;
  }

  // Presses the choice's button, sets the two boxes and presses "Ok".
  void Choose(int choice, bool asPrincipal) {
    Child<QToolButton>(QString("SpeedStart%1").arg(choice))->click();
    Child<QCheckBox>("CheckNewPrincipal")->setChecked(asPrincipal);
    Child<QCheckBox>("CheckAddMesh")->setChecked(!asPrincipal);
    Child<QToolButton>("ButtLoadAdd")->click();
  }

  CapturingMessageSink messages_;
  std::unique_ptr<TFormMain> form_;
};

// The triangles of the file as the Met reader gives them.
Tfaces FacesOfFile(const std::string& file) {
  TScene scene;
  EXPECT_TRUE(LoadIntoScene(scene, file, kModelMet, 1.0f)) << file;
  return scene.elements.empty() ? Tfaces{} : scene.elements[0].faces;
}

TEST_F(StartMeshWindowTest, EveryButtonLoadsItsModelAsPrincipalAndAsAddedElement) {
  for (const TStartMeshChoice& c : kStartMeshChoices) {
    SCOPED_TRACE(c.caption);
    EXPECT_TRUE(Child<QToolButton>(QString("SpeedStart%1").arg(c.choice))->isEnabled());
    if (c.model == nullptr) continue;  // "Load Mesh" opens a file instead
    const Tfaces faces = FacesOfFile((kBuiltProgramDir + "/" + c.model).toStdString());
    ASSERT_FALSE(faces.empty());

    Choose(c.choice, true);
    const TScene& scene = form_->scene();
    ASSERT_EQ(scene.elementCount(), 1);
    // The sketch sphere is converted at once, and only as principal mesh.
    if (c.choice == kSketchChoice) {
      EXPECT_EQ(scene.elements[0].sketchBase, 1);
      continue;
    }
    EXPECT_EQ(scene.elements[0].faces, faces);

    Choose(c.choice, false);
    ASSERT_EQ(scene.elementCount(), 2);
    EXPECT_EQ(scene.currentElement, 1);
    EXPECT_EQ(scene.elements[1].faces, faces);
    EXPECT_EQ(scene.elements[0].faces, faces);
  }
  EXPECT_TRUE(messages_.Texts().empty());
}

}  // namespace

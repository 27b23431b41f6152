// "Undo" in the real window: the Edit menu item and the shortcut bring back
// the current element's own snapshot, with its level shown; a new scene drops
// the rings.
#include <QCheckBox>
#include <QLabel>
#include <QSpinBox>
#include <QToolButton>

#include "app/window_test_support.h"

namespace {

class UndoCommandTest : public WindowTest {
 protected:
  // A stroke's start snapshot of the current element, then an edit of every
  // position, normal and the level; returns the element as it was.
  TGeosphera SnapshotAndEdit() {
    TGeosphera& e = form_->scene().current();
    const TGeosphera before = e;
    form_->document().undo().MarkPendingChange(0);
    form_->document().undo().TakeSnapshot(e, UndoChannel::Geometry, kSnapshotPositions);
    for (TGLCoord& v : e.vertices) v.x += 0.5f;
    for (TGLCoord& n : e.normals) n = {0, 0, 1};
    e.subdivLevel = before.subdivLevel + 2;
    return before;
  }

  static void ExpectSameShape(const TGeosphera& actual, const TGeosphera& expected) {
    EXPECT_EQ(actual.vertices, expected.vertices);
    EXPECT_EQ(actual.normals, expected.normals);
    EXPECT_EQ(actual.subdivLevel, expected.subdivLevel);
  }

  int GeometryCounter() {
    return form_->document().undo().Counter(form_->scene().current().uid, UndoChannel::Geometry);
  }

  void AddCubeSphere() {
    form_->PanelStart->StartMeshButtonClick(2);
    form_->PanelLoadAdd->CheckAddMesh->setChecked(true);
    form_->PanelLoadAdd->ButtLoadAddClick();
    ASSERT_EQ(form_->scene().elementCount(), 2);
  }
};

TEST_F(UndoCommandTest, MenuAndShortcutRestoreTheBallExactly) {
  ASSERT_TRUE(form_->MainMenu->Undo1->isEnabled());
  const TGeosphera before = SnapshotAndEdit();
  form_->PanelMenu->LabSubd->setText("2");
  form_->MainMenu->Undo1->trigger();
  ExpectSameShape(form_->scene().current(), before);
  EXPECT_EQ(form_->PanelMenu->LabSubd->text(), "0");
  EXPECT_EQ(GeometryCounter(), 3);

  // With the counter back at 3 there is nothing left to undo.
  TGeosphera& e = form_->scene().current();
  for (TGLCoord& v : e.vertices) v.y -= 1;
  const TGeosphera moved = e;
  form_->MainMenu->Undo1->trigger();
  ExpectSameShape(e, moved);

  SnapshotAndEdit();
  QTest::keyClick(form_.get(), Qt::Key_Z, Qt::ControlModifier);  // the shipped "Undo" keys
  ExpectSameShape(e, moved);
  EXPECT_TRUE(messages_.entries.empty()) << messages_.Texts().front();
}

TEST_F(UndoCommandTest, EachElementUndoesItsOwnSnapshots) {
  AddCubeSphere();
  TScene& scene = form_->scene();
  const TGeosphera cubeBefore = SnapshotAndEdit();
  const TGeosphera cubeEdited = scene.current();
  ASSERT_TRUE(SelectElement(scene, 0));
  const TGeosphera ballBefore = SnapshotAndEdit();
  const TGeosphera ballEdited = scene.current();
  ASSERT_TRUE(SelectElement(scene, 1));

  form_->MainMenu->Undo1Click();
  ExpectSameShape(scene.elements[1], cubeBefore);
  ExpectSameShape(scene.elements[0], ballEdited);
  form_->MainMenu->Undo1Click();  // the cube's ring is empty now; the ball's stays
  ExpectSameShape(scene.elements[0], ballEdited);

  ASSERT_TRUE(SelectElement(scene, 0));
  form_->MainMenu->Undo1Click();
  ExpectSameShape(scene.elements[0], ballBefore);
  EXPECT_EQ(scene.elements[1].vertices, cubeBefore.vertices);
  EXPECT_NE(cubeEdited.vertices, cubeBefore.vertices);
  EXPECT_TRUE(messages_.entries.empty()) << messages_.Texts().front();
}

TEST_F(UndoCommandTest, AFullSnapshotBringsBackTheTrianglesAndTheirBuffers) {
  TScene& scene = form_->scene();
  TGeosphera& e = scene.current();
  const TGeosphera before = e;
  form_->document().undo().TakeSnapshot(e, UndoChannel::Geometry, kSnapshotFull);
  const uint32_t uid = e.uid;
  e = MakeCubeSphere(1, 1);  // an operation that changed the topology
  e.uid = uid;
  // with every side array, as the program's operations leave it (Undo keeps it for Redo)
  e.normals.assign(static_cast<size_t>(e.vertexCount), {0, 0, 1});
  e.colors.assign(static_cast<size_t>(e.vertexCount), kDefaultVertexColor);
  e.vertexState.assign(static_cast<size_t>(e.vertexCount), kVertexFree);
  UploadElementBuffers(scene, 0);
  ASSERT_NE(e.vertexCount, before.vertexCount);

  form_->MainMenu->Undo1Click();
  ExpectSameShape(e, before);
  EXPECT_EQ(e.faces, before.faces);
  EXPECT_EQ(e.vertexState, before.vertexState);
  EXPECT_EQ(e.colors, before.colors);
  EXPECT_EQ(form_->viewport().buffers().FindSlot(scene, 0)->vertexBytes, int64_t{before.vertexCount} * 12);
  EXPECT_GT(e.adjacency.width, 0);
  EXPECT_TRUE(messages_.entries.empty()) << messages_.Texts().front();
}

TEST_F(UndoCommandTest, DeletingAnElementDropsItsSnapshots) {
  AddCubeSphere();
  SnapshotAndEdit();
  const std::string file =
      form_->document().undo().SnapshotPath(form_->scene().current().uid, UndoChannel::Geometry, 3, false);
  ASSERT_TRUE(QFile::exists(QString::fromStdString(file)));
  QTest::keyClick(form_.get(), Qt::Key_Delete);
  ASSERT_EQ(form_->scene().elementCount(), 1);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(file)));
  const TGeosphera ball = form_->scene().current();
  form_->MainMenu->Undo1Click();  // the ball has no snapshot of its own
  ExpectSameShape(form_->scene().current(), ball);
}

TEST_F(UndoCommandTest, ANewPrincipalMeshStartsWithoutSnapshots) {
  SnapshotAndEdit();
  ASSERT_EQ(GeometryCounter(), 4);
  form_->PanelStart->StartMeshButtonClick(1);  // Geosphere as the new principal mesh
  messages_.answers = {MessageAnswer::No};      // the edited scene goes unsaved
  form_->PanelLoadAdd->ButtLoadAddClick();
  const TGeosphera loaded = form_->scene().current();
  EXPECT_EQ(GeometryCounter(), 3);
  form_->MainMenu->Undo1Click();
  ExpectSameShape(form_->scene().current(), loaded);
  EXPECT_TRUE(QDir(QString::fromStdString(form_->document().undo().folder())).entryList(QDir::Files).isEmpty());
}

TEST_F(UndoCommandTest, MaxUndoOkSetsTheRingAndClosesThePanel) {
  form_->PanelConfig->Preferences1Click();
  form_->PanelConfig->SpinMaxUndo->setValue(20);
  form_->findChild<QToolButton*>("ButtMaxUndoOk")->click();
  EXPECT_EQ(form_->document().undo().undoCapacity(), 23);
  EXPECT_TRUE(form_->document().undo().compressing());
  EXPECT_FALSE(form_->PanelConfig->isVisible());
  const TGeosphera before = SnapshotAndEdit();
  form_->MainMenu->Undo1Click();
  ExpectSameShape(form_->scene().current(), before);

  // With Max Undo 0 a snapshot is written but none comes back.
  form_->PanelConfig->SpinMaxUndo->setValue(0);
  form_->PanelConfig->ButtMaxUndoOkClick();
  SnapshotAndEdit();
  const TGeosphera edited = form_->scene().current();
  form_->MainMenu->Undo1Click();
  ExpectSameShape(form_->scene().current(), edited);
}

}  // namespace

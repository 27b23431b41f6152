// The element editing commands in the real window: the element panel, the
// mask commands, Detach, Mirror, Delete, Unification and the transforms.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QToolButton>
#include <functional>

#include "app/window_test_support.h"
#include "model/topology.h"
#include "sculpt/element_transform.h"

namespace {

constexpr const char* kTextureModeRefusal = "Disable texture mode to return sculpting.";

class ElementEditingWindowTest : public WindowTest {
 protected:
  TScene& scene() { return form_->scene(); }
  FloatingPanel* EditPanel() { return Panel("PanelEditSphere"); }
  QToolButton* EditButton(const char* name) { return EditPanel()->findChild<QToolButton*>(name); }
  QToolButton* MenuButton(const char* name) { return form_->PanelMenu->findChild<QToolButton*>(name); }
  QStringList ListRows() {
    QStringList rows;
    for (int i = 0; i < form_->PanelEditSphere->ListElementos->count(); ++i) rows << form_->PanelEditSphere->ListElementos->item(i)->text();
    return rows;
  }
  // Selects the vertices of the current element above the height `y`; returns how many.
  int SelectAbove(float y) {
    TGeosphera& e = scene().current();
    int count = 0;
    for (int v = 0; v < e.vertexCount; ++v) {
      if (e.vertices[static_cast<size_t>(v)].y > y) {
        e.vertexState[static_cast<size_t>(v)] = kVertexFrozen;
        ++count;
      }
    }
    return count;
  }
  void DrawFrame() {
    PanelCentro& view = form_->viewport();
    view.RenderScene(view.framebufferWidth(), view.framebufferHeight());
  }
};

TEST_F(ElementEditingWindowTest, PanelListsRenamesAndHidesElements) {
  MenuButton("SpeedEditObject")->click();
  ASSERT_TRUE(EditPanel()->isVisible());
  EXPECT_EQ(ListRows(), QStringList{"Principal"});
  EXPECT_EQ(form_->PanelEditSphere->ListElementos->currentRow(), 0);
  EXPECT_EQ(form_->PanelEditSphere->EditNameEsfera->text(), "Principal");

  form_->PanelEditSphere->EditNameEsfera->setText("Body");
  EditButton("SpeedButton6")->click();
  EXPECT_EQ(scene().elements[0].name, "Body");
  EXPECT_EQ(ListRows(), QStringList{"Body"});

  EditButton("SpeedVisible")->click();
  EXPECT_EQ(scene().elements[0].visible, 0);
  EditButton("SpeedVisible")->click();
  EXPECT_EQ(scene().elements[0].visible, 1);

  EditButton("SpeedFechar")->click();
  EXPECT_FALSE(EditPanel()->isVisible());
  EXPECT_TRUE(messages_.entries.empty());
}

TEST_F(ElementEditingWindowTest, ClosingThePanelEndsTheElementToolsSoALeftDragSculptsAgain) {
  form_->PanelStart->CloseStartClick();
  const TToolModes& modes = form_->document().modes();
  for (const char* tool : {"SpeedRotate", "SpeedDimension"}) {
    MenuButton("SpeedEditObject")->click();
    EditButton(tool)->click();
    ASSERT_TRUE(modes.rotate || modes.dimension) << tool;
    EditButton("SpeedFechar")->click();
    EXPECT_FALSE(modes.rotate || modes.dimension) << tool;
    EXPECT_FALSE(EditButton(tool)->isChecked()) << tool;
  }
  const Tvertices before = scene().current().vertices;
  QWidget& view = form_->viewport();
  LeftDrag(view, {view.width() / 2 + 20, view.height() / 2 - 20}, {3, 0});
  EXPECT_NE(scene().current().vertices, before);
}

// A mode's button is plainly highlighted while the mode is on, and only then.
TEST_F(ElementEditingWindowTest, ToggleButtonsShowTheirPressedState) {
  const auto background = [](QToolButton* button) {
    return button->grab().toImage().pixelColor(3, button->height() / 2);
  };
  MenuButton("SpeedEditObject")->click();
  for (QToolButton* toggle : {MenuButton("SpeedFreeze"), MenuButton("SpeedSelection"), EditButton("SpeedRotate"),
                              EditButton("SpeedDimension")}) {
    const QColor pressed = toggle->palette().color(QPalette::Highlight);
    EXPECT_NE(background(toggle), pressed) << toggle->text().toStdString();
    toggle->click();
    EXPECT_TRUE(toggle->isChecked()) << toggle->text().toStdString();
    EXPECT_EQ(background(toggle), pressed) << toggle->text().toStdString();
    toggle->click();
    EXPECT_FALSE(toggle->isChecked()) << toggle->text().toStdString();
  }
}

TEST_F(ElementEditingWindowTest, FreezeTogglesMaskPaintingAndClearsTheMaskWhenReleased) {
  MenuButton("SpeedFreeze")->click();
  EXPECT_TRUE(form_->document().modes().freeze);
  EXPECT_TRUE(form_->viewport().inputs().modes.freeze);
  for (QRadioButton* brush : form_->PanelModeling->RadioModel) EXPECT_FALSE(brush->isChecked());
  const int frozen = SelectAbove(2);
  ASSERT_GT(frozen, 0);

  // Choosing a brush ends freeze painting but keeps the frozen vertices.
  form_->PanelModeling->RadioModel[0]->click();
  EXPECT_FALSE(form_->document().modes().freeze);
  EXPECT_FALSE(MenuButton("SpeedFreeze")->isChecked());
  EXPECT_EQ(std::count(scene().current().vertexState.begin(), scene().current().vertexState.end(), kVertexFrozen),
            frozen);

  MenuButton("SpeedFreeze")->click();  // down again, then up: the mask goes
  MenuButton("SpeedFreeze")->click();
  EXPECT_FALSE(form_->document().modes().freeze);
  EXPECT_EQ(std::count(scene().current().vertexState.begin(), scene().current().vertexState.end(), kVertexFrozen),
            0);

  SelectAbove(2);
  MenuButton("SpeedUnfreeze")->click();
  EXPECT_EQ(std::count(scene().current().vertexState.begin(), scene().current().vertexState.end(), kVertexFrozen),
            0);
}

TEST_F(ElementEditingWindowTest, DetachCopiesThePaintedSelectionAndCountsByTwo) {
  MenuButton("SpeedDetach")->click();
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"Select at least one vertex to detach."});
  EXPECT_EQ(scene().elementCount(), 1);

  MenuButton("SpeedSelection")->click();
  EXPECT_TRUE(form_->document().modes().selection);
  const int selected = SelectAbove(1.5f);
  MenuButton("SpeedDetach")->click();
  ASSERT_EQ(scene().elementCount(), 2);
  EXPECT_EQ(scene().currentElement, 1);
  EXPECT_EQ(scene().elements[1].name, "Detach 0");
  EXPECT_EQ(scene().elements[1].vertexCount, selected);
  EXPECT_GT(scene().elements[1].indexCount, 0);
  EXPECT_FALSE(form_->document().modes().selection);
  EXPECT_EQ(scene().elements[0].vertexCount, kBallVertices);  // the source stays whole

  MenuButton("SpeedSelection")->click();  // nothing painted: an empty element
  MenuButton("SpeedDetach")->click();
  ASSERT_EQ(scene().elementCount(), 3);
  EXPECT_EQ(scene().elements[2].name, "Detach 2");
  EXPECT_EQ(scene().elements[2].vertexCount, 0);
}

TEST_F(ElementEditingWindowTest, OpeningAModelRestartsTheDetachCounter) {
  form_->PanelEditSphere->SpeedMirrorClick();
  form_->PanelEditSphere->SpeedMirrorClick();
  ASSERT_EQ(scene().elements.back().name, "Mirror 2");
  Choose(install_.file("models/ball6.met"));
  messages_.answers = {MessageAnswer::No};  // the mirrored scene goes unsaved
  form_->MainMenu->Abrir1Click();
  ASSERT_EQ(scene().elementCount(), 1);
  form_->PanelEditSphere->SpeedMirrorClick();
  EXPECT_EQ(scene().elements.back().name, "Mirror 0");
}

TEST_F(ElementEditingWindowTest, MirrorAddsTheReflectedElementAndRefillsTheList) {
  TGeosphera& ball = scene().elements[0];
  for (TGLCoord& v : ball.vertices) v.z += 3;  // entirely at z > 0
  form_->PanelEditSphere->SpeedEditarClick();
  EditButton("SpeedMirror")->click();
  ASSERT_EQ(scene().elementCount(), 2);
  const TGeosphera& mirror = scene().elements[1];
  EXPECT_EQ(mirror.name, "Mirror 0");
  ASSERT_EQ(mirror.vertexCount, kBallVertices);
  for (const TGLCoord& v : mirror.vertices) EXPECT_LT(v.z, 0);
  EXPECT_EQ(ListRows(), (QStringList{"Principal", "Mirror 0"}));
  EXPECT_EQ(form_->PanelEditSphere->ListElementos->currentRow(), 1);
  EXPECT_FALSE(form_->PanelEditSphere->mirrorDetach());
  for (const TGeosphera& e : scene().elements) {
    EXPECT_EQ(std::count(e.vertexState.begin(), e.vertexState.end(), kVertexFrozen), 0);
  }
}

// Mirror and Detach add an element: Undo takes the addition back once the copy
// has nothing of its own left to undo, and the source is current again as it
// was, level included; its own history goes on from there.
TEST_F(ElementEditingWindowTest, UndoTakesBackTheElementMirrorOrDetachAdded) {
  form_->PanelStart->CloseStartClick();
  form_->PanelEditSphere->SpeedEditarClick();
  form_->MainMenu->Subdivide1->trigger();
  const TGeosphera source = scene().current();
  ASSERT_EQ(source.subdivLevel, 1);
  const auto detach = [&] {
    MenuButton("SpeedSelection")->click();
    SelectAbove(0);
    MenuButton("SpeedDetach")->click();
  };
  const std::pair<const char*, std::function<void()>> kAdditions[] = {
      {"Mirror", [&] { EditButton("SpeedMirror")->click(); }}, {"Detach", detach}};
  for (const auto& [name, add] : kAdditions) {
    SCOPED_TRACE(name);
    add();
    ASSERT_EQ(scene().elementCount(), 2);
    ASSERT_EQ(form_->PanelMenu->LabSubd->text(), "0");
    form_->MainMenu->Undo1->trigger();
    ASSERT_EQ(scene().elementCount(), 1);
    EXPECT_EQ(scene().currentElement, 0);
    EXPECT_EQ(scene().current().vertices, source.vertices);
    EXPECT_EQ(scene().current().faces, source.faces);
    EXPECT_EQ(scene().current().subdivLevel, 1);
    EXPECT_EQ(form_->PanelMenu->LabSubd->text(), "1");
    EXPECT_EQ(ListRows(), QStringList{"Principal"});
  }

  // A stroke on the copy is undone first, then the copy goes.
  EditButton("SpeedMirror")->click();
  const Tvertices copied = scene().current().vertices;
  QWidget& view = form_->viewport();
  LeftDrag(view, {view.width() / 2 + 20, view.height() / 2 - 20}, {6, 0});
  ASSERT_NE(scene().current().vertices, copied);
  form_->MainMenu->Undo1->trigger();
  ASSERT_EQ(scene().elementCount(), 2);
  EXPECT_EQ(scene().current().vertices, copied);
  form_->MainMenu->Undo1->trigger();
  EXPECT_EQ(scene().elementCount(), 1);

  form_->MainMenu->Undo1->trigger();  // the source's Subdivide
  EXPECT_EQ(scene().current().subdivLevel, 0);
  EXPECT_TRUE(messages_.entries.empty());
}

TEST_F(ElementEditingWindowTest, DeleteOfTheLastElementKeepsTheOrder) {
  form_->PanelEditSphere->SpeedEditarClick();
  form_->PanelEditSphere->SpeedMirrorClick();
  form_->PanelEditSphere->ListElementosClick(0);
  form_->PanelEditSphere->SpeedMirrorClick();
  ASSERT_EQ(ListRows(), (QStringList{"Principal", "Mirror 0", "Mirror 2"}));
  ASSERT_EQ(scene().currentElement, 2);
  EditButton("SpeedDeletar")->click();
  EXPECT_EQ(ListRows(), (QStringList{"Principal", "Mirror 0"}));
  EXPECT_EQ(scene().currentElement, 0);
  EXPECT_EQ(form_->PanelEditSphere->ListElementos->currentRow(), 0);
  EXPECT_EQ(scene().elements[1].name, "Mirror 0");
}

TEST_F(ElementEditingWindowTest, DeleteLeavesNoGridsOrLevelOfTheRemovedElement) {
  form_->PanelEditSphere->SpeedMirrorClick();
  form_->MainMenu->Subdivide1->trigger();
  form_->viewportInput().PanelCentroMouseMove(Qt::NoModifier, 300, 300);  // a lookup rebuilds the grids
  ASSERT_FALSE(form_->document().stroke().state().gridsStale);
  ASSERT_EQ(form_->PanelMenu->LabSubd->text(), "1");
  form_->PanelEditSphere->SpeedDeletarClick();
  EXPECT_EQ(scene().currentElement, 0);
  EXPECT_EQ(form_->PanelMenu->LabSubd->text(), "0");
  EXPECT_TRUE(form_->document().stroke().state().gridsStale);  // rebuilt for element 0 at the next lookup
}

TEST_F(ElementEditingWindowTest, UnificationAsksFirst) {
  form_->PanelEditSphere->SpeedEditarClick();
  form_->PanelEditSphere->SpeedMirrorClick();
  messages_.answers = {MessageAnswer::No};
  EditButton("SpeedUnification")->click();
  EXPECT_EQ(messages_.Texts(),
            (std::vector<std::string>{"This is a one-way operation.Continue?", "Unification canceled."}));
  EXPECT_EQ(scene().elementCount(), 2);

  messages_.answers = {MessageAnswer::Yes};
  EditButton("SpeedUnification")->click();
  ASSERT_EQ(scene().elementCount(), 1);
  EXPECT_EQ(scene().elements[0].vertexCount, 2 * kBallVertices);
  EXPECT_EQ(ListRows(), QStringList{"Principal"});
  EXPECT_FALSE(EditPanel()->isVisible());
}

TEST_F(ElementEditingWindowTest, UnificationPutsDownAnElementBeingPlaced) {
  for (TGLCoord& v : scene().elements[0].vertices) v.z += 3;
  scene().elements[0].center = ElementCenter(scene().elements[0]);
  form_->PanelEditSphere->SpeedMirrorClick();  // centred at z = -3
  const Tvertices mirrored = scene().elements[1].vertices;
  form_->PanelEditSphere->SpeedPositionClick();
  ASSERT_EQ(scene().elements[1].placeState, kPlaceFollowPick);
  form_->PanelEditSphere->SpeedUnificationClick();
  ASSERT_EQ(scene().elementCount(), 1);
  EXPECT_FALSE(form_->document().modes().position);
  const TGeosphera& e = scene().elements[0];
  for (int v : {0, 99}) {
    const TGLCoord& merged = e.vertices[static_cast<size_t>(kBallVertices + v)];
    EXPECT_NEAR(merged.z, mirrored[static_cast<size_t>(v)].z, 1e-4);
    EXPECT_NEAR(merged.y, mirrored[static_cast<size_t>(v)].y, 1e-4);
  }
}

TEST_F(ElementEditingWindowTest, ListClickPutsDownAnElementBeingPlaced) {
  form_->PanelEditSphere->SpeedMirrorClick();
  const Tvertices mirrored = scene().elements[1].vertices;
  form_->PanelEditSphere->SpeedPositionClick();
  ASSERT_EQ(scene().elements[1].placeState, kPlaceFollowPick);
  form_->PanelEditSphere->ListElementosClick(0);
  EXPECT_EQ(scene().currentElement, 0);
  EXPECT_EQ(scene().elements[1].placeState, kPlaced);
  EXPECT_FALSE(form_->document().modes().position);
  for (size_t v : {0, 99}) EXPECT_NEAR(scene().elements[1].vertices[v].z, mirrored[v].z, 1e-4);  // where it was
}

TEST_F(ElementEditingWindowTest, RightDragKeepsTheCameraWhileRotatingOrScaling) {
  for (QToolButton* mode : {EditButton("SpeedRotate"), EditButton("SpeedDimension")}) {
    mode->click();
    const TCamera camera = form_->viewport().state().mainCamera;
    form_->viewportInput().PanelCentroMouseDown(Qt::RightButton, 300, 300);
    form_->viewportInput().PanelCentroMouseMove(Qt::NoModifier, 360, 330);
    form_->viewportInput().PanelCentroMouseUp(360, 330);
    EXPECT_EQ(form_->viewport().state().mainCamera.yaw, camera.yaw) << mode->text().toStdString();
    EXPECT_EQ(form_->viewport().state().mainCamera.pitch, camera.pitch) << mode->text().toStdString();
    mode->click();
  }
}

TEST_F(ElementEditingWindowTest, UndoPutsDownAnElementBeingPlacedFirst) {
  for (TGLCoord& v : scene().elements[0].vertices) v.z += 3;
  scene().elements[0].center = ElementCenter(scene().elements[0]);
  form_->PanelEditSphere->SpeedMirrorClick();  // centred at z = -3
  const Tvertices mirrored = scene().current().vertices;
  form_->document().undo().MarkPendingChange(0);  // a step of the copy's own to undo
  form_->document().undo().TakeSnapshot(scene().current(), UndoChannel::Geometry, 1);
  form_->PanelEditSphere->SpeedPositionClick();
  form_->MainMenu->Undo1->trigger();
  const TGeosphera& e = scene().current();
  EXPECT_EQ(e.placeState, kPlaced);
  EXPECT_FALSE(form_->document().modes().position);
  EXPECT_EQ(e.position, TGLCoord{});
  for (size_t v : {0, 99}) EXPECT_NEAR(e.vertices[v].z, mirrored[v].z, 1e-4);
}

TEST_F(ElementEditingWindowTest, ColorAsksBeforeRepaintingTheElement) {
  form_->document().SetColorChooser([](const QColor&) { return QColor(200, 100, 50); });
  form_->PanelEditSphere->SpeedEditarClick();
  messages_.answers = {MessageAnswer::Cancel};
  EditButton("SpeedColor")->click();
  EXPECT_EQ(scene().elements[0].colorA, 178);
  EditButton("SpeedColor")->click();
  const TGeosphera& e = scene().elements[0];
  EXPECT_EQ((std::array{e.colorR, e.colorG, e.colorB, e.colorA}), (std::array<uint8_t, 4>{200, 100, 50, 1}));
  EXPECT_EQ(e.colors[7], (TRGBA{200, 100, 50, 255}));
  EXPECT_EQ(messages_.Texts(),
            (std::vector<std::string>(2, "This will clear all the colors in Paint mode. Do you want continue?")));
}

TEST_F(ElementEditingWindowTest, DragOnTheFirstRingTurnsTheElementAboutYThroughItsCentre) {
  TGeosphera& ball = scene().elements[0];
  for (TGLCoord& v : ball.vertices) v.y += 1;
  ball.center = ElementCenter(ball);
  const TGeosphera before = ball;
  form_->PanelEditSphere->SpeedEditarClick();
  EditButton("SpeedRotate")->click();
  ASSERT_TRUE(form_->document().modes().rotate);
  EXPECT_NEAR(ElementCenter(scene().rotateGizmo).y, ball.center.y, 1e-4);
  DrawFrame();

  // A first-ring vertex halfway out to the side, away from the outlines of
  // the other two rings (seen from the front they pass through the centre
  // and the far sides).
  const TGeosphera& handle = scene().rotateGizmo;
  auto sideOffset = [&](int i) { return std::abs(handle.vertices[static_cast<size_t>(i)].z - ball.center.z - 1.5f); };
  int k = 0;
  for (int i = 1; i < handle.vertexCount / 3; ++i) {
    if (sideOffset(i) < sideOffset(k)) k = i;
  }
  const TWindowPoint p = form_->viewport().ProjectPoint(handle.vertices[static_cast<size_t>(k)]);
  const int x = static_cast<int>(std::lround(p.x)), y = static_cast<int>(std::lround(p.y));
  EXPECT_TRUE(form_->document().elementTools().ElementToolMove(x, y, false));  // hovering over the ring
  EXPECT_EQ(form_->viewport().cursor().shape(), Qt::BitmapCursor);
  ASSERT_TRUE(form_->document().elementTools().ElementToolPress(x, y));
  ASSERT_TRUE(form_->document().elementTools().ElementToolMove(x + 5, y, true));
  EXPECT_TRUE(form_->document().elementTools().ElementToolRelease());
  TGeosphera refreshed = scene().elements[0];
  RecomputeAllNormals(refreshed);
  EXPECT_EQ(scene().elements[0].normals, refreshed.normals);  // the release refreshed them

  const TGLCoord c = before.center;
  for (int v : {0, 17, 100}) {
    const TGLCoord& from = before.vertices[static_cast<size_t>(v)];
    const TGLCoord turned = RotateAboutAxis({from.x - c.x, from.y - c.y, from.z - c.z}, {0, 1, 0}, 1);
    const TGLCoord& to = scene().elements[0].vertices[static_cast<size_t>(v)];
    EXPECT_NEAR(to.x, turned.x + c.x, 1e-4);
    EXPECT_NEAR(to.y, turned.y + c.y, 1e-4);
    EXPECT_NEAR(to.z, turned.z + c.z, 1e-4);
  }

  EditButton("SpeedRotate")->click();
  EXPECT_FALSE(form_->document().modes().rotate);
  EXPECT_FALSE(form_->viewport().inputs().modes.rotate);
}

TEST_F(ElementEditingWindowTest, DimensionScalesByWheelAndByDrag) {
  const TGeosphera before = scene().elements[0];
  const TGLCoord c = before.center;
  auto offsetRatio = [&] {
    const TGLCoord& v = scene().elements[0].vertices[5];
    const TGLCoord& w = before.vertices[5];
    return std::hypot(v.x - c.x, v.y - c.y, v.z - c.z) / std::hypot(w.x - c.x, w.y - c.y, w.z - c.z);
  };
  form_->PanelEditSphere->SpeedEditarClick();
  EditButton("SpeedDimension")->click();
  ASSERT_TRUE(form_->document().modes().dimension);
  form_->formInput().FormMouseWheel(1);  // a notch up
  EXPECT_NEAR(offsetRatio(), 0.9, 1e-5);
  form_->formInput().FormMouseWheel(-1);
  EXPECT_NEAR(offsetRatio(), 0.99, 1e-5);
  ASSERT_TRUE(form_->document().elementTools().ElementToolPress(100, 100));
  form_->document().elementTools().ElementToolMove(100, 90, true);  // moving up
  form_->document().elementTools().ElementToolRelease();
  EXPECT_NEAR(offsetRatio(), 0.891, 1e-5);
  EXPECT_FLOAT_EQ(form_->viewport().state().zoom, kStartZoom);  // the wheel did not zoom

  EditButton("SpeedFechar")->click();
  EXPECT_FALSE(form_->document().modes().dimension);
  EXPECT_FALSE(form_->document().elementTools().ElementToolWheel(1));
}

TEST_F(ElementEditingWindowTest, PositionPutsTheElementDownOnTheSecondPressWhereItsCentreFollowed) {
  TGeosphera& ball = scene().elements[0];
  for (TGLCoord& v : ball.vertices) v.z += 3;  // off the model origin
  ball.center = ElementCenter(ball);
  const TGeosphera before = ball;
  form_->PanelEditSphere->SpeedEditarClick();
  DrawFrame();
  EditButton("SpeedPosition")->click();
  EXPECT_TRUE(form_->document().modes().position);
  EXPECT_FALSE(EditPanel()->isVisible());
  EXPECT_EQ(scene().current().placeState, kPlaceFollowPick);
  // The pointer was put on the centre, so the element follows from where it is.
  DrawFrame();
  ASSERT_TRUE(form_->document().elementTools().ElementToolPress(200, 200));
  EXPECT_EQ(scene().current().placeState, kPlaceFollowXY);
  EXPECT_EQ(form_->viewport().state().mainCamera.yaw, 180);
  ASSERT_TRUE(form_->document().elementTools().ElementToolPress(200, 200));
  EXPECT_TRUE(form_->document().elementTools().ElementToolRelease());

  const TGeosphera& placed = scene().elements[0];
  EXPECT_EQ(placed.placeState, kPlaced);
  EXPECT_FALSE(form_->document().modes().position);
  EXPECT_EQ(placed.position, TGLCoord{});
  EXPECT_EQ(form_->viewport().state().mainCamera.yaw, 270);
  for (int v : {0, 50, 161}) {
    EXPECT_NEAR(placed.vertices[v].x, before.vertices[v].x, 0.05);
    EXPECT_NEAR(placed.vertices[v].y, before.vertices[v].y, 0.05);
    EXPECT_NEAR(placed.vertices[v].z, before.vertices[v].z, 0.05);
  }
  EXPECT_NEAR(placed.center.z, 3, 0.05);
}

TEST_F(ElementEditingWindowTest, PaintToolMakesElementZeroCurrentAndEndsTheTransform) {
  form_->document().SetColorChooser([](const QColor&) { return QColor(200, 10, 20); });
  form_->PanelEditSphere->SpeedMirrorClick();
  form_->MainMenu->Subdivide1->trigger();  // the mirror copy at level 1, the ball at 0
  EditButton("SpeedRotate")->click();
  ASSERT_EQ(scene().currentElement, 1);
  ASSERT_EQ(form_->PanelMenu->LabSubd->text(), "1");
  form_->PanelPaintColor->PaintTool1Click();
  EXPECT_EQ(scene().currentElement, 0);
  EXPECT_EQ(form_->PanelMenu->LabSubd->text(), "0");
  EXPECT_EQ(form_->PanelEditSphere->EditNameEsfera->text(), "Principal");
  EXPECT_FALSE(form_->document().modes().rotate);
  EXPECT_FALSE(EditButton("SpeedRotate")->isChecked());
}

TEST_F(ElementEditingWindowTest, EditingCommandsRefuseInTextureMode) {
  form_->viewport().state().textureViewOn = true;
  TPanelMenu& tools = *form_->PanelMenu;
  TPanelEditSphere& elements = *form_->PanelEditSphere;
  const std::pair<const char*, std::function<void()>> kCommands[] = {
      {"Freeze", [&] { tools.SpeedFreezeClick(); }},
      {"UnFreeze All", [&] { tools.SpeedUnfreezeAllClick(); }},
      {"Selection Mode", [&] { tools.SpeedSelModeClick(); }},
      {"Detach", [&] { elements.SpeedDetachClick(); }},
      {"Edit Object", [&] { elements.SpeedEditarClick(); }},
      {"Mirror", [&] { elements.SpeedMirrorClick(); }},
      {"Delete", [&] { elements.SpeedDeletarClick(); }},
      {"Color", [&] { elements.SpeedColorClick(); }},
      {"Position", [&] { elements.SpeedPositionClick(); }},
      {"Rotate", [&] { elements.SpeedRotateClick(); }},
      {"Dimension", [&] { elements.SpeedDimensionClick(); }}};
  for (const auto& [name, command] : kCommands) {
    messages_.entries.clear();
    command();
    EXPECT_EQ(messages_.Texts(), std::vector<std::string>{kTextureModeRefusal}) << name;
  }
  MenuButton("SpeedFreeze")->click();
  EXPECT_FALSE(MenuButton("SpeedFreeze")->isChecked());
  const TToolModes& modes = form_->document().modes();
  EXPECT_FALSE(modes.freeze || modes.selection || modes.position || modes.rotate || modes.dimension);
  EXPECT_EQ(scene().elementCount(), 1);
  EXPECT_EQ(scene().elements[0].placeState, kPlaced);
  EXPECT_FALSE(EditPanel()->isVisible());
}

}  // namespace

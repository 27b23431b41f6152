// The real main window under Xvfb: start-up, panels, file commands, the save
// question, the start-mesh chooser, keys and wheel; and the built program
// against a broken installation.
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolButton>
#include <functional>

#include "app/app_style.h"
#include "app/window_test_support.h"

namespace {

class FormMainTest : public WindowTest {};

TEST_F(FormMainTest, StartUpShowsTheDefaultBallAndThePanels) {
  EXPECT_EQ(form_->windowTitle(), "Plasmora Beta v6.0");
  const TScene& scene = form_->scene();
  ASSERT_EQ(scene.elementCount(), 1);
  EXPECT_EQ(scene.elements[0].name, "Principal");
  EXPECT_EQ(scene.elements[0].vertexCount, kBallVertices);
  EXPECT_GT(scene.elements[0].adjacency.width, 0);
  EXPECT_GT(scene.rotateGizmo.vertexCount, 0);
  EXPECT_EQ(form_->findChild<PanelCentro*>("PanelCentro"), &form_->viewport());

  for (const char* shown : {"PanelMenu", "PanelModeling", "PanelStart"}) {
    ASSERT_NE(Panel(shown), nullptr) << shown;
    EXPECT_TRUE(Panel(shown)->isVisible()) << shown;
  }
  for (const char* hidden : {"PanelLoadAdd", "PanelEditSphere", "PanelConfig", "PanelSkech", "PanelStamp",
                             "PanelStencil", "PanelRefImage", "PanelReference", "PanelPaintColor", "PanelTexture",
                             "PanelCreateUVW", "PanelImageTex", "PanelCreatingUV", "PanelReduction",
                             "PanelCreateAO", "PanelRemesh", "PanelSaveScreen"}) {
    ASSERT_NE(Panel(hidden), nullptr) << hidden;
    EXPECT_FALSE(Panel(hidden)->isVisible()) << hidden;
  }
  // Panel positions and the zoom step come from the shipped preferences.
  const TPreferences& prefs = form_->preferences();
  EXPECT_EQ(form_->PanelMenu->pos(), QPoint(prefs.panelMenuLeft, prefs.panelMenuTop));
  EXPECT_EQ(form_->PanelModeling->pos(), QPoint(prefs.panelModelingLeft, prefs.panelModelingTop));
  EXPECT_FLOAT_EQ(form_->viewport().state().zoomStep, 0.08f);
  // The start panel is centred in the viewport.
  const QWidget& view = form_->viewport();
  EXPECT_EQ(form_->PanelStart->x(), view.width() / 2 - form_->PanelStart->width() / 2);
  EXPECT_EQ(form_->PanelStart->y(), (view.height() - 25) / 2 - form_->PanelStart->height() / 2);

  const int widths[6] = {150, 150, 250, 200, 150, 150};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(form_->statusPanels[i]->width(), widths[i]);
  // Start meshes whose models are installed, and "Load Mesh", can be chosen.
  EXPECT_TRUE(form_->PanelStart->startMeshButtons[0]->isEnabled());    // Geosphere
  EXPECT_TRUE(form_->PanelStart->startMeshButtons[1]->isEnabled());    // CubeSphere
  EXPECT_FALSE(form_->PanelStart->startMeshButtons[2]->isEnabled());   // Woman Head
  EXPECT_TRUE(form_->PanelStart->startMeshButtons[17]->isEnabled());   // Load Mesh
  EXPECT_TRUE(form_->PanelModeling->RadioModel[13]->isEnabled());         // Stamp
  EXPECT_TRUE(messages_.entries.empty()) << messages_.Texts().front();
}

TEST_F(FormMainTest, ViewMenuTogglesTheTwoMainPanels) {
  form_->PanelMenu->move(300, 300);
  form_->PrincipalMenu1Click();
  EXPECT_FALSE(form_->PanelMenu->isVisible());
  EXPECT_FALSE(form_->MainMenu->PrincipalMenu1->isChecked());
  form_->PrincipalMenu1Click();
  EXPECT_TRUE(form_->PanelMenu->isVisible());
  EXPECT_TRUE(form_->MainMenu->PrincipalMenu1->isChecked());
  EXPECT_EQ(form_->PanelMenu->pos(), QPoint(5, 10));
  form_->PanelModeling1Click();
  form_->PanelModeling1Click();
  EXPECT_EQ(form_->PanelModeling->pos(), QPoint(162, 611));
}

TEST_F(FormMainTest, PanelsAreDraggedByTheirBackground) {
  FloatingPanel* panel = form_->PanelStart;
  const QPoint start = panel->pos();
  const QPoint grip(4, 4);
  QTest::mousePress(panel, Qt::LeftButton, {}, grip);
  QTest::mouseMove(panel, grip + QPoint(30, 20));
  QTest::mouseRelease(panel, Qt::LeftButton, {}, grip);  // the panel moved with the pointer
  EXPECT_EQ(panel->pos(), start + QPoint(30, 20));
  EXPECT_FALSE(panel->dragging());
}

struct CloseCase {
  const char* name;
  std::vector<MessageAnswer> answers;
  const char* chosenFile;  // relative to a fresh folder; "" = dialog cancelled
  bool closes;
  const char* savedFile;   // expected file, or nullptr
};

TEST_F(FormMainTest, SaveQuestionOnClose) {
  const CloseCase cases[] = {
      {"cancel keeps the window", {MessageAnswer::Cancel}, "", false, nullptr},
      {"no closes without saving", {MessageAnswer::No}, "", true, nullptr},
      {"yes then cancelled dialog keeps the window", {MessageAnswer::Yes}, "", false, nullptr},
      {"yes saves with the extension added", {MessageAnswer::Yes}, "model", true, "model.met"},
      {"yes keeps an extension in any case", {MessageAnswer::Yes}, "MODEL.MET", true, "MODEL.MET"},
      {"a failed save keeps the window", {MessageAnswer::Yes}, "missing/dir/model", false, nullptr},
  };
  for (const CloseCase& c : cases) {
    SCOPED_TRACE(c.name);
    QTemporaryDir target;
    form_->MainMenu->Subdivide1->trigger();  // a change to lose
    messages_.answers = c.answers;
    if (*c.chosenFile) Choose(QDir(target.path()).filePath(c.chosenFile));
    EXPECT_EQ(TryClose(), c.closes);
    EXPECT_EQ(form_->destroyed(), c.closes);
    EXPECT_EQ(messages_.entries.at(0).text, "You want to save your model?");
    if (c.savedFile) {
      EXPECT_TRUE(QFile::exists(QDir(target.path()).filePath(c.savedFile)));
    }
    EXPECT_EQ(QDir(target.path()).entryList(QDir::Files).size(), c.savedFile ? 1 : 0);
    messages_.entries.clear();
    if (c.closes) OpenWindow();
  }
  messages_.answers = {MessageAnswer::No};
  ASSERT_TRUE(TryClose());
  OpenWindow();
  messages_.entries.clear();
  EXPECT_TRUE(TryClose());  // nothing changed: nothing to ask
  EXPECT_TRUE(messages_.entries.empty());
}

// Every kind of change reaches the one notice: the scene is marked changed
// (the title's mark) and the crash-recovery record goes stale.
TEST_F(FormMainTest, EveryKindOfChangeMarksTheScene) {
  form_->PanelStart->CloseStartClick();
  TPanelEditSphere& elements = *form_->PanelEditSphere;
  QWidget& view = form_->viewport();
  const std::pair<const char*, std::function<void()>> kChanges[] = {
      {"a stroke", [&] { LeftDrag(view, {view.width() / 2 + 20, view.height() / 2 - 20}, {6, 0}); }},
      {"Subdivide", [&] { form_->MainMenu->Subdivide1->trigger(); }},
      {"Undo", [&] { form_->MainMenu->Undo1->trigger(); }},
      {"Mirror", [&] { elements.SpeedMirrorClick(); }},
      {"Visible", [&] { elements.SpeedVisibleClick(); }},
      {"Delete", [&] { elements.SpeedDeletarClick(); }},
  };
  for (const auto& [name, change] : kChanges) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form_->document().recovery()->upToDate(); }, 30000));
    form_->document().MarkSaved({});
    change();
    EXPECT_TRUE(form_->document().modified());
    EXPECT_TRUE(form_->windowTitle().startsWith("*"));
    EXPECT_FALSE(form_->document().recovery()->upToDate());
  }
  EXPECT_TRUE(messages_.entries.empty());
}

// Import, Open as the new principal mesh and a start mesh as the new principal
// mesh all ask before a changed scene goes: Cancel keeps it, No replaces it,
// and the new scene has no changes to ask about.
TEST_F(FormMainTest, ReplacingAChangedSceneAsksToSaveFirst) {
  QTemporaryDir files;
  const QString obj = QDir(files.path()).filePath("tri.obj");
  {
    QFile f(obj);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("g Tri\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
  }
  struct Case {
    const char* name;
    std::function<void()> replace;
    int vertices;  // of the new scene's first element
  };
  const std::vector<Case> cases{
      {"Import", [&] { Choose(obj), form_->MainMenu->Import1->trigger(); }, 3},
      {"Open", [&] { Choose(obj), form_->MainMenu->Abrir1->trigger(); }, 3},
      {"start mesh", [&] { form_->PanelStart->StartMeshButtonClick(1), form_->PanelLoadAdd->ButtLoadAddClick(); },
       10 * 4 + 2},
  };
  const std::vector<std::string> question{"You want to save your model?"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    form_->MainMenu->Subdivide1->trigger();
    const int changed = form_->scene().elements[0].vertexCount;
    messages_.entries.clear();
    messages_.answers = {MessageAnswer::Cancel};
    c.replace();
    EXPECT_EQ(messages_.Texts(), question);
    EXPECT_EQ(form_->scene().elements[0].vertexCount, changed);

    messages_.entries.clear();
    messages_.answers = {MessageAnswer::No};
    c.replace();
    EXPECT_EQ(messages_.Texts(), question);
    EXPECT_EQ(form_->scene().elements[0].vertexCount, c.vertices);

    messages_.entries.clear();
    c.replace();
    EXPECT_TRUE(messages_.entries.empty());
  }
}

// Ctrl+S saves to the scene's file (the first time through the dialog); the
// title names the file and marks unsaved changes.
TEST_F(FormMainTest, SaveWritesToTheScenesFileAndTheTitleShowsItsState) {
  auto files = std::make_unique<QTemporaryDir>();
  const QString file = QDir(files->path()).filePath("scene.met");
  const QString caption = "Plasmora Beta v6.0";
  form_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
  EXPECT_EQ(form_->windowTitle(), caption);
  form_->MainMenu->Subdivide1->trigger();
  EXPECT_EQ(form_->windowTitle(), "*" + caption);

  Choose(QDir(files->path()).filePath("scene"));
  QTest::keyClick(form_.get(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_TRUE(lastRequest_.save);
  ASSERT_TRUE(QFile::exists(file));
  EXPECT_EQ(form_->windowTitle(), "scene.met - " + caption);

  form_->MainMenu->Subdivide1->trigger();
  EXPECT_EQ(form_->windowTitle(), "*scene.met - " + caption);
  lastRequest_ = {};
  QTest::keyClick(form_.get(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_TRUE(lastRequest_.caption.isEmpty());  // no dialog this time
  EXPECT_EQ(form_->windowTitle(), "scene.met - " + caption);
  const int vertices = form_->scene().elements[0].vertexCount;
  Choose(file);
  form_->MainMenu->Abrir1Click();
  EXPECT_EQ(form_->scene().elements[0].vertexCount, vertices);
  EXPECT_EQ(form_->windowTitle(), "scene.met - " + caption);  // opened from it
  EXPECT_TRUE(messages_.entries.empty());

  // A save that cannot write keeps the mark.
  form_->MainMenu->Subdivide1->trigger();
  files.reset();
  form_->MainMenu->Save1->trigger();
  EXPECT_FALSE(messages_.entries.empty());
  EXPECT_EQ(form_->windowTitle(), "*scene.met - " + caption);
}

TEST_F(FormMainTest, SavingOverAnExistingFileAsksOnce) {
  QTemporaryDir target;
  const QString file = QDir(target.path()).filePath("scene.met");
  QFile(file).open(QIODevice::WriteOnly);
  messages_.answers = {MessageAnswer::No};
  Choose(file);
  form_->MainMenu->A1Click();
  EXPECT_EQ(QFileInfo(file).size(), 0);
  ASSERT_EQ(messages_.entries.size(), 1u);
  EXPECT_EQ(messages_.entries[0].text, "The file " + file.toStdString() + " already exists, do you want to replace?");
  messages_.answers = {MessageAnswer::Yes};
  Choose(file);
  form_->MainMenu->A1Click();
  EXPECT_GT(QFileInfo(file).size(), 0);
  EXPECT_TRUE(lastRequest_.save);
  EXPECT_EQ(lastRequest_.filters, QStringList{"Meta File (*.met)"});
}

TEST_F(FormMainTest, OpenThatFailsKeepsTheScene) {
  QTemporaryDir files;
  const QString noFaces = QDir(files.path()).filePath("nofaces.met");
  {
    QFile f(noFaces);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("g Lonely\nv 0 0 0\nv 1 0 0\nv 0 1 0\n");
  }
  const std::pair<QString, const char*> cases[] = {
      {noFaces, "Failed to load model."},
      {QDir(files.path()).filePath("absent.met"), "Failed to load model."},
      {QDir(files.path()).filePath("model.fbx"), "File format not recognized."},
  };
  for (const auto& [file, message] : cases) {
    SCOPED_TRACE(file.toStdString());
    Choose(file);
    form_->MainMenu->Abrir1Click();
    ASSERT_EQ(form_->scene().elementCount(), 1);
    EXPECT_EQ(form_->scene().elements[0].name, "Principal");
    EXPECT_EQ(form_->scene().elements[0].vertexCount, kBallVertices);
    ASSERT_FALSE(messages_.entries.empty());
    EXPECT_EQ(messages_.entries.back().text, message);
    messages_.entries.clear();
  }
}

TEST_F(FormMainTest, OpenReplacesTheSceneWhateverTheExtensionsCase) {
  QTemporaryDir files;
  const QString file = QDir(files.path()).filePath("TWO.Met");
  TGeosphera a = MakeGeodesicSphere(0, 1), b = MakeCubeSphere(1, 1);
  a.name = "First";
  b.name = "Second";
  WriteModelFile(file, {a, b});
  Choose(file);
  form_->MainMenu->Abrir1Click();
  ASSERT_EQ(form_->scene().elementCount(), 2);
  EXPECT_EQ(form_->scene().elements[1].name, "Second");
  EXPECT_EQ(form_->scene().current().textureId, 7);
  EXPECT_TRUE(form_->PanelMenu->CheckSym->isChecked());
  for (const TGeosphera& e : form_->scene().elements) EXPECT_EQ(e.placeState, kPlaced);
  EXPECT_TRUE(messages_.entries.empty());
}

TEST_F(FormMainTest, ImportReadsObjAndExportAppendsOnlyAMissingExtension) {
  QTemporaryDir files;
  QDir dir(files.path());
  {
    QFile obj(dir.filePath("tri.Obj"));
    ASSERT_TRUE(obj.open(QIODevice::WriteOnly));
    obj.write("g Tri\nv 0 0 0\nv 1 0 0\nv 0 1 0\nv 0 0 1\nf 1 2 3\nf 1 3 4\n");
  }
  Choose(dir.filePath("tri.Obj"));
  form_->MainMenu->Import1Click();
  ASSERT_EQ(form_->scene().elementCount(), 1);
  EXPECT_EQ(form_->scene().elements[0].vertexCount, 4);
  EXPECT_EQ(form_->scene().elements[0].placeState, kPlaced);

  Choose(dir.filePath("ball.fbx"));
  form_->MainMenu->Import1Click();
  EXPECT_EQ(form_->scene().elements[0].vertexCount, 4);
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"File format not recognized."});

  Choose(dir.filePath("out.OBJ"), 0);
  form_->MainMenu->Export1Click();
  Choose(dir.filePath("out"), 1);
  form_->MainMenu->Export1Click();
  EXPECT_TRUE(lastRequest_.save);
  EXPECT_TRUE(QFileInfo(dir.filePath("out.OBJ")).size() > 0);
  EXPECT_TRUE(QFileInfo(dir.filePath("out.ply")).size() > 0);
  EXPECT_FALSE(QFile::exists(dir.filePath("out.OBJ.obj")));
}

TEST_F(FormMainTest, StartMeshButtonsPreviewAndLoadMeshOpens) {
  const qint64 first = form_->PanelStart->ImagePreview->pixmap().cacheKey();
  QEvent enter(QEvent::Enter);
  QApplication::sendEvent(form_->PanelStart->startMeshButtons[1], &enter);  // CubeSphere
  EXPECT_FALSE(form_->PanelStart->ImagePreview->pixmap().isNull());
  EXPECT_NE(form_->PanelStart->ImagePreview->pixmap().cacheKey(), first);

  form_->PanelStart->startMeshButtons[17]->click();  // Load Mesh: the Open command, here cancelled
  EXPECT_EQ(lastRequest_.caption, "Open");
  EXPECT_FALSE(form_->PanelStart->isVisible());
  EXPECT_FALSE(form_->PanelLoadAdd->isVisible());
  EXPECT_EQ(form_->scene().elements[0].vertexCount, kBallVertices);
}

TEST_F(FormMainTest, StartMeshAsNewPrincipal) {
  form_->PanelStart->startMeshButtons[0]->click();  // Geosphere
  EXPECT_FALSE(form_->PanelStart->isVisible());
  EXPECT_TRUE(form_->PanelLoadAdd->isVisible());
  EXPECT_EQ(form_->PanelLoadAdd->startMeshChoice(), 1);
  EXPECT_TRUE(form_->PanelLoadAdd->CheckNewPrincipal->isChecked());
  form_->PanelLoadAdd->ButtLoadAddClick();
  ASSERT_EQ(form_->scene().elementCount(), 1);
  EXPECT_EQ(form_->scene().elements[0].vertexCount, 10 * 4 + 2);
  EXPECT_EQ(form_->scene().elements[0].textureId, 9);
  EXPECT_FALSE(form_->PanelLoadAdd->isVisible());
  EXPECT_FALSE(form_->PanelStart->isVisible());

  form_->PanelStart->StartMeshButtonClick(9);  // Skech Sphere
  form_->PanelLoadAdd->ButtLoadAddClick();
  EXPECT_EQ(form_->scene().elements[0].sketchBase, 1);
  EXPECT_TRUE(Panel("PanelSkech")->isVisible());
}

TEST_F(FormMainTest, StartMeshAddedToTheScene) {
  form_->PanelStart->StartMeshButtonClick(2);  // CubeSphere
  form_->PanelLoadAdd->CheckAddMesh->setChecked(true);
  EXPECT_FALSE(form_->PanelLoadAdd->CheckNewPrincipal->isChecked());
  form_->PanelLoadAdd->ButtLoadAddClick();
  ASSERT_EQ(form_->scene().elementCount(), 2);
  EXPECT_EQ(form_->scene().currentElement, 1);
  EXPECT_EQ(form_->scene().elements[1].name, "Add2");
  EXPECT_EQ(form_->scene().elements[1].textureId, 7);
  EXPECT_EQ(form_->scene().elements[0].vertexCount, kBallVertices);

  // Two presses put the following element down: the first fixes its depth.
  EXPECT_TRUE(form_->document().elementTools().ElementToolPress(300, 300));
  EXPECT_EQ(form_->scene().elements[1].placeState, kPlaceFollowXY);
  EXPECT_TRUE(form_->document().elementTools().ElementToolPress(300, 300));
  EXPECT_EQ(form_->scene().elements[1].placeState, kPlaced);
  EXPECT_FALSE(form_->scene().addPending);

  form_->PanelStart->StartMeshButtonClick(9);  // Skech Sphere only as principal mesh
  form_->PanelLoadAdd->ButtLoadAddClick();
  EXPECT_EQ(form_->scene().elementCount(), 2);
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"Skech only as principal mesh."});

  // With both boxes off, "Ok" only hides the panels.
  form_->PanelStart->StartMeshButtonClick(1);
  form_->PanelLoadAdd->CheckAddMesh->setChecked(false);
  form_->PanelLoadAdd->ButtLoadAddClick();
  EXPECT_EQ(form_->scene().elementCount(), 2);
  EXPECT_FALSE(form_->PanelLoadAdd->isVisible());
}

TEST_F(FormMainTest, KeysSelectBrushesToggleRadiusModeAndZoom) {
  QWidget* w = form_.get();
  QTest::keyClick(w, Qt::Key_3);  // the shipped shortcut of "Grab"
  EXPECT_EQ(form_->PanelModeling->selectedBrush(), 2);
  EXPECT_TRUE(form_->PanelModeling->RadioModel[2]->isChecked());

  const float zoom = form_->viewport().state().zoom;
  QTest::keyClick(w, Qt::Key_Up);
  EXPECT_FLOAT_EQ(form_->viewport().state().zoom, zoom * (1 - 0.08f));
  QTest::keyClick(w, Qt::Key_Down);
  EXPECT_FLOAT_EQ(form_->viewport().state().zoom, zoom * (1 - 0.08f) * (1 + 0.08f));

  QTest::keyClick(w, Qt::Key_R, Qt::ControlModifier);  // "Radius and Zoom"
  EXPECT_TRUE(form_->formInput().radiusKeyMode());
  const int radius = form_->PanelMenu->ScrollRadius->value();
  QTest::keyClick(w, Qt::Key_Up);
  EXPECT_EQ(form_->PanelMenu->ScrollRadius->value(), radius + 2);
  form_->formInput().FormMouseWheel(-1);
  EXPECT_EQ(form_->PanelMenu->ScrollRadius->value(), radius);
  QTest::keyClick(w, Qt::Key_R, Qt::ControlModifier);
  EXPECT_FALSE(form_->formInput().radiusKeyMode());

  // A letter that is a command key with a held modifier does not pick a brush.
  QTest::keyClick(w, Qt::Key_D, Qt::ControlModifier);  // "Subdivide"
  EXPECT_EQ(form_->PanelModeling->selectedBrush(), 2);
}

// Escape goes to the focused widget, as a user's key does, and closes the
// panels from the top down through their own "Close"; the tool panels stay.
TEST_F(FormMainTest, EscapeClosesTheTopmostFloatingPanel) {
  form_->MainMenu->EditObject1->trigger();
  form_->PanelEditSphere->SpeedRotate->click();
  form_->MainMenu->Preferences1->trigger();
  form_->PanelConfig->SpinMaxUndo->setFocus();
  const auto escape = [this] {
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus != nullptr && form_->isAncestorOf(focus) ? focus : form_.get(), Qt::Key_Escape);
  };
  for (FloatingPanel* panel : std::initializer_list<FloatingPanel*>{form_->PanelConfig, form_->PanelEditSphere,
                                                                    form_->PanelStart}) {
    ASSERT_TRUE(panel->isVisible()) << panel->objectName().toStdString();
    escape();
    EXPECT_FALSE(panel->isVisible()) << panel->objectName().toStdString();
  }
  EXPECT_FALSE(form_->document().modes().rotate);  // the element panel's own Close ran
  escape();
  EXPECT_TRUE(form_->PanelMenu->isVisible());
  EXPECT_TRUE(form_->PanelModeling->isVisible());
}

// Panels open beside the Tools column inside the viewport, and stay inside when the window shrinks.
TEST_F(FormMainTest, FloatingPanelsOpenBesideTheToolsAndStayInsideTheWindow) {
  form_->resize(1280, 860);
  QApplication::processEvents();
  const auto inside = [this](const QWidget* panel) {
    return QRect({0, 0}, form_->viewport().size()).contains(panel->geometry());
  };
  form_->document().SetColorChooser([](const QColor&) { return QColor(200, 10, 20); });
  form_->MainMenu->PaintTool1->trigger();
  form_->MainMenu->Preferences1->trigger();
  form_->MainMenu->EditObject1->trigger();
  const std::initializer_list<FloatingPanel*> panels{form_->PanelPaintColor, form_->PanelConfig,
                                                     form_->PanelEditSphere};
  for (FloatingPanel* panel : panels) {
    SCOPED_TRACE(panel->objectName().toStdString());
    ASSERT_TRUE(panel->isVisible());
    EXPECT_FALSE(panel->geometry().intersects(form_->PanelMenu->geometry()));
    EXPECT_TRUE(inside(panel));
    panel->move(form_->viewport().width() - panel->width(), form_->viewport().height() - panel->height());
  }
  form_->resize(1080, 760);
  QApplication::processEvents();
  for (FloatingPanel* panel : panels) EXPECT_TRUE(inside(panel)) << panel->objectName().toStdString();
}

TEST_F(FormMainTest, ButtonsShowTheirWholeCaptions) {
  form_->MainMenu->EditObject1->trigger();
  form_->MainMenu->Preferences1->trigger();
  QApplication::processEvents();
  for (FloatingPanel* panel : std::initializer_list<FloatingPanel*>{form_->PanelMenu, form_->PanelStart,
                                                                    form_->PanelEditSphere, form_->PanelConfig}) {
    for (const QToolButton* button : panel->findChildren<QToolButton*>()) {
      if (!button->isVisible()) continue;
      EXPECT_GE(button->width(), button->sizeHint().width())
          << panel->objectName().toStdString() << ": " << button->text().toStdString();
    }
  }
}

// In the dark style a disabled caption sits nearer the background than the enabled one.
TEST_F(FormMainTest, DisabledButtonsArePlainlyGreyInTheDarkStyle) {
  const QPalette lightPalette = QApplication::palette();
  ApplyDarkStyle(App());
  const auto brightest = [](QToolButton& button) {
    const QImage image = button.grab().toImage();
    int most = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) most = std::max(most, qGray(image.pixel(x, y)));
    }
    return most;
  };
  QToolButton enabled, disabled;
  for (QToolButton* button : {&enabled, &disabled}) {
    button->setText("Remesh Compact");
    button->resize(button->sizeHint());
  }
  disabled.setEnabled(false);
  const int background = qGray(QApplication::palette().color(QPalette::Window).rgb());
  EXPECT_LE(brightest(disabled) - background, (brightest(enabled) - background) / 3);
  QApplication::setPalette(lightPalette);
}

// "Tutorials" opens the user guide installed beside the program; "Donate" is gone.
TEST_F(FormMainTest, TutorialsOpensTheInstalledUserGuide) {
  QMenu* help = nullptr;
  for (QAction* item : form_->menuBar()->actions()) {
    if (item->text() == "Help") help = item->menu();
  }
  ASSERT_NE(help, nullptr);
  QStringList items;
  for (QAction* item : help->actions()) items << item->text();
  EXPECT_EQ(items, (QStringList{"Tutorials", "About"}));

  std::vector<QUrl> opened;
  form_->document().SetUrlOpener([&opened](const QUrl& url) {
    opened.push_back(url);
    return true;
  });
  help->actions()[0]->trigger();  // not installed here yet
  EXPECT_TRUE(opened.empty());
  EXPECT_EQ(messages_.entries.size(), 1u);

  const QString guide = install_.file("user-guide.html");
  CopyFile(kBuiltProgramDir + "/user-guide.html", guide);
  messages_.entries.clear();
  help->actions()[0]->trigger();
  EXPECT_EQ(opened, std::vector<QUrl>{QUrl::fromLocalFile(guide)});
  EXPECT_TRUE(messages_.entries.empty());
  QFile html(guide);
  ASSERT_TRUE(html.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(html.readAll());
  EXPECT_TRUE(text.contains("Sculpting") && text.contains("voxquad"));
  EXPECT_FALSE(text.contains("For developers"));
}

TEST_F(FormMainTest, WheelZoomsByTheZoomStep) {
  PanelCentro& view = form_->viewport();
  const float zoom = view.state().zoom;
  QWheelEvent up(QPointF(100, 100), QPointF(100, 100), {}, QPoint(0, 120), Qt::NoButton, {}, Qt::NoScrollPhase,
                 false);
  QApplication::sendEvent(form_.get(), &up);
  EXPECT_FLOAT_EQ(view.state().zoom, zoom * (1 - 0.08f));
  form_->formInput().FormMouseWheel(-2);
  EXPECT_FLOAT_EQ(view.state().zoom, zoom * (1 - 0.08f) * (1 + 0.08f) * (1 + 0.08f));
}

TEST_F(FormMainTest, DeleteKeyKeepsTheLastElement) {
  QTest::keyClick(form_.get(), Qt::Key_Delete);
  EXPECT_EQ(form_->scene().elementCount(), 1);
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"Cannot delete all elements."});
}

TEST(FormMainPreferences, TheUsersCopyComesFirstAndMayEndWithALineFeed) {
  App();
  Installation install;
  TPreferences mine = DefaultPreferences();
  mine.zoomStep = 0.03;
  mine.panelMenuLeft = 77;
  QDir().mkpath(QFileInfo(UserPreferencesPath()).path());
  {
    QFile f(UserPreferencesPath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write((FormatPreferences(mine) + "\r\n").c_str());
  }
  CapturingMessageSink messages;
  TFormMain form(install.path());
  QFile::remove(UserPreferencesPath());
  ASSERT_FALSE(form.startupFailed());
  EXPECT_FLOAT_EQ(form.viewport().state().zoomStep, 0.03f);
  EXPECT_EQ(form.PanelMenu->x(), 77);
  EXPECT_TRUE(messages.entries.empty());
}

// The built program in a copy of its installation, messages to standard error.
struct ProgramRun {
  int exitCode;
  QString log;
};

ProgramRun RunInstalledCopy(const std::function<void(const QString& dir)>& breakIt) {
  QTemporaryDir copy, config;
  QDir root(copy.path());
  root.mkpath("images");
  root.mkpath("models");
  for (const char* folder : {"images", "models"}) {
    for (const QString& f : QDir(kBuiltProgramDir + "/" + folder).entryList(QDir::Files)) {
      QFile::copy(kBuiltProgramDir + "/" + folder + "/" + f, root.filePath(QString(folder) + "/" + f));
    }
  }
  QFile::copy(kBuiltProgramDir + "/prefer1.txt", root.filePath("prefer1.txt"));
  QFile::copy(kBuiltProgramDir + "/plasmora", root.filePath("plasmora"));
  breakIt(copy.path());
  QProcess program;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("PLASMORA_MESSAGES", "stderr");
  env.insert("PLASMORA_NO_SPLASH", "1");
  env.insert("XDG_CONFIG_HOME", config.path());
  program.setProcessEnvironment(env);
  program.start(root.filePath("plasmora"), {});
  if (!program.waitForFinished(60000)) {
    program.kill();
    program.waitForFinished();
    return {-1, "timed out"};
  }
  return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -2,
          QString::fromUtf8(program.readAllStandardError())};
}

TEST(InstalledProgram, MissingInstallationFilesEndTheProgramWithTheirMessage) {
  const std::pair<const char*, const char*> cases[] = {
      {"images/zneg.jpg", "Please reinstaller Plasmora. Failed to load images in directory."},
      {"prefer1.txt", "Please reinstaller Plasmora. Failed to load preference in directory."},
      {"models/ball6.met", "Failed to load model."},
  };
  for (const auto& [missing, message] : cases) {
    SCOPED_TRACE(missing);
    ProgramRun run = RunInstalledCopy([missing = missing](const QString& dir) {
      ASSERT_TRUE(QFile::remove(QDir(dir).filePath(missing)));
    });
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.log.contains(QString("error: ") + message)) << run.log.toStdString();
  }
}

}  // namespace

// TFormMain: creation in its fixed order, the composition of the window's
// parts, the status bar, resize, keys, shutdown and the destroy step.
#include "app/form_main.h"

#include <malloc.h>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QStatusBar>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>

#include "app/app_paths.h"
#include "app/app_texts.h"
#include "app/external_remesh.h"
#include "app/main_menu.h"
#include "app/panel_config.h"
#include "app/panel_create_ao.h"
#include "app/panel_create_uvw.h"
#include "app/panel_creating_uv.h"
#include "app/panel_edit_sphere.h"
#include "app/panel_image_tex.h"
#include "app/panel_load_add.h"
#include "app/panel_menu.h"
#include "app/panel_modeling.h"
#include "app/panel_paint_color.h"
#include "app/panel_ref_image.h"
#include "app/panel_stamp.h"
#include "app/panel_stencil.h"
#include "app/panel_reduction.h"
#include "app/panel_remesh.h"
#include "app/panel_save_screen.h"
#include "app/panel_skech.h"
#include "app/panel_start.h"
#include "app/panel_texture.h"
#include "app/shortcut_hints.h"
#include "app/tablet_input.h"
#include "app/texture_mode.h"
#include "app/viewport_input.h"
#include "io/model_conversion.h"
#include "model/messages.h"
#include "render/panel_centro.h"

namespace {

constexpr int kStatusWidths[6] = {150, 150, 250, 200, 150, 150};

// The panels of the later tools, created hidden with their caption; each tool
// that comes takes its own panel's place here.
constexpr std::pair<const char*, const char*> kPanelsBeforePaint[] = {
    {"PanelReference", "Reference Images"},
};

// A text field with the focus keeps its keys.
bool TextFieldHasFocus() {
  QWidget* focus = QApplication::focusWidget();
  return qobject_cast<QLineEdit*>(focus) != nullptr || qobject_cast<QAbstractSpinBox*>(focus) != nullptr;
}

}  // namespace

TFormMain::TFormMain(const QString& programDir, QWidget* parent) : QMainWindow(parent), document_(programDir) {
  setObjectName("FormMain");
  setWindowTitle(kMainCaption);
  resize(1280, 860);
  FormCreate();
}

TFormMain::~TFormMain() {
  if (!destroyed_) FormDestroy();
  // The viewport and the panels on it go before the document they work on.
  delete centro_;
}

void TFormMain::Fail(const QString& message) {
  if (!message.isEmpty()) ShowError(message.toStdString());
  startupFailed_ = true;
}

void TFormMain::FormCreate() {
  // 1-2: the viewport and its GL context (created when first shown); the
  // texture panel's context belongs to PanelTexture.
  centro_ = new PanelCentro(document_.scene(), this);
  centro_->SetProgramDirectory(document_.programDir());
  setCentralWidget(centro_);
  document_.AttachViewport(*centro_);
  connect(centro_, &PanelCentro::fatalStartupError, this, &TFormMain::OnFatalStartupError);
  BuildStatusBar();
  connect(centro_, &PanelCentro::fpsTextChanged, statusPanels[4], &QLabel::setText);
  BuildPanels();
  MainMenu = new TMainMenu(document_, *this, *PanelLoadAdd, *PanelMenu);
  viewportInput_ = new TViewportInput(document_, statusPanels);
  tabletInput_ = new TTabletInput(document_, *viewportInput_, *PanelConfig, *PanelMenu);
  formInput_.emplace(document_, *PanelMenu, *PanelModeling, *PanelEditSphere, *MainMenu);
  Compose();

  // 3: one element, renderer defaults, brush radius 0.4, symmetry on.
  TScene& scene = document_.scene();
  ResetScene(scene);
  document_.brush().radius = 0.4f;
  document_.brush().symmetry = true;

  // 4: element 0 "Principal" from the default ball.
  if (!LoadDefaultModel()) return Fail({});
  malloc_trim(0);

  // 5-8 (textures, shadow map, cube map, framebuffer, buffers) run at the
  // viewport's GL start-up; a missing image ends the program from there.
  // 9: centring the start panel waits for the first layout (showEvent).
  document_.LoadCustomCursors();                             // 10
  if (!ReadPreferences()) return Fail(kPreferencesMissing);  // 11
  ApplyPreferences();

  // 12: the rotation handle, the view box on "Front", the start panel.
  LoadRotateGizmo();
  PanelMenu->ComboPosition->setCurrentIndex(0);
  PanelStart->show();
  PanelStart->raise();

  // From here on every change reaches the crash-recovery record.
  // It waits while a stroke or the occlusion bake changes the mesh.
  document_.StartRecoveryRecord(
      [this] { return viewportInput_->buttonState() != kNoButton || PanelCreateAO->running(); });
  document_.MarkSaved({});  // the default ball is no file of the user's
}

void TFormMain::BuildStatusBar() {
  statusBar()->setObjectName("StatusBar1");
  statusBar()->setStyleSheet("QStatusBar { background: #808080; } QStatusBar::item { border: none; }");
  statusBar()->setSizeGripEnabled(false);
  for (int i = 0; i < 6; ++i) {
    statusPanels[i] = new QLabel(statusBar());
    statusPanels[i]->setObjectName(QString("StatusPanel%1").arg(i));
    statusPanels[i]->setFixedWidth(kStatusWidths[i]);
    statusBar()->addWidget(statusPanels[i]);
  }
}

// In the order they stack over the viewport.
void TFormMain::BuildPanels() {
  PanelMenu = new TPanelMenu(document_, centro_);
  PanelModeling = new TPanelModeling(document_, centro_);
  PanelStart = new TPanelStart(document_, centro_);
  PanelLoadAdd = new TPanelLoadAdd(document_, centro_);
  const auto placeholders = [this](const auto& panels) {
    for (const auto& [name, title] : panels) {
      auto* panel = new FloatingPanel(name, title, centro_);
      panel->move(180, 40);
      panel->hide();
      toolPanels_.emplace(name, panel);
    }
  };
  PanelEditSphere = new TPanelEditSphere(document_, centro_);
  PanelSkech = new TPanelSkech(document_, centro_);
  placeholders(kPanelsBeforePaint);
  PanelStamp = new TPanelStamp(document_, centro_);
  PanelStencil = new TPanelStencil(document_, centro_);
  PanelRefImage = new TPanelRefImage(document_, centro_);
  PanelPaintColor = new TPanelPaintColor(document_, centro_);
  PanelTexture = new TPanelTexture(document_, centro_);
  PanelCreateUVW = new TPanelCreateUVW(centro_);
  PanelImageTex = new TPanelImageTex(centro_);
  PanelCreatingUV = new TPanelCreatingUV(centro_);
  PanelCreateAO = new TPanelCreateAO(document_, centro_);
  PanelSaveScreen = new TPanelSaveScreen(document_, centro_);
  PanelReduction = new TPanelReduction(document_, centro_);
  PanelRemesh = new TPanelRemesh(document_, centro_);
  PanelConfig = new TPanelConfig(document_, centro_);
  TextureMode =
      new TTextureMode(document_, *PanelTexture, *PanelCreateUVW, *PanelImageTex, *PanelCreatingUV, *PanelPaintColor);
}

void TFormMain::Compose() {
  for (FloatingPanel* panel : centro_->findChildren<FloatingPanel*>(Qt::FindDirectChildrenOnly)) {
    connect(panel, &FloatingPanel::moved, &document_, &TDocument::Redraw);
    // The two main panels stay where the preferences put them.
    if (panel != PanelMenu && panel != PanelModeling) panel->installEventFilter(this);
  }
  // The tool panel's buttons of commands that belong to other panels.
  connect(PanelMenu->SpeedEditObject, &QToolButton::clicked, PanelEditSphere, &TPanelEditSphere::SpeedEditarClick);
  connect(PanelMenu->SpeedDetach, &QToolButton::clicked, PanelEditSphere, &TPanelEditSphere::SpeedDetachClick);
  connect(PanelMenu->SpeedUnification, &QToolButton::clicked, PanelEditSphere,
          &TPanelEditSphere::SpeedUnificationClick);
  connect(PanelMenu->SpeedMirror, &QToolButton::clicked, PanelEditSphere, &TPanelEditSphere::SpeedMirrorClick);
  connect(PanelMenu->SpeedPaint, &QToolButton::clicked, PanelPaintColor, &TPanelPaintColor::PaintTool1Click);

  // The brush list and the brush controls of the tool panel.
  connect(PanelMenu, &TPanelMenu::brushListDeselected, PanelModeling, &TPanelModeling::DeselectBrushList);
  connect(PanelMenu, &TPanelMenu::intensityChanged, PanelModeling, &TPanelModeling::IntensityChanged);
  connect(PanelModeling, &TPanelModeling::intensityShown, PanelMenu, &TPanelMenu::ShowIntensity);
  connect(PanelModeling, &TPanelModeling::brushChecked, PanelMenu, &TPanelMenu::LeaveMaskPainting);
  connect(PanelModeling, &TPanelModeling::brushSelected, PanelStamp, &TPanelStamp::BrushSelected);
  document_.stroke().SetStampSource(PanelStamp);
  connect(PanelEditSphere, &TPanelEditSphere::maskModesChanged, PanelMenu, &TPanelMenu::SyncMaskButtons);
  connect(PanelPaintColor, &TPanelPaintColor::closed, PanelModeling, [this] { PanelModeling->RadioModelClick(0); });

  // Texture mode.
  PanelMenu->SpeedTextureEdit->setEnabled(true);
  connect(PanelMenu->SpeedTextureEdit, &QToolButton::clicked, TextureMode, &TTextureMode::SpeedEditTexClick);
  connect(&document_, &TDocument::sceneReplaced, TextureMode, &TTextureMode::SceneReplaced);

  // A stroke's temporary brushes and colour capture.
  connect(viewportInput_, &TViewportInput::leftDragging, PanelModeling, &TPanelModeling::ArmTemporaryBrushes);
  connect(viewportInput_, &TViewportInput::strokeEnding, PanelModeling, &TPanelModeling::RestoreTemporaryBrushes);
  connect(&document_, &TDocument::savedStateChanged, this, &TFormMain::ShowSavedState);
  connect(&document_, &TDocument::meshOrViewChanged, viewportInput_, &TViewportInput::RefreshMeshCounts);
  connect(viewportInput_, &TViewportInput::colorCapturePressed, PanelPaintColor, &TPanelPaintColor::CaptureColor);
  connect(viewportInput_, &TViewportInput::penSecondBrushArming, PanelModeling, &TPanelModeling::ArmPenSecondBrush);

  // The start-mesh chooser.
  connect(PanelStart, &TPanelStart::meshChosen, PanelLoadAdd,
          [this](int choice) { PanelLoadAdd->AskFor(choice, PanelStart->pos()); });
  connect(PanelStart, &TPanelStart::loadMeshChosen, MainMenu, &TMainMenu::Abrir1Click);
  PanelLoadAdd->SetSaveQuestion([this] { return MainMenu->AskToSaveChanges(); });
  connect(PanelLoadAdd, &TPanelLoadAdd::sketchStarted, PanelSkech, &TPanelSkech::StartSketch);
  connect(PanelLoadAdd, &TPanelLoadAdd::sketchLoaded, PanelSkech, &TPanelSkech::SpeedSkechConvertClick);
  connect(PanelMenu->SpeedSkech, &QToolButton::clicked, PanelSkech, &TPanelSkech::SpeedSkechClick);
  connect(PanelLoadAdd, &TPanelLoadAdd::finished, PanelStart, &QWidget::hide);

  // The configuration panel.
  connect(PanelConfig, &TPanelConfig::preferencesSaving, this, [this] {
    TPreferences& prefs = document_.preferences();
    prefs.panelMenuLeft = PanelMenu->x();
    prefs.panelMenuTop = PanelMenu->y();
    prefs.panelModelingLeft = PanelModeling->x();
    prefs.panelModelingTop = PanelModeling->y();
  });
  connect(PanelConfig, &TPanelConfig::tabletActivated, PanelMenu, &TPanelMenu::TabletActivated);
  connect(PanelConfig, &TPanelConfig::shortcutsChanged, this,
          [this] { ShowShortcutHints(document_.preferences(), *MainMenu, *PanelMenu, *PanelModeling); });

  // Remeshing: the budget from the tool panel's track bar, the depth from the configuration.
  connect(PanelMenu->ButRemeshCompact, &QToolButton::clicked, PanelRemesh, [this] {
    PanelRemesh->ButRemeshCompactClick(VoxelBudgetOfPosition(PanelMenu->TrackBarResol->value()));
  });
  const auto remesh = [this] { PanelRemesh->SpeedFixmeshClick(PanelConfig->remeshDepth()); };
  connect(PanelMenu->SpeedFixmesh, &QToolButton::clicked, PanelRemesh, remesh);
  connect(PanelRemesh, &TPanelRemesh::remeshed, PanelStart, &QWidget::hide);
  // Queued: the close comes once the run's handler has returned.
  connect(
      PanelRemesh, &TPanelRemesh::runEnded, this, [this] { if (closeAfterRemesh_) close(); }, Qt::QueuedConnection);

  // Ambient occlusion at the tool panel's strength.
  connect(PanelMenu->ScrollBarLevelAO, &QSlider::valueChanged, PanelCreateAO, &TPanelCreateAO::ScrollBarLevelAOChange);
  connect(PanelMenu->SpeedAO, &QToolButton::clicked, PanelCreateAO, &TPanelCreateAO::SpeedAmbientOcclusionClick);

  // The menu items of the panels' commands.
  TMainMenu& menu = *MainMenu;
  connect(menu.StartMesh1, &QAction::triggered, PanelStart, &TPanelStart::StartMesh1Click);
  connect(menu.Subdivide1, &QAction::triggered, PanelMenu, &TPanelMenu::SpeedSubdivideClick);
  connect(menu.UnSubdivide1, &QAction::triggered, PanelMenu, &TPanelMenu::SpeedUnsubdivideClick);
  connect(menu.Detail1, &QAction::triggered, PanelMenu, &TPanelMenu::SpeedDetailClick);
  connect(menu.EditObject1, &QAction::triggered, PanelEditSphere, &TPanelEditSphere::SpeedEditarClick);
  connect(menu.Freeze1, &QAction::triggered, PanelMenu, [this] { PanelMenu->SpeedFreeze->click(); });
  connect(menu.UnfreezeAll1, &QAction::triggered, PanelMenu, &TPanelMenu::SpeedUnfreezeAllClick);
  connect(menu.InvertFreeze1, &QAction::triggered, PanelMenu, &TPanelMenu::CheckBox1Click);
  connect(menu.SelectionMode1, &QAction::triggered, PanelMenu, &TPanelMenu::SpeedSelModeClick);
  connect(menu.Detach1, &QAction::triggered, PanelEditSphere, &TPanelEditSphere::SpeedDetachClick);
  connect(menu.Unification1, &QAction::triggered, PanelEditSphere, &TPanelEditSphere::SpeedUnificationClick);
  connect(menu.Mirror1, &QAction::triggered, PanelEditSphere, &TPanelEditSphere::SpeedMirrorClick);
  connect(menu.Preferences1, &QAction::triggered, PanelConfig, &TPanelConfig::Preferences1Click);
  connect(menu.PrincipalMenu1, &QAction::triggered, this, &TFormMain::PrincipalMenu1Click);
  connect(menu.PanelModeling1, &QAction::triggered, this, &TFormMain::PanelModeling1Click);
  connect(menu.PaintTool1, &QAction::triggered, PanelPaintColor, &TPanelPaintColor::PaintTool1Click);
  menu.TextureEdit1->setEnabled(true);
  connect(menu.TextureEdit1, &QAction::triggered, TextureMode, &TTextureMode::SpeedEditTexClick);

  // Mesh Reduction.
  menu.MeshReduction1->setEnabled(true);
  PanelMenu->SpeedReduction->setEnabled(true);
  connect(menu.MeshReduction1, &QAction::triggered, PanelReduction, &TPanelReduction::SpeedReductionClick);
  connect(PanelMenu->SpeedReduction, &QToolButton::clicked, PanelReduction, &TPanelReduction::SpeedReductionClick);
  menu.Remesh1->setEnabled(true);
  connect(menu.Remesh1, &QAction::triggered, PanelRemesh, remesh);

  // Ambient occlusion and image renders.
  connect(menu.AmbientOcclusion1, &QAction::triggered, PanelCreateAO, &TPanelCreateAO::SpeedAmbientOcclusionClick);
  connect(menu.ImageRender1, &QAction::triggered, PanelSaveScreen, &TPanelSaveScreen::ImageRenderClick);
  ComposePictureTools();
}

// The projection stencil and the reference image: their commands, the
// exclusive modes, the tablet while they run, the picture keys and drags.
void TFormMain::ComposePictureTools() {
  for (QToolButton* button : {PanelMenu->SpeedStencil, PanelMenu->SpeedImageBase}) button->setEnabled(true);
  for (QAction* item : {MainMenu->ProjectionTexture1, MainMenu->ProjectionEdit1}) {
    item->setEnabled(true);
    connect(item, &QAction::triggered, PanelStencil, &TPanelStencil::SpeedStencilClick);
  }
  connect(PanelMenu->SpeedStencil, &QToolButton::clicked, PanelStencil, &TPanelStencil::SpeedStencilClick);
  connect(PanelMenu->SpeedImageBase, &QToolButton::clicked, PanelRefImage, &TPanelRefImage::SpeedImageBaseClick);
  connect(PanelStencil, &TPanelStencil::opened, this, [this] {
    PanelStart->hide();
    PanelRefImage->hide();
    tabletInput_->SetTabletActive(false);
  });
  connect(PanelRefImage, &TPanelRefImage::opened, this, [this] {
    PanelStart->hide();
    PanelStencil->hide();
  });
  connect(PanelRefImage, &TPanelRefImage::fixedPanelShown, PanelStencil, &QWidget::hide);
  connect(PanelStencil, &TPanelStencil::closed, tabletInput_, &TTabletInput::RestoreTabletActive);
  connect(PanelRefImage, &TPanelRefImage::closed, tabletInput_, &TTabletInput::RestoreTabletActive);
  formInput_->SetOverlayCommands(
      [this] {
        if (PanelStencil->isVisible()) return PanelStencil->SpeedCloseStencilClick();
        if (PanelRefImage->isVisible()) return PanelRefImage->SpeedCloseRefImageClick();
        PanelStencil->SpeedStencilClick();
      },
      [this] { PanelRefImage->ToggleReferenceImage(); });
  overlayDrags_.emplace(document_, [this](int command) { return formInput_->CommandKeysDown(command); });
  viewportInput_->SetOverlayDrags(&*overlayDrags_);
  document_.stroke().SetStencilPicture(centro_);
}

bool TFormMain::LoadDefaultModel() {
  TScene& scene = document_.scene();
  TGeosphera& e = scene.elements[0];
  e.name = "Principal";
  e.center = {};
  e.loadExtent = 5;
  e.scale = {1, 1, 1};
  e.colorB = e.colorG = e.colorR = 122;
  e.colorA = 178;
  e.visible = 1;
  e.placeState = kPlaced;
  if (!LoadIntoScene(scene, document_.ProgramFile("models/ball6.met").toStdString(), kModelMet, scene.loadScale)) {
    return false;
  }
  scene.elements[0].name = "Principal";
  document_.RebuildCurrentAdjacency();
  return true;
}

bool TFormMain::ReadPreferences() {
  std::optional<TPreferences> read = ReadPreferencesFile(PreferencesPathToRead(document_.programDir()).toStdString());
  if (!read) return false;
  document_.preferences() = *read;
  return true;
}

void TFormMain::ApplyPreferences() {
  const TPreferences& prefs = document_.preferences();
  centro_->state().zoomStep = static_cast<float>(prefs.zoomStep);
  PanelMenu->move(prefs.panelMenuLeft, prefs.panelMenuTop);
  PanelModeling->move(prefs.panelModelingLeft, prefs.panelModelingTop);
  document_.brush().grabSensitivity = prefs.grabSensitivity;
  PanelModeling->LoadIntensities(prefs);
  PanelConfig->ShowPreferences();
  ShowShortcutHints(prefs, *MainMenu, *PanelMenu, *PanelModeling);
}

void TFormMain::LoadRotateGizmo() {
  TScene& scene = document_.scene();
  if (LoadIntoElement(scene, scene.rotateGizmo, document_.ProgramFile("models/arcs1.met").toStdString(), kModelMet,
                      1.0f)) {
    scene.rotateGizmo.position = scene.elements[0].center;
  }
}

// The scene's file name and, while it has unsaved changes, a mark.
void TFormMain::ShowSavedState() {
  const QString& file = document_.sceneFile();
  const QString title = file.isEmpty() ? QString(kMainCaption) : QFileInfo(file).fileName() + " - " + kMainCaption;
  setWindowTitle(document_.modified() ? "*" + title : title);
}

void TFormMain::OnFatalStartupError(const QString& message) {
  Fail(message);
  hide();
  // Queued, so it also ends a program whose window showed before the loop ran.
  const auto quit = [] { QCoreApplication::exit(1); };
  QMetaObject::invokeMethod(qApp, quit, Qt::QueuedConnection);
}

void TFormMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (startPanelCentred_) return;
  startPanelCentred_ = true;
  PanelStart->CentreIn(centro_->width(), centro_->height());
  document_.Redraw();
}

void TFormMain::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FormResize();
}

void TFormMain::FormResize() {
  for (FloatingPanel* panel : centro_->findChildren<FloatingPanel*>(Qt::FindDirectChildrenOnly)) {
    if (panel->isVisible() && panel != PanelMenu && panel != PanelModeling) KeepInsideViewport(*panel);
  }
  TScene& scene = document_.scene();
  if (destroyed_ || scene.elements.empty()) return;
  document_.RebuildCurrentAdjacency();
  scene.host->RebuildScreenGrids(scene);
}

void TFormMain::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && CloseTopmostPanel()) return;
  if (TextFieldHasFocus()) return QMainWindow::keyPressEvent(event);
  formInput_->FormKeyDown(event->key(), event->modifiers());
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show) {
    if (auto* panel = qobject_cast<FloatingPanel*>(watched)) PlaceBesideTools(*panel);
  }
  return QMainWindow::eventFilter(watched, event);
}

void TFormMain::PlaceBesideTools(FloatingPanel& panel) {
  constexpr int kGap = 6;
  if (PanelMenu->isVisible() && panel.geometry().intersects(PanelMenu->geometry())) {
    panel.move(PanelMenu->geometry().right() + kGap, panel.y());
  }
  KeepInsideViewport(panel);
}

void TFormMain::KeepInsideViewport(FloatingPanel& panel) {
  const int x = std::max(0, std::min(panel.x(), centro_->width() - panel.width()));
  const int y = std::max(0, std::min(panel.y(), centro_->height() - panel.height()));
  if (x != panel.x() || y != panel.y()) panel.move(x, y);
}

bool TFormMain::CloseTopmostPanel() {
  const QObjectList& stack = centro_->children();  // bottom to top
  for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
    auto* panel = qobject_cast<FloatingPanel*>(*it);
    if (panel != nullptr && panel->isVisible() && panel->closeButton() != nullptr) {
      panel->closeButton()->click();
      return true;
    }
  }
  return false;
}

void TFormMain::keyReleaseEvent(QKeyEvent* event) {
  formInput_->KeyUp(event->key());
  QMainWindow::keyReleaseEvent(event);
}

void TFormMain::wheelEvent(QWheelEvent* event) {
  const int notches = event->angleDelta().y() / 120;
  if (notches != 0) formInput_->FormMouseWheel(notches);
  event->accept();
}

void TFormMain::closeEvent(QCloseEvent* event) {
  // A remesh under way ends its helper first; the window closes when the run is over.
  if (PanelRemesh->running()) {
    closeAfterRemesh_ = true;
    PanelRemesh->CancelRun();
    event->ignore();
    return;
  }
  if (!startupFailed_ && !MainMenu->AskToSaveChanges()) {
    event->ignore();
    return;
  }
  if (!destroyed_) FormDestroy();
  event->accept();
}

void TFormMain::FormDestroy() {
  tabletInput_->Tablet1->Close();
  centro_->ReleaseGpuObjects();
  document_.StopRecoveryRecord();
  document_.undo().DeleteSnapshotFiles();
  destroyed_ = true;
}

void TFormMain::PrincipalMenu1Click() {
  PanelMenu->setVisible(!PanelMenu->isVisible());
  PanelMenu->move(5, 10);
  MainMenu->PrincipalMenu1->setChecked(PanelMenu->isVisible());
  document_.Redraw();
}

void TFormMain::PanelModeling1Click() {
  PanelModeling->setVisible(!PanelModeling->isVisible());
  PanelModeling->move(162, 611);
  MainMenu->PanelModeling1->setChecked(PanelModeling->isVisible());
  document_.Redraw();
}

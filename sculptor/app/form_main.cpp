// TFormMain: creation in its fixed order, the menu and status bar, resize,
// shutdown and the destroy step.
#include "app/form_main.h"

#include <malloc.h>

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolButton>
#include <QUrl>

#include "app/about_window.h"
#include "app/app_paths.h"
#include "app/cursors.h"
#include "app/floating_panel.h"
#include "io/model_conversion.h"
#include "model/messages.h"
#include "model/topology.h"
#include "render/panel_centro.h"

namespace {

constexpr const char* kTutorialsUrl = "https://plasmora.example.org/tutorials";
constexpr const char* kDonateUrl = "https://plasmora.example.org/download";
constexpr int kStatusWidths[6] = {150, 150, 250, 200, 150, 150};

}  // namespace

TFormMain::TFormMain(const QString& programDir, QWidget* parent) : QMainWindow(parent), programDir_(programDir) {
  setObjectName("FormMain");
  setWindowTitle(kMainCaption);
  resize(1280, 860);
  FormCreate();
}

TFormMain::~TFormMain() {
  if (!destroyed_) FormDestroy();
  scene_.host = nullptr;
  scene_.gpu = nullptr;
}

QString TFormMain::ProgramFile(const char* relative) const { return QDir(programDir_).filePath(relative); }

const QCursor* TFormMain::customCursor(const QString& name) const {
  auto it = cursors_.find(name);
  return it == cursors_.end() ? nullptr : &it->second;
}

void TFormMain::Fail(const QString& message) {
  if (!message.isEmpty()) ShowError(message.toStdString());
  startupFailed_ = true;
}

void TFormMain::FormCreate() {
  // 1-2: the viewport and its GL context (created when first shown); the
  // hidden texture panel belongs to the texture tools.
  centro_ = new PanelCentro(scene_, this);
  centro_->SetProgramDirectory(programDir_);
  setCentralWidget(centro_);
  host_.emplace(*this);
  undoHost_.emplace(undo_, &*host_);
  scene_.host = &*undoHost_;
  scene_.gpu = &centro_->buffers();
  TViewportInputs& in = centro_->inputs();
  stroke_.emplace(scene_, in.brush, in.modes, *centro_, strokeSink_);
  centro_->installEventFilter(this);
  connect(centro_, &PanelCentro::fatalStartupError, this, &TFormMain::OnFatalStartupError);
  BuildMenus();
  BuildStatusBar();
  connect(centro_, &PanelCentro::fpsTextChanged, statusPanels[4], &QLabel::setText);
  BuildPanelMenu();
  BuildPanelModeling();
  BuildPanelStart();
  BuildPanelLoadAdd();
  BuildToolPanels();
  BuildPanelPaintColor();
  ConnectStrokeControls();

  // 3: one element, renderer defaults, brush radius 0.4, symmetry on.
  ResetScene(scene_);
  in.brush.radius = 0.4f;
  in.brush.symmetry = true;

  // 4: element 0 "Principal" from the default ball.
  if (!LoadDefaultModel()) return Fail({});
  malloc_trim(0);

  // 5-8 (textures, shadow map, cube map, framebuffer, buffers) run at the
  // viewport's GL start-up; a missing image ends the program from there.
  // 9: centring the start panel waits for the first layout (showEvent).
  LoadCustomCursors();  // 10
  if (!ReadPreferences()) return Fail(kPreferencesMissing);  // 11
  ApplyPreferences();

  // 12: the rotation handle, the view box on "Front", the start panel.
  LoadRotateGizmo();
  ComboPosition->setCurrentIndex(0);
  PanelStart->show();
  PanelStart->raise();

  // From here on every change reaches the crash-recovery record.
  recovery_.emplace(
      scene_, undo_.folder(), [this] { return undo_.PrepareFolder(); },
      [this] { return drag_.buttonState != kNoButton; });
  undo_.SetChangeListener([this] { SceneChanged(); });
}

void TFormMain::SceneChanged() {
  if (recovery_) recovery_->MarkChanged();
}

bool TFormMain::LoadDefaultModel() {
  TGeosphera& e = scene_.elements[0];
  e.name = "Principal";
  e.center = {};
  e.loadExtent = 5;
  e.scale = {1, 1, 1};
  e.colorB = e.colorG = e.colorR = 122;
  e.colorA = 178;
  e.visible = 1;
  e.placeState = kPlaced;
  if (!LoadIntoScene(scene_, ProgramFile("models/ball6.met").toStdString(), kModelMet, scene_.loadScale)) {
    return false;
  }
  scene_.elements[0].name = "Principal";
  RebuildCurrentAdjacency();
  return true;
}

bool TFormMain::ReadPreferences() {
  std::optional<TPreferences> read = ReadPreferencesFile(PreferencesPathToRead(programDir_).toStdString());
  if (!read) return false;
  prefs_ = *read;
  return true;
}

void TFormMain::ApplyPreferences() {
  centro_->state().zoomStep = static_cast<float>(prefs_.zoomStep);
  PanelMenu->move(prefs_.panelMenuLeft, prefs_.panelMenuTop);
  PanelModeling->move(prefs_.panelModelingLeft, prefs_.panelModelingTop);
  centro_->inputs().brush.grabSensitivity = prefs_.grabSensitivity;
  // Brushes without a place in the preferences (Stamp) start at 0.
  brushIntensity_.fill(0);
  for (int slot = 0; slot < kPreferenceBrushCount; ++slot) {
    brushIntensity_[static_cast<size_t>(BrushOfPreferenceSlot(slot))] = prefs_.brushDefaultIntensity[slot];
  }
  centro_->inputs().brush.strength = StrengthOnSelection(0, brushIntensity_[0]);
  ShowPreferencesInPanelConfig();
}

void TFormMain::LoadRotateGizmo() {
  if (LoadIntoElement(scene_, scene_.rotateGizmo, ProgramFile("models/arcs1.met").toStdString(), kModelMet, 1.0f)) {
    scene_.rotateGizmo.position = scene_.elements[0].center;
  }
}

void TFormMain::LoadCustomCursors() {
  for (const char* name : {"ROTATE", "SCALE", "MOVE", "DROPPER"}) cursors_.emplace(name, MakeCustomCursor(name));
}

void TFormMain::OnFatalStartupError(const QString& message) {
  Fail(message);
  hide();
  // Queued, so it also ends a program whose window showed before the loop ran.
  QMetaObject::invokeMethod(qApp, [] { QCoreApplication::exit(1); }, Qt::QueuedConnection);
}

void TFormMain::BuildMenus() {
  QMenu* file = menuBar()->addMenu("File");
  Abrir1 = file->addAction("Open", this, &TFormMain::Abrir1Click);
  Import1 = file->addAction("Import", this, &TFormMain::Import1Click);
  Export1 = file->addAction("Export", this, &TFormMain::Export1Click);
  A1 = file->addAction("Save As...", this, &TFormMain::A1Click);
  StartMesh1 = file->addAction("Start Mesh", this, &TFormMain::StartMesh1Click);
  file->addSeparator();
  Sair1 = file->addAction("Exit", this, &TFormMain::Sair1Click);

  auto disabled = [](QMenu* menu, std::initializer_list<const char*> captions) {
    for (const char* caption : captions) menu->addAction(caption)->setEnabled(false);
  };
  QMenu* edit = menuBar()->addMenu("Edit");
  Undo1 = edit->addAction("Undo", this, &TFormMain::Undo1Click);
  Redo1 = edit->addAction("Redo", this, &TFormMain::Redo1Click);
  Redo1->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  Redo1->setShortcutContext(Qt::ApplicationShortcut);  // also from the floating panels
  Subdivide1 = edit->addAction("Subdivide", this, &TFormMain::SpeedSubdivideClick);
  UnSubdivide1 = edit->addAction("UnSubdivide", this, &TFormMain::SpeedUnsubdivideClick);
  Detail1 = edit->addAction("Detail", this, &TFormMain::SpeedDetailClick);
  disabled(edit, {"Remesh"});
  AddEditingMenuItems(edit);
  disabled(edit, {"Mesh Reduction"});
  Preferences1 = edit->addAction("Preferences", this, &TFormMain::Preferences1Click);

  QMenu* view = menuBar()->addMenu("View");
  PrincipalMenu1 = view->addAction("Principal Menu", this, &TFormMain::PrincipalMenu1Click);
  PanelModeling1 = view->addAction("Panel Modeling", this, &TFormMain::PanelModeling1Click);
  for (QAction* toggle : {PrincipalMenu1, PanelModeling1}) {
    toggle->setCheckable(true);
    toggle->setChecked(true);
  }

  QMenu* render = menuBar()->addMenu("Render");
  disabled(render, {"Ambient Occlusion"});
  PaintTool1 = render->addAction("Paint Tool", this, &TFormMain::PaintTool1Click);
  disabled(render, {"Texture Edit", "Projection Texture", "Projection Edit", "Image Render"});

  QMenu* help = menuBar()->addMenu("Help");
  help->addAction("Tutorials", this, &TFormMain::TutorialsClick);
  help->addAction("Donate", this, &TFormMain::DonateClick);
  help->addAction("About", this, &TFormMain::AboutClick);
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

void TFormMain::CentrePanelStart() {
  const int w = centro_->width(), h = centro_->height();
  PanelStart->move(w / 2 - PanelStart->width() / 2, (h - 25) / 2 - PanelStart->height() / 2);
}

void TFormMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (startPanelCentred_) return;
  startPanelCentred_ = true;
  PanelStart->adjustSize();
  CentrePanelStart();
  Redraw();
}

void TFormMain::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FormResize();
}

void TFormMain::FormResize() {
  if (destroyed_ || scene_.elements.empty()) return;
  RebuildCurrentAdjacency();
  scene_.host->RebuildScreenGrids(scene_);
}

void TFormMain::closeEvent(QCloseEvent* event) {
  if (!startupFailed_ && !PromptSaveBeforeClose()) {
    event->ignore();
    return;
  }
  if (!destroyed_) FormDestroy();
  event->accept();
}

void TFormMain::FormDestroy() {
  // The tablet context joins with its tool.
  centro_->ReleaseGpuObjects();
  recovery_.reset();  // its last write ends before the folder goes
  undo_.DeleteSnapshotFiles();
  destroyed_ = true;
}

void TFormMain::Sair1Click() { close(); }

void TFormMain::PrincipalMenu1Click() {
  PanelMenu->setVisible(!PanelMenu->isVisible());
  PanelMenu->move(5, 10);
  PrincipalMenu1->setChecked(PanelMenu->isVisible());
  Redraw();
}

void TFormMain::PanelModeling1Click() {
  PanelModeling->setVisible(!PanelModeling->isVisible());
  PanelModeling->move(162, 611);
  PanelModeling1->setChecked(PanelModeling->isVisible());
  Redraw();
}

void TFormMain::AboutClick() { ShowAboutWindow(this); }

void TFormMain::TutorialsClick() { QDesktopServices::openUrl(QUrl(kTutorialsUrl)); }

void TFormMain::DonateClick() { QDesktopServices::openUrl(QUrl(kDonateUrl)); }

void TFormMain::Redraw() { centro_->requestRedraw(); }

void TFormMain::RebuildCurrentAdjacency() {
  TGeosphera& e = scene_.current();
  scene_.adjacencyWidth = ComputeValence(e);
  BuildAdjacency(e, scene_.adjacencyWidth);
}

void TFormMain::ShowLevel(int level) { LabSubd->setText(QString::number(level)); }

void TFormMain::WindowSceneHost::ShowSubdivisionLevel(int level) { form_.ShowLevel(level); }

void TFormMain::WindowSceneHost::Redraw() { form_.Redraw(); }

// Commands that changed the mesh or the view: the grids are rebuilt before
// the next lookup, when the viewport's size and matrices are settled.
void TFormMain::WindowSceneHost::RebuildScreenGrids(TScene&) { form_.stroke_->state().gridsStale = true; }

void TFormMain::WindowSceneHost::ClearFootprints() {
  TBrushFrame& frame = form_.stroke_->state().frame;
  frame.direct = {};
  frame.mirror = {};
}

TToolModes& TFormMain::Modes() { return centro_->inputs().modes; }

const TToolModes& TFormMain::editingModes() const { return centro_->inputs().modes; }

int TFormMain::grabSensitivity() const { return centro_->inputs().brush.grabSensitivity; }

float TFormMain::brushStrength() const { return centro_->inputs().brush.strength; }

TFileChoice TFormMain::ChooseFile(const TFileRequest& request) {
  if (fileChooser_) return fileChooser_(request);
  const QString filter = request.filters.join(";;");
  QString selected;
  TFileChoice choice;
  choice.fileName = request.save ? QFileDialog::getSaveFileName(this, request.caption, {}, filter, &selected,
                                                                QFileDialog::DontConfirmOverwrite)
                                 : QFileDialog::getOpenFileName(this, request.caption, {}, filter, &selected);
  choice.filterIndex = std::max(0, static_cast<int>(request.filters.indexOf(selected)));
  return choice;
}

QColor TFormMain::ChooseColor(const QColor& initial, const QString& title) {
  return colorChooser_ ? colorChooser_(initial) : QColorDialog::getColor(initial, this, title);
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Enter) {
    for (size_t i = 0; i < startMeshButtons.size(); ++i) {
      if (watched == startMeshButtons[i]) StartMeshButtonHover(static_cast<int>(i) + 1);
    }
  }
  if (watched == centro_) RouteViewportMouse(event);
  return QMainWindow::eventFilter(watched, event);
}

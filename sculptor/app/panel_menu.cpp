#include "app/panel_menu.h"

#include <malloc.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QInputDevice>
#include <QLabel>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <initializer_list>

#include "app/document.h"
#include "app/external_remesh.h"
#include "app/widget_factory.h"
#include "model/messages.h"
#include "render/panel_centro.h"
#include "sculpt/detail.h"
#include "sculpt/element_editing.h"
#include "sculpt/subdivision.h"

namespace {

constexpr const char* kNothingToDetail = "Select the vertices to detail first (\"Selection Mode\").";

// A command button of a two-column grid: its place, component name, caption,
// member and whether its command exists yet (the later tools enable theirs).
struct TGridButton {
  const char* objectName;
  const char* caption;
  QToolButton** member;
  bool enabled;
};

void AddButtons(QGridLayout* grid, QWidget* parent, int firstRow, std::initializer_list<TGridButton> buttons) {
  int i = 0;
  for (const TGridButton& b : buttons) {
    *b.member = PanelButton(b.objectName, b.caption, parent, b.enabled);
    grid->addWidget(*b.member, firstRow + i / 2, i % 2);
    ++i;
  }
}

QLabel* Label(const char* objectName, const char* text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(objectName);
  return label;
}

// Qt reports a pen when the platform has a tablet driver and a stylus.
bool StylusAvailable() {
  for (const QInputDevice* device : QInputDevice::devices()) {
    if (device->type() == QInputDevice::DeviceType::Stylus) return true;
  }
  return false;
}

}  // namespace

TPanelMenu::TPanelMenu(TDocument& doc, QWidget* parent) : FloatingPanel("PanelMenu", "Tools", parent), doc_(doc) {
  setMinimumWidth(236);  // wider when a caption needs it, so none is clipped
  body()->addWidget(BuildVisualInterface());
  body()->addWidget(BuildMeshEdit());
  body()->addWidget(BuildPaintAndTextures());
  adjustSize();

  PanelCentro& view = doc_.viewport();
  connect(CheckLine, &QCheckBox::toggled, &view, &PanelCentro::SetWireframe);
  connect(CheckGrid, &QCheckBox::toggled, &view, &PanelCentro::SetGrid);
  connect(CheckPoints, &QCheckBox::toggled, &view, &PanelCentro::SetPoints);
  connect(CheckSym, &QCheckBox::toggled, this, &TPanelMenu::CheckSymClick);
  connect(ComboPosition, &QComboBox::currentIndexChanged, this, &TPanelMenu::ComboPositionChange);
  connect(SpeedReflection, &QToolButton::clicked, &view, &PanelCentro::ToggleReflection);
  connect(SpeedShadows, &QToolButton::clicked, &view, &PanelCentro::ToggleShadows);
  connect(SpeedLightOn, &QToolButton::clicked, &view, [&view] { view.SetSceneLight(true); });
  connect(SpeedLightOff, &QToolButton::clicked, &view, [&view] { view.SetSceneLight(false); });
  connect(SpeedSpecOn, &QToolButton::clicked, this, [this, &view] { SpeedSpecOn->setText(view.ToggleSpecular()); });
  connect(ScrollRadius, &QSlider::valueChanged, this, &TPanelMenu::ScrollRadiusChange);
  connect(ScrollIntensity, &QSlider::valueChanged, this, &TPanelMenu::ScrollIntensityChange);
  const std::pair<QToolButton*, void (TPanelMenu::*)()> commands[] = {
      {SpeedSubdivide, &TPanelMenu::SpeedSubdivideClick},  {SpeedUnSubdivide, &TPanelMenu::SpeedUnsubdivideClick},
      {SpeedDetail, &TPanelMenu::SpeedDetailClick},        {SpeedFreeze, &TPanelMenu::SpeedFreezeClick},
      {SpeedUnfreeze, &TPanelMenu::SpeedUnfreezeAllClick}, {CheckBox1, &TPanelMenu::CheckBox1Click},
      {SpeedSelMode, &TPanelMenu::SpeedSelModeClick}};
  for (const auto& [button, handler] : commands) connect(button, &QToolButton::clicked, this, handler);
  connect(&doc_, &TDocument::subdivisionLevelShown, this, &TPanelMenu::ShowLevel);
}

QWidget* TPanelMenu::BuildVisualInterface() {
  auto* visual = new QGroupBox("Visual Interface", this);
  auto* v = new QGridLayout(visual);
  CheckLine = CheckBox("CheckLine", "Wireframe", visual);
  CheckGrid = CheckBox("CheckGrid", "Grade View", visual);
  CheckPoints = CheckBox("CheckPoints", "Points", visual);
  v->addWidget(CheckLine, 0, 0, 1, 2);
  v->addWidget(CheckGrid, 1, 0, 1, 2);
  v->addWidget(CheckPoints, 2, 0, 1, 2);
  ComboPosition = Named(new QComboBox(visual), "ComboPosition");
  for (ViewPreset preset : kViewPresets) ComboPosition->addItem(ViewPresetCaption(preset));
  v->addWidget(ComboPosition, 3, 0, 1, 2);
  AddButtons(v, visual, 4,
             {{"SpeedReflection", "Reflection", &SpeedReflection, true},
              {"SpeedShadows", "Shadows", &SpeedShadows, true},
              {"SpeedLightOn", "On", &SpeedLightOn, true},
              {"SpeedLightOff", "Off", &SpeedLightOff, true}});
  SpeedSpecOn = PanelButton("SpeedSpecOn", doc_.viewport().SpecularCaption(), visual);
  v->addWidget(SpeedSpecOn, 6, 0, 1, 2);
  return visual;
}

QWidget* TPanelMenu::BuildMeshEdit() {
  auto* mesh = new QGroupBox("Mesh Edit", this);
  auto* m = new QGridLayout(mesh);
  CheckSym = CheckBox("CheckSym", "Symmetry", mesh);
  CheckSym->setChecked(true);
  m->addWidget(CheckSym, 0, 0, 1, 2);
  m->addWidget(new QLabel("Size:", mesh), 1, 0);
  LabRadius = Label("LabRadius", "0.400", mesh);
  m->addWidget(LabRadius, 1, 1);
  ScrollRadius = TrackBar("ScrollRadius", 1, 300, 40, mesh);
  m->addWidget(ScrollRadius, 2, 0, 1, 2);
  m->addWidget(new QLabel("Intensity:", mesh), 3, 0);
  LabSize = Label("LabSize", "15", mesh);
  m->addWidget(LabSize, 3, 1);
  ScrollIntensity = TrackBar("ScrollIntensity", 1, 50, 15, mesh);
  m->addWidget(ScrollIntensity, 4, 0, 1, 2);
  m->addWidget(new QLabel("Level:", mesh), 5, 0);
  LabSubd = Label("LabSubd", "0", mesh);
  m->addWidget(LabSubd, 5, 1);
  AddButtons(m, mesh, 6,
             {{"SpeedSubdivide", "Subdivide", &SpeedSubdivide, true},
              {"SpeedUnSubdivide", "UnSubdivide", &SpeedUnSubdivide, true},
              {"SpeedDetail", "Detail", &SpeedDetail, true},
              {"SpeedFixmesh", "Remesh", &SpeedFixmesh, true},
              {"ButRemeshCompact", "Remesh Compact", &ButRemeshCompact, true},
              {"SpeedEditObject", "Edit Object", &SpeedEditObject, true},
              {"SpeedFreeze", "Freeze", &SpeedFreeze, true},
              {"SpeedUnfreeze", "Unfreeze All", &SpeedUnfreeze, true},
              {"CheckBox1", "Invert Freeze", &CheckBox1, true},
              {"SpeedSelection", "Selection Mode", &SpeedSelMode, true},
              {"SpeedDetach", "Detach", &SpeedDetach, true},
              {"SpeedUnification", "Unification", &SpeedUnification, true},
              {"SpeedMirror", "Mirror", &SpeedMirror, true},
              {"SpeedReduction", "Mesh Reduction", &SpeedReduction, false},
              {"SpeedSkech", "Skech Spheres", &SpeedSkech, true}});
  MakeToggle(SpeedFreeze);
  MakeToggle(SpeedSelMode);
  m->addWidget(new QLabel("Resolution:", mesh), 14, 0);
  LabResRemesh = Label("LabResRemesh", "10", mesh);
  m->addWidget(LabResRemesh, 14, 1);
  TrackBarResol = TrackBar("TrackBarResol", kMinResolutionPosition, kMaxResolutionPosition,
                           kDefaultResolutionPosition, mesh);
  TrackBarResol->setTickInterval(2);
  connect(TrackBarResol, &QSlider::valueChanged, LabResRemesh,
          [this](int position) { LabResRemesh->setText(QString::number(position)); });
  m->addWidget(TrackBarResol, 15, 0, 1, 2);
  return mesh;
}

QWidget* TPanelMenu::BuildPaintAndTextures() {
  auto* paint = new QGroupBox("Paint and Textures", this);
  auto* p = new QGridLayout(paint);
  AddButtons(p, paint, 0,
             {{"SpeedPaint", "Paint Tool", &SpeedPaint, true},
              {"SpeedTextureEdit", "Texture Edit", &SpeedTextureEdit, false},
              {"SpeedStencil", "Projection Edit", &SpeedStencil, false},
              {"SpeedImageBase", "Panel Base Image", &SpeedImageBase, false},
              {"SpeedAO", "Ambient Occlusion", &SpeedAO, false}});
  return paint;
}

// --- view and brush ------------------------------------------------------------

void TPanelMenu::ComboPositionChange(int index) {
  if (index < 0 || index >= static_cast<int>(kViewPresets.size())) return;
  doc_.viewport().ApplyPreset(kViewPresets[static_cast<size_t>(index)]);
  doc_.scene().host->RebuildScreenGrids(doc_.scene());
  doc_.Redraw();
}

void TPanelMenu::ScrollRadiusChange(int position) {
  doc_.brush().radius = position / 100.0f;
  doc_.stroke().UpdateBrushWindow();
  LabRadius->setText(QString::asprintf("%.3f", position / 100.0));
  doc_.viewport().RebuildCursorCircles();
  doc_.Redraw();
}

void TPanelMenu::ScrollIntensityChange(int position) {
  LabSize->setText(QString::number(position));
  emit intensityChanged(position);
  window()->setFocus();
}

void TPanelMenu::ShowIntensity(int intensity) {
  ScrollIntensity->setValue(intensity);
  LabSize->setText(QString::number(intensity));
}

void TPanelMenu::CheckSymClick(bool checked) {
  doc_.brush().symmetry = checked;
  doc_.Redraw();
}

void TPanelMenu::ShowLevel(int level) { LabSubd->setText(QString::number(level)); }

void TPanelMenu::TabletActivated() {
  ScrollIntensity->update();
  if (!StylusAvailable()) ScrollIntensity->setVisible(true);
}

// --- the mask commands ---------------------------------------------------------

void TPanelMenu::CheckBox1Click() {
  if (doc_.RefusedInTextureMode()) return;
  for (uint8_t& mask : doc_.scene().current().vertexState) {
    mask = mask == kVertexFrozen ? kVertexFree : kVertexFrozen;
  }
  doc_.Redraw();
}

void TPanelMenu::SetFreezeMode(bool on) {
  doc_.modes().freeze = on;  // the point view shows the mask meanwhile
  SpeedFreeze->setChecked(on);
}

void TPanelMenu::LeaveMaskPainting() {
  SetFreezeMode(false);
  doc_.modes().selection = false;
  SpeedSelMode->setChecked(false);
}

void TPanelMenu::SyncMaskButtons() {
  SpeedFreeze->setChecked(doc_.modes().freeze);
  SpeedSelMode->setChecked(doc_.modes().selection);
}

void TPanelMenu::SpeedFreezeClick() {
  if (doc_.RefusedInTextureMode()) {
    SpeedFreeze->setChecked(doc_.modes().freeze);
    return;
  }
  const bool down = SpeedFreeze->isChecked();
  if (down) {
    emit brushListDeselected();
  } else {
    ClearMask(doc_.scene().current());
  }
  SetFreezeMode(down);
  doc_.Redraw();
}

void TPanelMenu::SpeedUnfreezeAllClick() {
  if (doc_.RefusedInTextureMode()) return;
  SetFreezeMode(false);
  ClearAllMasks(doc_.scene());
  doc_.Redraw();
}

void TPanelMenu::SpeedSelModeClick() {
  if (doc_.RefusedInTextureMode()) {
    SpeedSelMode->setChecked(doc_.modes().selection);
    return;
  }
  ClearMask(doc_.scene().current());
  TToolModes& modes = doc_.modes();
  modes.selection = !modes.selection;
  if (modes.selection) emit brushListDeselected();
  SpeedSelMode->setChecked(modes.selection);
  doc_.Redraw();
}

// --- Subdivide, UnSubdivide and Detail ------------------------------------------

bool TPanelMenu::ResolutionCommandAllowed() {
  if (doc_.RefusedInTextureMode()) return false;
  return !doc_.modes().position && doc_.scene().current().placeState == kPlaced;
}

namespace {

// The change is noted also when the mesh is too big for a snapshot.
TResolutionUndo ResolutionUndo(TDocument& doc) {
  return {[&doc](TScene& scene) {
            doc.SceneChanged();
            doc.undo().TakeSnapshot(scene.current(), UndoChannel::Geometry, 2);
          },
          [&doc](TScene& scene) { doc.undo().RestoreSnapshot(scene, UndoChannel::Geometry); }};
}

}  // namespace

void TPanelMenu::SpeedSubdivideClick() {
  if (!ResolutionCommandAllowed()) return;
  malloc_trim(0);
  Subdivide(doc_.scene(), ResolutionUndo(doc_));
}

void TPanelMenu::SpeedUnsubdivideClick() {
  if (!ResolutionCommandAllowed()) return;
  malloc_trim(0);
  if (Unsubdivide(doc_.scene(), ResolutionUndo(doc_))) malloc_trim(0);
}

// Detail refines the selected (masked) vertices only: without any it says so.
void TPanelMenu::SpeedDetailClick() {
  if (!ResolutionCommandAllowed()) return;
  const TSelect& mask = doc_.scene().current().vertexState;
  if (std::find(mask.begin(), mask.end(), kVertexFrozen) == mask.end()) return ShowInformation(kNothingToDetail);
  ATContsel affected;
  Detail(doc_.scene(), doc_.viewport().inputs().hoveredVertex, affected, ResolutionUndo(doc_));
}

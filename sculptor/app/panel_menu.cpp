// PanelMenu: the main tool panel ("Visual Interface", "Mesh Edit", "Paint and Textures").
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/floating_panel.h"
#include "app/form_main.h"
#include "render/panel_centro.h"

namespace {

QToolButton* Button(const char* objectName, const char* caption, QWidget* parent, bool enabled) {
  auto* button = new QToolButton(parent);
  button->setObjectName(objectName);
  button->setText(caption);
  button->setEnabled(enabled);
  button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  return button;
}

QCheckBox* Check(const char* objectName, const char* caption, QWidget* parent) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(objectName);
  box->setFocusPolicy(Qt::NoFocus);  // the keyboard stays with the window's shortcuts
  return box;
}

QSlider* Slider(const char* objectName, int min, int max, int value, QWidget* parent) {
  auto* slider = new QSlider(Qt::Horizontal, parent);
  slider->setObjectName(objectName);
  slider->setRange(min, max);
  slider->setValue(value);
  slider->setFocusPolicy(Qt::NoFocus);
  return slider;
}

// Buttons of the tool commands, shown disabled: each command enables and
// wires its own (the ones still without a command stay disabled).
void AddPendingButtons(QGridLayout* grid, QWidget* parent, int firstRow,
                       std::initializer_list<std::pair<const char*, const char*>> buttons) {
  int i = 0;
  for (const auto& [name, caption] : buttons) {
    grid->addWidget(Button(name, caption, parent, false), firstRow + i / 2, i % 2);
    ++i;
  }
}

}  // namespace

void TFormMain::BuildPanelMenu() {
  PanelMenu = new FloatingPanel("PanelMenu", "Tools", centro_);
  connect(PanelMenu, &FloatingPanel::moved, this, &TFormMain::Redraw);
  PanelMenu->setFixedWidth(236);

  auto* visual = new QGroupBox("Visual Interface", PanelMenu);
  auto* v = new QGridLayout(visual);
  CheckLine = Check("CheckLine", "Wireframe", visual);
  CheckGrid = Check("CheckGrid", "Grade View", visual);
  CheckPoints = Check("CheckPoints", "Points", visual);
  v->addWidget(CheckLine, 0, 0, 1, 2);
  v->addWidget(CheckGrid, 1, 0, 1, 2);
  v->addWidget(CheckPoints, 2, 0, 1, 2);
  ComboPosition = new QComboBox(visual);
  ComboPosition->setObjectName("ComboPosition");
  ComboPosition->setFocusPolicy(Qt::NoFocus);
  for (ViewPreset preset : kViewPresets) ComboPosition->addItem(ViewPresetCaption(preset));
  v->addWidget(ComboPosition, 3, 0, 1, 2);
  auto* reflection = Button("SpeedReflection", "Reflection", visual, true);
  auto* shadows = Button("SpeedShadows", "Shadows", visual, true);
  auto* lightOn = Button("SpeedLightOn", "On", visual, true);
  auto* lightOff = Button("SpeedLightOff", "Off", visual, true);
  SpeedSpecOn = Button("SpeedSpecOn", "", visual, true);
  SpeedSpecOn->setText(centro_->SpecularCaption());
  v->addWidget(reflection, 4, 0);
  v->addWidget(shadows, 4, 1);
  v->addWidget(lightOn, 5, 0);
  v->addWidget(lightOff, 5, 1);
  v->addWidget(SpeedSpecOn, 6, 0, 1, 2);
  PanelMenu->body()->addWidget(visual);

  auto* mesh = new QGroupBox("Mesh Edit", PanelMenu);
  auto* m = new QGridLayout(mesh);
  CheckSym = Check("CheckSym", "Symmetry", mesh);
  CheckSym->setChecked(true);
  m->addWidget(CheckSym, 0, 0, 1, 2);
  m->addWidget(new QLabel("Size:", mesh), 1, 0);
  LabRadius = new QLabel("0.400", mesh);
  LabRadius->setObjectName("LabRadius");
  m->addWidget(LabRadius, 1, 1);
  ScrollRadius = Slider("ScrollRadius", 1, 300, 40, mesh);
  m->addWidget(ScrollRadius, 2, 0, 1, 2);
  m->addWidget(new QLabel("Intensity:", mesh), 3, 0);
  LabSize = new QLabel("15", mesh);
  LabSize->setObjectName("LabSize");
  m->addWidget(LabSize, 3, 1);
  ScrollIntensity = Slider("ScrollIntensity", 1, 50, 15, mesh);
  ScrollIntensity->setEnabled(false);  // the stroke controls enable it
  m->addWidget(ScrollIntensity, 4, 0, 1, 2);
  m->addWidget(new QLabel("Level:", mesh), 5, 0);
  LabSubd = new QLabel("0", mesh);
  LabSubd->setObjectName("LabSubd");
  m->addWidget(LabSubd, 5, 1);
  AddPendingButtons(m, mesh, 6,
                    {{"SpeedSubdivide", "Subdivide"}, {"SpeedUnSubdivide", "UnSubdivide"}, {"SpeedDetail", "Detail"},
                     {"SpeedFixmesh", "Remesh"}, {"ButRemeshCompact", "Remesh Compact"},
                     {"SpeedEditObject", "Edit Object"}, {"SpeedFreeze", "Freeze"},
                     {"SpeedUnfreeze", "Unfreeze All"}, {"SpeedInvertFreeze", "Invert Freeze"},
                     {"SpeedSelection", "Selection Mode"}, {"SpeedDetach", "Detach"},
                     {"SpeedUnification", "Unification"}, {"SpeedMirror", "Mirror"},
                     {"SpeedReduction", "Mesh Reduction"}, {"SpeedSkech", "Skech Spheres"}});
  auto* resolution = new QLabel("Resolution:", mesh);
  m->addWidget(resolution, 14, 0, 1, 2);
  auto* resol = Slider("TrackBarResol", 1, 100, 50, mesh);
  resol->setEnabled(false);
  m->addWidget(resol, 15, 0, 1, 2);
  PanelMenu->body()->addWidget(mesh);
  ConnectSubdivisionButtons();

  auto* paint = new QGroupBox("Paint and Textures", PanelMenu);
  auto* p = new QGridLayout(paint);
  AddPendingButtons(p, paint, 0,
                    {{"SpeedPaint", "Paint Tool"}, {"SpeedTextureEdit", "Texture Edit"},
                     {"SpeedStencil", "Projection Edit"}, {"SpeedImageBase", "Panel Base Image"},
                     {"SpeedAO", "Ambient Occlusion"}});
  PanelMenu->body()->addWidget(paint);
  PanelMenu->adjustSize();

  connect(CheckLine, &QCheckBox::toggled, centro_, &PanelCentro::SetWireframe);
  connect(CheckGrid, &QCheckBox::toggled, centro_, &PanelCentro::SetGrid);
  connect(CheckPoints, &QCheckBox::toggled, centro_, &PanelCentro::SetPoints);
  connect(CheckSym, &QCheckBox::toggled, this, &TFormMain::CheckSymClick);
  connect(ComboPosition, &QComboBox::currentIndexChanged, this, &TFormMain::ComboPositionChange);
  connect(reflection, &QToolButton::clicked, centro_, &PanelCentro::ToggleReflection);
  connect(shadows, &QToolButton::clicked, centro_, &PanelCentro::ToggleShadows);
  connect(lightOn, &QToolButton::clicked, centro_, [this] { centro_->SetSceneLight(true); });
  connect(lightOff, &QToolButton::clicked, centro_, [this] { centro_->SetSceneLight(false); });
  connect(SpeedSpecOn, &QToolButton::clicked, this, [this] { SpeedSpecOn->setText(centro_->ToggleSpecular()); });
  connect(ScrollRadius, &QSlider::valueChanged, this, &TFormMain::ScrollRadiusChange);
}

void TFormMain::ComboPositionChange(int index) {
  if (index < 0 || index >= static_cast<int>(kViewPresets.size())) return;
  centro_->ApplyPreset(kViewPresets[static_cast<size_t>(index)]);
  scene_.host->RebuildScreenGrids(scene_);
  Redraw();
}

void TFormMain::ScrollRadiusChange(int position) {
  centro_->inputs().brush.radius = position / 100.0f;
  UpdateBrushWindow();
  LabRadius->setText(QString::asprintf("%.3f", position / 100.0));
  centro_->RebuildCursorCircles();
  Redraw();
}


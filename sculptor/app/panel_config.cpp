#include "app/panel_config.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/app_paths.h"
#include "app/app_texts.h"
#include "app/document.h"
#include "app/widget_factory.h"
#include "model/messages.h"
#include "render/panel_centro.h"

namespace {

constexpr const char* kCommandNames[kShortcutCommandCount] = {
    "Radius and Zoom", "Subdivide",     "Unsubdivide",         "Undo", "Hide Stencil", "Move Stencil",
    "Rotate Stencil",  "Scale Stencil", "Hide Image Reference"};

QComboBox* KeyCombo(const char* objectName, QWidget* parent) {
  auto* combo = Named(new QComboBox(parent), objectName);
  for (std::string_view name : KeyList()) combo->addItem(QString::fromLatin1(name.data(), qsizetype(name.size())));
  return combo;
}

QString BrushName(int item) { return FindBrush(item)->name; }

}  // namespace

TPanelConfig::TPanelConfig(TDocument& doc, QWidget* parent)
    : FloatingPanel("PanelConfig", "Configuration", parent), doc_(doc) {
  auto* columns = new QGridLayout;
  columns->addWidget(BuildUndoAndRemesh(), 0, 0);
  columns->addWidget(BuildBrushShortcuts(), 1, 0);
  columns->addWidget(BuildCommandShortcuts(), 2, 0);
  columns->addWidget(BuildStoredSettings(), 0, 1);
  columns->addWidget(BuildDigitizer(), 1, 1);
  columns->addWidget(BuildLight(), 2, 1);
  body()->addLayout(columns);
  SpeedSavePreference = SmallButton("SpeedSavePreference", "Save Preferences", this);
  SpeedConfigClose = SmallButton("SpeedConfigClose", "Close", this);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(SpeedSavePreference);
  buttons->addStretch();
  buttons->addWidget(SpeedConfigClose);
  body()->addLayout(buttons);
  SetCloseButton(SpeedConfigClose);
  adjustSize();
  move(180, 40);
  hide();

  connect(SpinRemesh, &QSpinBox::valueChanged, this, [this](int depth) { remeshDepth_ = depth; });
  connect(FloatSpinZoomPref, &QDoubleSpinBox::valueChanged, this, [this](double step) {
    doc_.preferences().zoomStep = step;
    doc_.viewport().state().zoomStep = static_cast<float>(step);
  });
  connect(SpinGrabbSensibility, &QSpinBox::valueChanged, this, [this](int sensitivity) {
    doc_.preferences().grabSensitivity = sensitivity;
    doc_.brush().grabSensitivity = sensitivity;
  });
  connect(ComboSecBrush, &QComboBox::currentIndexChanged, this, [this](int item) {
    if (item >= 0) doc_.preferences().secondBrush = item;
  });
  connect(SpeedSavePreference, &QToolButton::clicked, this, &TPanelConfig::SpeedSavePreferenceClick);
  connect(SpeedConfigClose, &QToolButton::clicked, this, &QWidget::hide);
}

QGroupBox* TPanelConfig::BuildUndoAndRemesh() {
  auto* box = new QGroupBox("Undo and Remesh", this);
  auto* grid = new QGridLayout(box);
  grid->addWidget(new QLabel("Max Undo", box), 0, 0);
  SpinMaxUndo = SpinBox("SpinMaxUndo", 0, UndoSnapshots::kMaxUndoLimit, 15, box);
  grid->addWidget(SpinMaxUndo, 0, 1);
  auto* ok = SmallButton("ButtMaxUndoOk", "Ok", box);
  grid->addWidget(ok, 0, 2);
  grid->addWidget(new QLabel("Remesh Preference:", box), 1, 0);
  SpinRemesh = SpinBox("SpinRemesh", 6, 12, 10, box);
  grid->addWidget(SpinRemesh, 1, 1);
  connect(ok, &QToolButton::clicked, this, &TPanelConfig::ButtMaxUndoOkClick);
  return box;
}

QGroupBox* TPanelConfig::BuildBrushShortcuts() {
  auto* box = new QGroupBox("Brush Shortcuts Preferences:", this);
  auto* grid = new QGridLayout(box);
  ListBoxPreference = Named(new QListWidget(box), "ListBoxPreference");
  ListBoxPreference->setFixedHeight(110);
  grid->addWidget(ListBoxPreference, 0, 0, 3, 1);
  ComboFirst = KeyCombo("ComboFirst", box);
  grid->addWidget(ComboFirst, 0, 1, 1, 2);
  grid->addWidget(new QLabel("Default Intensity:", box), 1, 1);
  EditDefaultInt = SpinBox("EditDefaultInt", 1, 50, 15, box);
  grid->addWidget(EditDefaultInt, 1, 2);
  auto* ok = SmallButton("ButtBrushPreferenceOk", "Ok", box);
  grid->addWidget(ok, 2, 2);
  connect(ListBoxPreference, &QListWidget::currentRowChanged, this, &TPanelConfig::ListBoxPreferenceClick);
  connect(ok, &QToolButton::clicked, this, &TPanelConfig::ButtBrushPreferenceOkClick);
  return box;
}

QGroupBox* TPanelConfig::BuildCommandShortcuts() {
  auto* box = new QGroupBox("Controls Preferences:", this);
  auto* grid = new QGridLayout(box);
  ComboBox1 = Named(new QComboBox(box), "ComboBox1");
  for (const char* name : kCommandNames) ComboBox1->addItem(name);
  grid->addWidget(ComboBox1, 0, 0, 1, 3);
  ComboBox3 = KeyCombo("ComboBox3", box);
  ComboBox5 = KeyCombo("ComboBox5", box);
  grid->addWidget(ComboBox3, 1, 0);
  grid->addWidget(new QLabel("+", box), 1, 1);
  grid->addWidget(ComboBox5, 1, 2);
  auto* ok = SmallButton("ButtControlsPreferenceOk", "Ok", box);
  grid->addWidget(ok, 2, 2);
  connect(ComboBox1, &QComboBox::currentIndexChanged, this, &TPanelConfig::ComboBox1Change);
  connect(ok, &QToolButton::clicked, this, &TPanelConfig::ButtControlsPreferenceOkClick);
  return box;
}

QGroupBox* TPanelConfig::BuildStoredSettings() {
  auto* box = new QGroupBox("Navigation and Brushes", this);
  auto* grid = new QGridLayout(box);
  grid->addWidget(new QLabel("Zoom Step:", box), 0, 0);
  FloatSpinZoomPref = Named(new QDoubleSpinBox(box), "FloatSpinZoomPref", Qt::StrongFocus);
  FloatSpinZoomPref->setRange(0.01, 0.1);
  FloatSpinZoomPref->setValue(0.08);
  FloatSpinZoomPref->setDecimals(2);
  FloatSpinZoomPref->setSingleStep(0.01);
  grid->addWidget(FloatSpinZoomPref, 0, 1);
  grid->addWidget(new QLabel("Grab Tool Sensibility:", box), 1, 0);
  SpinGrabbSensibility = SpinBox("SpinGrabbSensibility", 10, 60, 45, box);
  grid->addWidget(SpinGrabbSensibility, 1, 1);
  grid->addWidget(new QLabel("Second Brush:", box), 2, 0);
  ComboSecBrush = Named(new QComboBox(box), "ComboSecBrush");
  for (int i = 0; i < kBrushCount; ++i) ComboSecBrush->addItem(BrushName(i));
  ComboSecBrush->setCurrentIndex(kSmoothItem);
  grid->addWidget(ComboSecBrush, 2, 1);
  return box;
}

QGroupBox* TPanelConfig::BuildDigitizer() {
  auto* box = new QGroupBox("Digitizer Properties", this);
  auto* grid = new QGridLayout(box);
  CheckActiveTablet = CheckBox("CheckActiveTablet", "Active Tablet", box);
  grid->addWidget(CheckActiveTablet, 0, 0, 1, 2);
  grid->addWidget(new QLabel("Pen Sensibility", box), 1, 0);
  LabPen = Named(new QLabel("45", box), "LabPen");
  grid->addWidget(LabPen, 1, 1);
  ScrollBarWacom = Named(new QScrollBar(Qt::Horizontal, box), "ScrollBarWacom");
  ScrollBarWacom->setRange(0, 100);
  ScrollBarWacom->setValue(45);
  grid->addWidget(ScrollBarWacom, 2, 0, 1, 2);
  connect(CheckActiveTablet, &QCheckBox::clicked, this, &TPanelConfig::CheckActiveTabletClick);
  connect(ScrollBarWacom, &QScrollBar::valueChanged, this, &TPanelConfig::ScrollBarWacomChange);
  return box;
}

QGroupBox* TPanelConfig::BuildLight() {
  auto* box = new QGroupBox("Light", this);
  auto* grid = new QGridLayout(box);
  PanelCentro& view = doc_.viewport();
  const TRenderState& state = view.state();
  const std::pair<const char*, QSlider**> axes[] = {
      {"TrackBarx", &TrackBarx}, {"TrackBary", &TrackBary}, {"TrackBarz", &TrackBarz}};
  for (int i = 0; i < 3; ++i) {
    const auto& [name, slider] = axes[i];
    grid->addWidget(new QLabel(QString(QChar('X' + i)) + ":", box), i, 0);
    *slider = TrackBar(name, -20, 20, static_cast<int>(state.lightPosition[static_cast<size_t>(i)]), box);
    grid->addWidget(*slider, i, 1);
    connect(*slider, &QSlider::valueChanged, this, &TPanelConfig::LightTrackBarChange);
  }
  grid->addWidget(new QLabel("Specular:", box), 3, 0);
  TrackBarSpec = TrackBar("TrackBarSpec", 0, 25, static_cast<int>(state.shininess), box);
  grid->addWidget(TrackBarSpec, 3, 1);
  connect(TrackBarSpec, &QSlider::valueChanged, &view,
          [&view](int position) { view.SetShininess(static_cast<float>(position)); });
  return box;
}

void TPanelConfig::ShowPreferences() {
  const TPreferences& prefs = doc_.preferences();
  const QSignalBlocker zoom(FloatSpinZoomPref), grab(SpinGrabbSensibility), second(ComboSecBrush);
  FloatSpinZoomPref->setValue(prefs.zoomStep);
  SpinGrabbSensibility->setValue(prefs.grabSensitivity);
  ComboSecBrush->setCurrentIndex(prefs.secondBrush);
}

void TPanelConfig::Preferences1Click() {
  ListBoxPreference->clear();
  for (int slot = 0; slot < kPreferenceBrushCount; ++slot) {
    ListBoxPreference->addItem(BrushName(BrushOfPreferenceSlot(slot)));
  }
  ListBoxPreference->setCurrentRow(0);
  ComboBox1Change(ComboBox1->currentIndex());
  show();
  raise();
  doc_.Redraw();
}

void TPanelConfig::ButtMaxUndoOkClick() {
  doc_.undo().SetMaxUndo(SpinMaxUndo->value());
  doc_.stroke().sketchGroups().Resize(static_cast<size_t>(doc_.undo().undoCapacity()));
  hide();
  doc_.Redraw();
}

void TPanelConfig::ListBoxPreferenceClick(int slot) {
  if (slot < 0 || slot >= kPreferenceBrushCount) return;
  const TPreferences& prefs = doc_.preferences();
  ComboFirst->setCurrentIndex(prefs.brushKeys[static_cast<size_t>(slot)]);
  EditDefaultInt->setValue(prefs.brushDefaultIntensity[static_cast<size_t>(slot)]);
}

void TPanelConfig::ButtBrushPreferenceOkClick() {
  const int slot = ListBoxPreference->currentRow();
  if (slot < 0 || slot >= kPreferenceBrushCount) return;
  TPreferences& prefs = doc_.preferences();
  prefs.brushKeys[static_cast<size_t>(slot)] = ComboFirst->currentIndex();
  prefs.brushDefaultIntensity[static_cast<size_t>(slot)] = EditDefaultInt->value();
  emit shortcutsChanged();
}

void TPanelConfig::ComboBox1Change(int command) {
  if (command < 0 || command >= kShortcutCommandCount) return;
  const auto [first, second] = doc_.preferences().commandKeys[static_cast<size_t>(command)];
  ComboBox3->setCurrentIndex(first);
  ComboBox5->setCurrentIndex(second);
}

void TPanelConfig::ButtControlsPreferenceOkClick() {
  const int command = ComboBox1->currentIndex();
  if (command < 0 || command >= kShortcutCommandCount) return;
  doc_.preferences().commandKeys[static_cast<size_t>(command)] = {ComboBox3->currentIndex(), ComboBox5->currentIndex()};
  emit shortcutsChanged();
}

// Writes the user's copy. A failure is reported and the program goes on, so
// the model being worked on is not lost.
void TPanelConfig::SpeedSavePreferenceClick() {
  emit preferencesSaving();
  const QString path = UserPreferencesPath();
  if (!QDir().mkpath(QFileInfo(path).path()) || !WritePreferencesFile(path.toStdString(), doc_.preferences())) {
    ShowError(kPreferencesMissing);
  }
}

void TPanelConfig::CheckActiveTabletClick(bool checked) {
  tabletActive_ = checked;
  if (!checked) return;
  penSensibility_ = ScrollBarWacom->value();
  emit tabletActivated();
}

void TPanelConfig::ScrollBarWacomChange(int position) {
  LabPen->setText(QString::number(position));
  penSensibility_ = position;
  window()->setFocus();
}

// The adjustable light lights the scene while it is being adjusted ("On"),
// so the change shows; "Off" gives the camera's light back.
void TPanelConfig::LightTrackBarChange() {
  doc_.viewport().SetSceneLight(true);
  doc_.viewport().SetLightPosition(static_cast<float>(TrackBarx->value()), static_cast<float>(TrackBary->value()),
                                   static_cast<float>(TrackBarz->value()));
}

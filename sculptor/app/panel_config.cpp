// PanelConfig ("Configuration", Edit > "Preferences"): the undo depth, the
// remesh depth, the brush and command shortcut editors, the zoom step, the grab
// sensibility, the second brush, the digitizer and the adjustable light, and
// "Save Preferences".
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QInputDevice>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>

#include "app/app_paths.h"
#include "app/floating_panel.h"
#include "app/form_main.h"
#include "model/messages.h"
#include "render/panel_centro.h"
#include "sculpt/brush_table.h"

namespace {

constexpr const char* kCommandNames[kShortcutCommandCount] = {
    "Radius and Zoom", "Subdivide",    "Unsubdivide",   "Undo", "Hide Stencil", "Move Stencil", "Rotate Stencil",
    "Scale Stencil",   "Hide Image Reference"};

// Combo boxes, lists, sliders and check boxes leave the keyboard to the
// window's shortcuts; spin boxes take it, so that values can be typed.
template <class Widget>
Widget* Named(Widget* widget, const char* objectName, Qt::FocusPolicy focus = Qt::NoFocus) {
  widget->setObjectName(objectName);
  widget->setFocusPolicy(focus);
  return widget;
}

template <class Ranged, class Value>
Ranged* WithRange(Ranged* widget, Value min, Value max, Value value) {
  widget->setRange(min, max);
  widget->setValue(value);
  return widget;
}

QSpinBox* SpinBox(const char* objectName, int min, int max, int value, QWidget* parent) {
  return WithRange(Named(new QSpinBox(parent), objectName, Qt::StrongFocus), min, max, value);
}

QSlider* TrackBar(const char* objectName, int min, int max, int value, QWidget* parent) {
  return WithRange(Named(new QSlider(Qt::Horizontal, parent), objectName), min, max, value);
}

QComboBox* KeyCombo(const char* objectName, QWidget* parent) {
  auto* combo = Named(new QComboBox(parent), objectName);
  for (std::string_view name : KeyList()) combo->addItem(QString::fromLatin1(name.data(), qsizetype(name.size())));
  return combo;
}

QToolButton* Button(const char* objectName, const char* caption, QWidget* parent) {
  auto* button = Named(new QToolButton(parent), objectName);
  button->setText(caption);
  return button;
}

QString BrushName(int item) { return FindBrush(item)->name; }

// Qt reports a pen when the platform has a tablet driver and a stylus.
bool StylusAvailable() {
  for (const QInputDevice* device : QInputDevice::devices()) {
    if (device->type() == QInputDevice::DeviceType::Stylus) return true;
  }
  return false;
}

QGroupBox* BuildUndoAndRemesh(TFormMain& f, QWidget* parent) {
  auto* box = new QGroupBox("Undo and Remesh", parent);
  auto* grid = new QGridLayout(box);
  grid->addWidget(new QLabel("Max Undo", box), 0, 0);
  f.SpinMaxUndo = SpinBox("SpinMaxUndo", 0, UndoSnapshots::kMaxUndoLimit, 15, box);
  grid->addWidget(f.SpinMaxUndo, 0, 1);
  auto* ok = Button("ButtMaxUndoOk", "Ok", box);
  grid->addWidget(ok, 0, 2);
  grid->addWidget(new QLabel("Remesh Preference:", box), 1, 0);
  f.SpinRemesh = SpinBox("SpinRemesh", 6, 12, 10, box);
  grid->addWidget(f.SpinRemesh, 1, 1);
  QObject::connect(ok, &QToolButton::clicked, &f, &TFormMain::ButtMaxUndoOkClick);
  return box;
}

QGroupBox* BuildBrushShortcuts(TFormMain& f, QWidget* parent) {
  auto* box = new QGroupBox("Brush Shortcuts Preferences:", parent);
  auto* grid = new QGridLayout(box);
  f.ListBoxPreference = Named(new QListWidget(box), "ListBoxPreference");
  f.ListBoxPreference->setFixedHeight(110);
  grid->addWidget(f.ListBoxPreference, 0, 0, 3, 1);
  f.ComboFirst = KeyCombo("ComboFirst", box);
  grid->addWidget(f.ComboFirst, 0, 1, 1, 2);
  grid->addWidget(new QLabel("Default Intensity:", box), 1, 1);
  f.EditDefaultInt = SpinBox("EditDefaultInt", 1, 50, 15, box);
  grid->addWidget(f.EditDefaultInt, 1, 2);
  auto* ok = Button("ButtBrushPreferenceOk", "Ok", box);
  grid->addWidget(ok, 2, 2);
  QObject::connect(f.ListBoxPreference, &QListWidget::currentRowChanged, &f, &TFormMain::ListBoxPreferenceClick);
  QObject::connect(ok, &QToolButton::clicked, &f, &TFormMain::ButtBrushPreferenceOkClick);
  return box;
}

QGroupBox* BuildCommandShortcuts(TFormMain& f, QWidget* parent) {
  auto* box = new QGroupBox("Controls Preferences:", parent);
  auto* grid = new QGridLayout(box);
  f.ComboBox1 = Named(new QComboBox(box), "ComboBox1");
  for (const char* name : kCommandNames) f.ComboBox1->addItem(name);
  grid->addWidget(f.ComboBox1, 0, 0, 1, 3);
  f.ComboBox3 = KeyCombo("ComboBox3", box);
  f.ComboBox5 = KeyCombo("ComboBox5", box);
  grid->addWidget(f.ComboBox3, 1, 0);
  grid->addWidget(new QLabel("+", box), 1, 1);
  grid->addWidget(f.ComboBox5, 1, 2);
  auto* ok = Button("ButtControlsPreferenceOk", "Ok", box);
  grid->addWidget(ok, 2, 2);
  QObject::connect(f.ComboBox1, &QComboBox::currentIndexChanged, &f, &TFormMain::ComboBox1Change);
  QObject::connect(ok, &QToolButton::clicked, &f, &TFormMain::ButtControlsPreferenceOkClick);
  return box;
}

QGroupBox* BuildStoredSettings(TFormMain& f, QWidget* parent) {
  auto* box = new QGroupBox("Navigation and Brushes", parent);
  auto* grid = new QGridLayout(box);
  grid->addWidget(new QLabel("Zoom Step:", box), 0, 0);
  f.FloatSpinZoomPref = WithRange(Named(new QDoubleSpinBox(box), "FloatSpinZoomPref", Qt::StrongFocus), 0.01, 0.1,
                                  0.08);
  f.FloatSpinZoomPref->setDecimals(2);
  f.FloatSpinZoomPref->setSingleStep(0.01);
  grid->addWidget(f.FloatSpinZoomPref, 0, 1);
  grid->addWidget(new QLabel("Grab Tool Sensibility:", box), 1, 0);
  f.SpinGrabbSensibility = SpinBox("SpinGrabbSensibility", 10, 60, 45, box);
  grid->addWidget(f.SpinGrabbSensibility, 1, 1);
  grid->addWidget(new QLabel("Second Brush:", box), 2, 0);
  f.ComboSecBrush = Named(new QComboBox(box), "ComboSecBrush");
  for (int i = 0; i < kBrushCount; ++i) f.ComboSecBrush->addItem(BrushName(i));
  f.ComboSecBrush->setCurrentIndex(kSmoothItem);
  grid->addWidget(f.ComboSecBrush, 2, 1);
  return box;
}

QGroupBox* BuildDigitizer(TFormMain& f, QWidget* parent) {
  auto* box = new QGroupBox("Digitizer Properties", parent);
  auto* grid = new QGridLayout(box);
  f.CheckActiveTablet = Named(new QCheckBox("Active Tablet", box), "CheckActiveTablet");
  grid->addWidget(f.CheckActiveTablet, 0, 0, 1, 2);
  grid->addWidget(new QLabel("Pen Sensibility", box), 1, 0);
  f.LabPen = Named(new QLabel("45", box), "LabPen");
  grid->addWidget(f.LabPen, 1, 1);
  f.ScrollBarWacom = WithRange(Named(new QScrollBar(Qt::Horizontal, box), "ScrollBarWacom"), 0, 100, 45);
  grid->addWidget(f.ScrollBarWacom, 2, 0, 1, 2);
  QObject::connect(f.CheckActiveTablet, &QCheckBox::clicked, &f, &TFormMain::CheckActiveTabletClick);
  QObject::connect(f.ScrollBarWacom, &QScrollBar::valueChanged, &f, &TFormMain::ScrollBarWacomChange);
  return box;
}

QGroupBox* BuildLight(TFormMain& f, PanelCentro& view, QWidget* parent) {
  auto* box = new QGroupBox("Light", parent);
  auto* grid = new QGridLayout(box);
  const TRenderState& state = view.state();
  const std::pair<const char*, QSlider**> axes[] = {{"TrackBarx", &f.TrackBarx}, {"TrackBary", &f.TrackBary},
                                                   {"TrackBarz", &f.TrackBarz}};
  for (int i = 0; i < 3; ++i) {
    const auto& [name, slider] = axes[i];
    grid->addWidget(new QLabel(QString(QChar('X' + i)) + ":", box), i, 0);
    *slider = TrackBar(name, -20, 20, static_cast<int>(state.lightPosition[static_cast<size_t>(i)]), box);
    grid->addWidget(*slider, i, 1);
    QObject::connect(*slider, &QSlider::valueChanged, &f, &TFormMain::LightTrackBarChange);
  }
  grid->addWidget(new QLabel("Specular:", box), 3, 0);
  f.TrackBarSpec = TrackBar("TrackBarSpec", 0, 25, static_cast<int>(state.shininess), box);
  grid->addWidget(f.TrackBarSpec, 3, 1);
  QObject::connect(f.TrackBarSpec, &QSlider::valueChanged, &view,
                   [&view](int position) { view.SetShininess(static_cast<float>(position)); });
  return box;
}

}  // namespace

void TFormMain::BuildPanelConfig() {
  PanelConfig = new FloatingPanel("PanelConfig", "Configuration", centro_);
  connect(PanelConfig, &FloatingPanel::moved, this, &TFormMain::Redraw);
  auto* columns = new QGridLayout;
  columns->addWidget(BuildUndoAndRemesh(*this, PanelConfig), 0, 0);
  columns->addWidget(BuildBrushShortcuts(*this, PanelConfig), 1, 0);
  columns->addWidget(BuildCommandShortcuts(*this, PanelConfig), 2, 0);
  columns->addWidget(BuildStoredSettings(*this, PanelConfig), 0, 1);
  columns->addWidget(BuildDigitizer(*this, PanelConfig), 1, 1);
  columns->addWidget(BuildLight(*this, *centro_, PanelConfig), 2, 1);
  PanelConfig->body()->addLayout(columns);
  auto* save = Button("SpeedSavePreference", "Save Preferences", PanelConfig);
  PanelConfig->body()->addWidget(save);
  PanelConfig->adjustSize();
  PanelConfig->move(180, 40);
  PanelConfig->hide();

  connect(SpinRemesh, &QSpinBox::valueChanged, this, [this](int depth) { remeshDepth_ = depth; });
  connect(FloatSpinZoomPref, &QDoubleSpinBox::valueChanged, this, [this](double step) {
    prefs_.zoomStep = step;
    centro_->state().zoomStep = static_cast<float>(step);
  });
  connect(SpinGrabbSensibility, &QSpinBox::valueChanged, this, [this](int sensitivity) {
    prefs_.grabSensitivity = sensitivity;
    centro_->inputs().brush.grabSensitivity = sensitivity;
  });
  connect(ComboSecBrush, &QComboBox::currentIndexChanged, this, [this](int item) {
    if (item >= 0) prefs_.secondBrush = item;
  });
  connect(save, &QToolButton::clicked, this, &TFormMain::SpeedSavePreferenceClick);
}

// The stored settings as read: the spin boxes show them without writing
// their own range limits back.
void TFormMain::ShowPreferencesInPanelConfig() {
  const QSignalBlocker zoom(FloatSpinZoomPref), grab(SpinGrabbSensibility), second(ComboSecBrush);
  FloatSpinZoomPref->setValue(prefs_.zoomStep);
  SpinGrabbSensibility->setValue(prefs_.grabSensitivity);
  ComboSecBrush->setCurrentIndex(prefs_.secondBrush);
}

void TFormMain::Preferences1Click() {
  ListBoxPreference->clear();
  for (int slot = 0; slot < kPreferenceBrushCount; ++slot) ListBoxPreference->addItem(BrushName(BrushOfPreferenceSlot(slot)));
  ListBoxPreference->setCurrentRow(0);
  ComboBox1Change(ComboBox1->currentIndex());
  PanelConfig->show();
  PanelConfig->raise();
  Redraw();
}

void TFormMain::ButtMaxUndoOkClick() {
  undo_.SetMaxUndo(SpinMaxUndo->value());
  PanelConfig->hide();
  Redraw();
}

void TFormMain::ListBoxPreferenceClick(int brush) {
  if (brush < 0 || brush >= kPreferenceBrushCount) return;
  ComboFirst->setCurrentIndex(prefs_.brushKeys[static_cast<size_t>(brush)]);
  EditDefaultInt->setValue(prefs_.brushDefaultIntensity[static_cast<size_t>(brush)]);
}

void TFormMain::ButtBrushPreferenceOkClick() {
  const int brush = ListBoxPreference->currentRow();
  if (brush < 0 || brush >= kPreferenceBrushCount) return;
  prefs_.brushKeys[static_cast<size_t>(brush)] = ComboFirst->currentIndex();
  prefs_.brushDefaultIntensity[static_cast<size_t>(brush)] = EditDefaultInt->value();
}

void TFormMain::ComboBox1Change(int command) {
  if (command < 0 || command >= kShortcutCommandCount) return;
  const auto [first, second] = prefs_.commandKeys[static_cast<size_t>(command)];
  ComboBox3->setCurrentIndex(first);
  ComboBox5->setCurrentIndex(second);
}

void TFormMain::ButtControlsPreferenceOkClick() {
  const int command = ComboBox1->currentIndex();
  if (command < 0 || command >= kShortcutCommandCount) return;
  prefs_.commandKeys[static_cast<size_t>(command)] = {ComboBox3->currentIndex(), ComboBox5->currentIndex()};
}

// Writes the user's copy. A failure is reported and the program goes on, so
// the model being worked on is not lost.
void TFormMain::SpeedSavePreferenceClick() {
  prefs_.panelMenuLeft = PanelMenu->x();
  prefs_.panelMenuTop = PanelMenu->y();
  prefs_.panelModelingLeft = PanelModeling->x();
  prefs_.panelModelingTop = PanelModeling->y();
  const QString path = UserPreferencesPath();
  if (!QDir().mkpath(QFileInfo(path).path()) || !WritePreferencesFile(path.toStdString(), prefs_)) {
    ShowError(kPreferencesMissing);
  }
}

void TFormMain::CheckActiveTabletClick(bool checked) {
  tabletActive_ = checked;
  if (!checked) return;
  penSensibility_ = ScrollBarWacom->value();
  ScrollIntensity->update();
  // Without a pen the intensity stays in the user's hand.
  if (!StylusAvailable()) ScrollIntensity->setVisible(true);
}

void TFormMain::ScrollBarWacomChange(int position) {
  LabPen->setText(QString::number(position));
  penSensibility_ = position;
  setFocus();
}

void TFormMain::LightTrackBarChange() {
  centro_->SetLightPosition(static_cast<float>(TrackBarx->value()), static_cast<float>(TrackBary->value()),
                            static_cast<float>(TrackBarz->value()));
}

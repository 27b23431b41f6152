// PanelConfig ("Configuration", Edit > "Preferences"): the undo depth, the
// remesh depth, the brush and command shortcut editors, the zoom step, the
// grab sensibility, the second brush, the digitizer and the adjustable light,
// and "Save Preferences".
#pragma once

#include "app/floating_panel.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QScrollBar;
class QSlider;
class QSpinBox;
class QToolButton;
class TDocument;

class TPanelConfig : public FloatingPanel {
  Q_OBJECT

 public:
  TPanelConfig(TDocument& doc, QWidget* parent);

  QSpinBox* SpinMaxUndo = nullptr;
  QSpinBox* SpinRemesh = nullptr;
  QListWidget* ListBoxPreference = nullptr;
  QComboBox* ComboFirst = nullptr;
  QSpinBox* EditDefaultInt = nullptr;
  QComboBox* ComboBox1 = nullptr;  // the shortcut command
  QComboBox* ComboBox3 = nullptr;  // its first key
  QComboBox* ComboBox5 = nullptr;  // its second key
  QDoubleSpinBox* FloatSpinZoomPref = nullptr;
  QSpinBox* SpinGrabbSensibility = nullptr;
  QComboBox* ComboSecBrush = nullptr;
  QCheckBox* CheckActiveTablet = nullptr;
  QScrollBar* ScrollBarWacom = nullptr;
  QLabel* LabPen = nullptr;
  QSlider* TrackBarx = nullptr;
  QSlider* TrackBary = nullptr;
  QSlider* TrackBarz = nullptr;
  QSlider* TrackBarSpec = nullptr;
  QToolButton* SpeedSavePreference = nullptr;
  QToolButton* SpeedConfigClose = nullptr;

  // Handlers.
  void Preferences1Click();
  void ButtMaxUndoOkClick();
  void ListBoxPreferenceClick(int slot);
  void ButtBrushPreferenceOkClick();
  void ComboBox1Change(int command);
  void ButtControlsPreferenceOkClick();
  void SpeedSavePreferenceClick();
  void CheckActiveTabletClick(bool checked);
  void ScrollBarWacomChange(int position);
  void LightTrackBarChange();

  // The stored settings as read: the spin boxes show them without writing
  // their own range limits back.
  void ShowPreferences();

  int remeshDepth() const { return remeshDepth_; }
  int penSensibility() const { return penSensibility_; }
  bool tabletActive() const { return tabletActive_; }

 signals:
  // "Save Preferences" is about to write: the panel positions are to be stored.
  void preferencesSaving();
  // "Active Tablet" was switched on.
  void tabletActivated();
  // A brush or command shortcut was set.
  void shortcutsChanged();

 private:
  QGroupBox* BuildUndoAndRemesh();
  QGroupBox* BuildBrushShortcuts();
  QGroupBox* BuildCommandShortcuts();
  QGroupBox* BuildStoredSettings();
  QGroupBox* BuildDigitizer();
  QGroupBox* BuildLight();

  TDocument& doc_;
  int remeshDepth_ = 10;       // "Remesh Preference:", the octree depth of "Remesh"
  int penSensibility_ = 45;    // pressure divisor of the pen
  bool tabletActive_ = false;  // "Active Tablet"
};

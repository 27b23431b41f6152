// PanelMenu ("Tools"), the main tool panel: "Visual Interface" (display
// switches, view position, lights), "Mesh Edit" (symmetry, brush size and
// intensity, the level, the subdivision and mask commands, and the buttons of
// the element and later tools) and "Paint and Textures".
#pragma once

#include "app/floating_panel.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QSlider;
class QToolButton;
class TDocument;

class TPanelMenu : public FloatingPanel {
  Q_OBJECT

 public:
  TPanelMenu(TDocument& doc, QWidget* parent);

  // Visual Interface.
  QCheckBox* CheckLine = nullptr;
  QCheckBox* CheckGrid = nullptr;
  QCheckBox* CheckPoints = nullptr;
  QComboBox* ComboPosition = nullptr;
  QToolButton* SpeedReflection = nullptr;
  QToolButton* SpeedShadows = nullptr;
  QToolButton* SpeedLightOn = nullptr;
  QToolButton* SpeedLightOff = nullptr;
  QToolButton* SpeedSpecOn = nullptr;
  // Mesh Edit.
  QCheckBox* CheckSym = nullptr;
  QLabel* LabRadius = nullptr;
  QSlider* ScrollRadius = nullptr;
  QLabel* LabSize = nullptr;
  QSlider* ScrollIntensity = nullptr;
  QLabel* LabSubd = nullptr;
  QToolButton* SpeedSubdivide = nullptr;
  QToolButton* SpeedUnSubdivide = nullptr;
  QToolButton* SpeedDetail = nullptr;
  QToolButton* SpeedFixmesh = nullptr;  // "Remesh"
  QToolButton* ButRemeshCompact = nullptr;
  QToolButton* SpeedEditObject = nullptr;
  QToolButton* SpeedFreeze = nullptr;
  QToolButton* SpeedUnfreeze = nullptr;
  QToolButton* CheckBox1 = nullptr;     // "Invert Freeze"
  QToolButton* SpeedSelMode = nullptr;  // "Selection Mode"
  QToolButton* SpeedDetach = nullptr;
  QToolButton* SpeedUnification = nullptr;
  QToolButton* SpeedMirror = nullptr;
  QToolButton* SpeedReduction = nullptr;
  QToolButton* SpeedSkech = nullptr;
  QSlider* TrackBarResol = nullptr;  // the voxel budget of Remesh Compact, in steps of 200000
  QLabel* LabResRemesh = nullptr;
  // Paint and Textures.
  QToolButton* SpeedPaint = nullptr;
  QToolButton* SpeedTextureEdit = nullptr;
  QToolButton* SpeedStencil = nullptr;
  QToolButton* SpeedImageBase = nullptr;
  QToolButton* SpeedAO = nullptr;

  // Handlers.
  void ComboPositionChange(int index);
  void ScrollRadiusChange(int position);
  void ScrollIntensityChange(int position);
  void CheckSymClick(bool checked);
  void CheckBox1Click();
  void SpeedFreezeClick();
  void SpeedUnfreezeAllClick();
  void SpeedSelModeClick();
  void SpeedSubdivideClick();
  void SpeedUnsubdivideClick();
  void SpeedDetailClick();

  // What others show here.
  void ShowLevel(int level);
  // The intensity bar at a brush's intensity (which may run ScrollIntensityChange).
  void ShowIntensity(int intensity);
  // Freeze and selection painting end (a brush was chosen).
  void LeaveMaskPainting();
  // The mask buttons follow the modes after a command changed them.
  void SyncMaskButtons();
  // The digitizer was switched on: without a pen the intensity stays in the user's hand.
  void TabletActivated();

 signals:
  // Mask painting started: no brush stays selected.
  void brushListDeselected();
  // The intensity bar moved: the selected brush's intensity and strength follow.
  void intensityChanged(int position);

 private:
  QWidget* BuildVisualInterface();
  QWidget* BuildMeshEdit();
  QWidget* BuildPaintAndTextures();
  void SetFreezeMode(bool on);
  // Subdivision changes the mesh, which the texture view keeps as it is (like
  // every editing command); nothing happens either while an element is being placed.
  bool ResolutionCommandAllowed();

  TDocument& doc_;
};

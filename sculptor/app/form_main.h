// The sculptor's main window: the viewport, the floating tool panels, the menu,
// the status bar, start-up and shutdown, the file commands, the start-mesh
// chooser and the keyboard. Components keep their names as members and as
// object names, so tools and tests can find them.
#pragma once

#include <QColor>
#include <QMainWindow>
#include <QString>
#include <array>
#include <functional>
#include <map>
#include <optional>

#include "app/key_names.h"
#include "app/recovery_keeper.h"
#include "app/stroke_pipeline.h"
#include "io/preferences.h"
#include "io/undo_scene_host.h"
#include "io/undo_snapshots.h"
#include "model/scene.h"
#include "sculpt/stroke.h"
#include "sculpt/subdivision.h"

struct RecoveredScene;

class FloatingPanel;
class PanelCentro;
class QAction;
class QCheckBox;
class QComboBox;
class QCursor;
class QDoubleSpinBox;
class QEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QRadioButton;
class QScrollBar;
class QSlider;
class QSpinBox;
class QToolButton;

// A file dialog request and its answer; tests replace the dialogs by a chooser.
struct TFileRequest {
  bool save = false;
  QString caption;
  QStringList filters;  // "Name (*.a *.b)"
};
struct TFileChoice {
  QString fileName;  // empty: cancelled
  int filterIndex = 0;
};
using FileChooser = std::function<TFileChoice(const TFileRequest&)>;
// The colour dialog; an invalid colour means cancelled. Tests replace it.
using ColorChooser = std::function<QColor(const QColor& initial)>;

// Detach's numbering of the copies, and whether the detach under way is Mirror's.
struct TElementEditing {
  int detachCounter = 0;
  bool mirrorDetach = false;
};

inline constexpr const char* kMainCaption = "Plasmora Beta v6.0";
inline constexpr const char* kPreferencesMissing =
    "Please reinstaller Plasmora. Failed to load preference in directory.";
inline constexpr const char* kSketchOnlyPrincipal = "Skech only as principal mesh.";
inline constexpr const char* kSavePrompt = "You want to save your model?";

class TFormMain : public QMainWindow {
  Q_OBJECT

 public:
  // Runs the window's creation steps against the installation in `programDir`.
  explicit TFormMain(const QString& programDir, QWidget* parent = nullptr);
  ~TFormMain() override;

  // Set when start-up met a missing installation file: the program ends with
  // `exitCode()` after the message was shown.
  bool startupFailed() const { return startupFailed_; }
  int exitCode() const { return startupFailed_ ? 1 : 0; }

  TScene& scene() { return scene_; }
  PanelCentro& viewport() { return *centro_; }
  const TPreferences& preferences() const { return prefs_; }
  void SetFileChooser(FileChooser chooser) { fileChooser_ = std::move(chooser); }
  bool radiusKeyMode() const { return radiusKeyMode_; }
  int selectedBrush() const { return selectedBrush_; }
  int startMeshChoice() const { return startMeshChoice_; }
  bool destroyed() const { return destroyed_; }
  const QCursor* customCursor(const QString& name) const;

  // Floating panels (created hidden unless the start-up shows them).
  FloatingPanel* PanelMenu = nullptr;
  FloatingPanel* PanelModeling = nullptr;
  FloatingPanel* PanelStart = nullptr;
  FloatingPanel* PanelLoadAdd = nullptr;
  std::map<QString, FloatingPanel*> toolPanels;  // the panels of the later tools, by name

  // Tool panel controls.
  QCheckBox* CheckLine = nullptr;
  QCheckBox* CheckGrid = nullptr;
  QCheckBox* CheckPoints = nullptr;
  QCheckBox* CheckSym = nullptr;
  QComboBox* ComboPosition = nullptr;
  QSlider* ScrollRadius = nullptr;
  QSlider* ScrollIntensity = nullptr;
  QLabel* LabRadius = nullptr;
  QLabel* LabSize = nullptr;
  QLabel* LabSubd = nullptr;
  QToolButton* SpeedSpecOn = nullptr;
  QToolButton* SpeedSubdivide = nullptr;
  QToolButton* SpeedUnSubdivide = nullptr;
  QToolButton* SpeedDetail = nullptr;
  // Brush panel.
  std::array<QRadioButton*, kBrushCount> RadioModel{};
  // Start-mesh chooser.
  std::array<QToolButton*, 18> startMeshButtons{};
  QLabel* ImagePreview = nullptr;
  QCheckBox* CheckNewPrincipal = nullptr;  // "New principal mesh "
  QCheckBox* CheckAddMesh = nullptr;       // "Add new mesh to scene"

  // Menu items.
  QAction* Abrir1 = nullptr;  // Open
  QAction* Import1 = nullptr;
  QAction* Export1 = nullptr;
  QAction* A1 = nullptr;      // Save As...
  QAction* StartMesh1 = nullptr;
  QAction* Sair1 = nullptr;   // Exit
  QAction* Subdivide1 = nullptr;
  QAction* UnSubdivide1 = nullptr;
  QAction* Detail1 = nullptr;
  QAction* PrincipalMenu1 = nullptr;
  QAction* PanelModeling1 = nullptr;

  std::array<QLabel*, 6> statusPanels{};

  // Handlers.
  void Abrir1Click();
  void Import1Click();
  void Export1Click();
  void A1Click();
  void Sair1Click();
  void StartMesh1Click();
  void PrincipalMenu1Click();
  void PanelModeling1Click();
  void SpeedSubdivideClick();
  void SpeedUnsubdivideClick();
  void SpeedDetailClick();
  void StartMeshButtonClick(int choice);
  void StartMeshButtonHover(int choice);
  void ButtLoadAddClick();
  void CloseStartClick();
  void ScrollRadiusChange(int position);
  void RadioModelClick(int item);
  void ComboPositionChange(int index);
  void AboutClick();
  void TutorialsClick();
  void DonateClick();
  void FormKeyDown(int qtKey, Qt::KeyboardModifiers modifiers);
  void FormMouseWheel(int notches);
  void FormResize();
  void FormDestroy();

  // The element transforms of the element panel (Position, Rotate, Dimension)
  // take the viewport's input while one of them is on: the stroke handlers
  // offer each event here first. Each returns true when it took the event.
  // (x, y) are framebuffer pixels from the top.
  bool ElementToolPress(int x, int y);
  bool ElementToolMove(int x, int y, bool leftDown);
  bool ElementToolRelease();
  bool ElementToolWheel(int notches);

  // The modes of the editing commands (kept with the viewport's inputs).
  const TToolModes& editingModes() const;
  const TElementEditing& elementEditing() const { return elementEditing_; }
  UndoSnapshots& undo() { return undo_; }
  // The crash-recovery record of this run (absent once the window is destroyed).
  TRecoveryKeeper* recovery() { return recovery_ ? &*recovery_ : nullptr; }
  // The start-up offer of the scenes of earlier runs that died (the program
  // entry calls it once the window shows); true when one was loaded.
  bool OfferCrashRecovery();

  // Undo, Redo and the configuration panel (preferences, undo depth, remesh
  // depth, digitizer, light).
  QAction* Undo1 = nullptr;
  QAction* Redo1 = nullptr;
  QAction* Preferences1 = nullptr;
  FloatingPanel* PanelConfig = nullptr;
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
  void Undo1Click();
  void Redo1Click();
  void Preferences1Click();
  void ButtMaxUndoOkClick();
  void ListBoxPreferenceClick(int brush);
  void ButtBrushPreferenceOkClick();
  void ComboBox1Change(int command);
  void ButtControlsPreferenceOkClick();
  void SpeedSavePreferenceClick();
  void CheckActiveTabletClick(bool checked);
  void ScrollBarWacomChange(int position);
  void LightTrackBarChange();
  int remeshDepth() const { return remeshDepth_; }
  int grabSensitivity() const;
  int penSensibility() const { return penSensibility_; }
  bool tabletActive() const { return tabletActive_; }

  // --- stroke pipeline ---
  // Viewport mouse handlers; (x, y) are framebuffer pixels from the top.
  void PanelCentroMouseDown(Qt::MouseButton button, int x, int y);
  void PanelCentroMouseMove(Qt::KeyboardModifiers shift, int x, int y);
  void PanelCentroMouseUp(int x, int y);
  void ScrollIntensityChange(int position);
  void CheckSymClick(bool checked);
  void CheckBox1Click();  // "Invert Freeze"
  // Rebuilds both screen grids of the current element from a fresh frame, or
  // leaves them for the next lookup while the viewport has no GL yet.
  void RebuildScreenGrids();
  // Paint tool panel.
  void PaintTool1Click();
  void ShpColorClick();
  void SpeedCaptureClick();
  void SpeedPaintColorCloseClick();
  void SetColorChooser(ColorChooser chooser) { colorChooser_ = std::move(chooser); }
  const TStrokeState& stroke() const { return stroke_->state(); }
  const TViewportDrag& drag() const { return drag_; }
  float brushStrength() const;
  float brushWindow() const { return stroke_->state().brushWindow; }
  QToolButton* CheckBox1 = nullptr;
  QAction* PaintTool1 = nullptr;
  QSlider* sldRed = nullptr;
  QSlider* sldGreen = nullptr;
  QSlider* sldBlue = nullptr;
  QSlider* sldAlpha = nullptr;
  QToolButton* shpColor = nullptr;
  QToolButton* SpeedCapture = nullptr;
  QToolButton* SpeedPaintColorClose = nullptr;
  QToolButton* Speeddefault = nullptr;
  QToolButton* SpeedSoft = nullptr;
  QToolButton* SpeedDisform = nullptr;

  // Element editing: the mask commands, detach, the element panel and its
  // transforms (editing_commands.cpp, panel_edit_sphere.cpp, element_tools.cpp).
  QListWidget* ListElementos = nullptr;
  QLineEdit* EditNameEsfera = nullptr;
  QToolButton* SpeedFreeze = nullptr;
  QToolButton* SpeedSelMode = nullptr;
  QToolButton* SpeedRotate = nullptr;
  QToolButton* SpeedDimension = nullptr;
  void SpeedFreezeClick();
  void SpeedUnfreezeAllClick();
  void SpeedSelModeClick();
  void SpeedDetachClick();
  void SpeedEditarClick();
  void ListElementosClick(int row);
  void SpeedButton6Click();
  void SpeedVisibleClick();
  void SpeedColorClick();
  void SpeedDeletarClick();
  void SpeedMirrorClick();
  void SpeedPositionClick();
  void SpeedRotateClick();
  void SpeedDimensionClick();
  void SpeedFecharClick();
  void SpeedUnificationClick();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Undo or Redo of the current element's geometry snapshots.
  void StepThroughSnapshots(bool (UndoSnapshots::*step)(TScene&, UndoChannel));

  class WindowSceneHost : public SceneHost {
   public:
    explicit WindowSceneHost(TFormMain& form) : form_(form) {}
    void ShowSubdivisionLevel(int level) override;
    void Redraw() override;
    void RebuildScreenGrids(TScene& scene) override;
    void ClearFootprints() override;
    void RefreshElementList(TScene&) override;
    void ShowElementName(const std::string& name) override;
    void ClearTransformDrag() override;

   private:
    TFormMain& form_;
  };

  // The stroke's buffer writes, snapshots and redraws.
  class WindowStrokeSink : public StrokeSink {
   public:
    explicit WindowStrokeSink(TFormMain& form) : form_(form) {}
    void SnapshotAtPress(int32_t pickedVertex) override;
    void SnapshotAtRelease() override;
    void FootprintsChanged(const TBrushFrame& frame, bool colors) override;
    void NormalChanged(int32_t vertex, const TGLCoord& normal) override;
    void GeometryChanged() override;
    void Redraw() override;

   private:
    TFormMain& form_;
  };

  TToolModes& Modes();
  void FormCreate();
  void BuildMenus();
  void BuildStatusBar();
  void BuildPanelMenu();
  void BuildPanelModeling();
  void BuildPanelStart();
  void BuildPanelLoadAdd();
  void BuildToolPanels();
  void BuildPanelEditSphere(FloatingPanel* panel);
  void ConnectEditingButtons();
  void AddEditingMenuItems(QMenu* edit);
  bool RefusedInTextureMode() const;  // warns while the texture view is on
  void DeselectBrushList();
  void SetFreezeMode(bool on);
  void LeaveMaskPainting();
  void FillElementList();
  void RunDetach();
  void UploadCurrentElement();
  // Rotate and Dimension on or off (at most one is on).
  void SetRotateMode(bool on);
  void SetDimensionMode(bool on);
  // Rotate and Dimension off, and a pending placement put down.
  void EndElementTransforms();
  // The two presses of a placement; the second puts the element down.
  bool PlacementPress();
  void PutDownPlacedElement();
  // The rotation handle's vertex nearest to (x, y) on screen, -1 when none is close.
  int PickHandleVertex(int x, int y) const;
  void LoadCustomCursors();
  void ConnectSubdivisionButtons();
  bool ResolutionCommandAllowed();
  TResolutionUndo ResolutionUndo();
  bool LoadDefaultModel();
  bool ReadPreferences();
  void ApplyPreferences();
  void LoadRotateGizmo();
  void CentrePanelStart();
  void OnFatalStartupError(const QString& message);
  void Fail(const QString& message);

  QString ProgramFile(const char* relative) const;
  TFileChoice ChooseFile(const TFileRequest& request);
  // The colour dialog (or the tests' chooser); an invalid colour when cancelled.
  QColor ChooseColor(const QColor& initial, const QString& title = {});
  // Reads a model file into a scene of its own and, when that worked, makes it
  // the scene; the old scene stays when anything fails.
  bool ReplaceSceneWith(const QString& fileName, int kind, float scale);
  void RefreshAfterSceneChange();
  void ShowLevel(int level);
  void Redraw();
  void RebuildCurrentAdjacency();
  void UpdateBrushWindow();
  bool ShortcutDown(int item) const;
  bool RunShortcutCommand(int command);
  bool PromptSaveBeforeClose();
  // The .met save dialog and the save; false when nothing was written.
  bool SaveAsDialog();

  QString programDir_;
  // Declared before the scene and its hosts, so it outlives them.
  UndoSnapshots undo_;
  TScene scene_;
  PanelCentro* centro_ = nullptr;
  std::optional<WindowSceneHost> host_;
  std::optional<UndoSceneHost> undoHost_;  // the scene's host: undo, then the window
  TPreferences prefs_;
  FileChooser fileChooser_;
  KeyStates keys_;
  std::map<QString, QCursor> cursors_;
  std::array<int, kBrushCount> brushIntensity_{};
  int selectedBrush_ = 0;
  int startMeshChoice_ = 0;
  bool radiusKeyMode_ = false;
  TElementEditing elementEditing_;
  // The element transforms' drag: the picked handle vertex (-1 none), the
  // last pointer position, whether the press was taken.
  struct TElementDrag {
    int handleVertex = -1;
    int lastX = 0, lastY = 0;
    bool pressTaken = false;
  };
  TElementDrag elementDrag_;
  ColorChooser colorChooser_;
  bool elementListFrozen_ = false;  // no list refills during a Unification
  bool destroyed_ = false;
  bool startupFailed_ = false;
  bool startPanelCentred_ = false;

  // Undo and the configuration panel.
  void BuildPanelConfig();
  void ShowPreferencesInPanelConfig();
  int remeshDepth_ = 10;      // "Remesh Preference:", the octree depth of "Remesh"
  int penSensibility_ = 45;   // pressure divisor of the pen
  bool tabletActive_ = false;  // "Active Tablet"

  // --- stroke pipeline ---
  void ConnectStrokeControls();
  void BuildPanelPaintColor();
  void RouteViewportMouse(QEvent* event);
  void LeftPress(int x, int y);
  void ActAtPress(int x, int y);
  void CaptureColor();
  void RightDrag(int x, int y);
  void MiddleDrag(int x, int y);
  void Hover(int x, int y);
  void LeftDrag(Qt::KeyboardModifiers shift, int x, int y);
  void ShowCursorCircles();
  void ArmTemporaryBrushes(Qt::KeyboardModifiers shift);
  void RestoreTemporaryBrushes();
  void RefreshStrokeStatus();
  std::optional<QColor> ChoosePaintColor();
  void OpenPaintTool(const std::optional<QColor>& chosen);
  void SetPaintColor(const QColor& color);
  void PaintSlidersChanged();
  WindowStrokeSink strokeSink_{*this};
  std::optional<TStroke> stroke_;  // made with the viewport
  TViewportDrag drag_;
  // Kept from the end of the start-up on; before the undo folder is removed.
  std::optional<TRecoveryKeeper> recovery_;
  void SceneChanged();
  void InstallRecoveredScene(RecoveredScene&& recovered);
};

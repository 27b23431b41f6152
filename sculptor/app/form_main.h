// The sculptor's main window: the viewport with the floating panels over it,
// the menu and the status bar, composed around the document they work on;
// start-up in its fixed order and shutdown. Each panel is a class of its own
// that reaches the document only; the window wires what one part asks of
// another. Components keep their names as members and as object names, so
// tools and tests can find them.
#pragma once

#include <QMainWindow>
#include <QString>
#include <array>
#include <map>
#include <optional>

#include "app/document.h"
#include "app/form_input.h"

class FloatingPanel;
class PanelCentro;
class QLabel;
class TMainMenu;
class TPanelConfig;
class TPanelEditSphere;
class TPanelLoadAdd;
class TPanelMenu;
class TPanelModeling;
class TPanelPaintColor;
class TPanelReduction;
class TPanelSkech;
class TPanelRemesh;
class TPanelStart;
class TViewportInput;

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
  bool destroyed() const { return destroyed_; }

  TDocument& document() { return document_; }
  TScene& scene() { return document_.scene(); }
  PanelCentro& viewport() { return *centro_; }
  const TPreferences& preferences() { return document_.preferences(); }

  // The window's parts.
  TMainMenu* MainMenu = nullptr;
  TPanelMenu* PanelMenu = nullptr;
  TPanelModeling* PanelModeling = nullptr;
  TPanelStart* PanelStart = nullptr;
  TPanelLoadAdd* PanelLoadAdd = nullptr;
  TPanelEditSphere* PanelEditSphere = nullptr;
  TPanelPaintColor* PanelPaintColor = nullptr;
  TPanelSkech* PanelSkech = nullptr;
  TPanelConfig* PanelConfig = nullptr;
  TPanelReduction* PanelReduction = nullptr;
  TPanelRemesh* PanelRemesh = nullptr;
  std::array<QLabel*, 6> statusPanels{};
  TViewportInput& viewportInput() { return *viewportInput_; }
  TFormInput& formInput() { return *formInput_; }

  // Handlers of the form and of the View menu.
  void PrincipalMenu1Click();
  void PanelModeling1Click();
  void FormResize();
  void FormDestroy();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  // A floating panel that opens over the Tools column moves beside it.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate();
  void BuildStatusBar();
  void BuildPanels();
  // What one part asks of another.
  void Compose();
  bool LoadDefaultModel();
  bool ReadPreferences();
  void ApplyPreferences();
  void LoadRotateGizmo();
  void ShowSavedState();
  // Moves `panel` right of the Tools column when it covers it, and into the viewport.
  void PlaceBesideTools(FloatingPanel& panel);
  // Moves `panel` back inside the viewport as far as it fits.
  void KeepInsideViewport(FloatingPanel& panel);
  // Escape: clicks "Close" of the topmost floating panel that has one; false when none is open.
  bool CloseTopmostPanel();
  void OnFatalStartupError(const QString& message);
  void Fail(const QString& message);

  TDocument document_;
  PanelCentro* centro_ = nullptr;
  std::map<QString, FloatingPanel*> toolPanels_;  // the placeholders of the later tools' panels, by name
  TViewportInput* viewportInput_ = nullptr;
  std::optional<TFormInput> formInput_;
  bool destroyed_ = false;
  bool startupFailed_ = false;
  bool startPanelCentred_ = false;
  bool closeAfterRemesh_ = false;  // the window was closed during a remesh
};

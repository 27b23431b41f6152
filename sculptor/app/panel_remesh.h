// PanelRemesh ("Remesh"): the two remesh commands, Remesh Compact (voxquad
// into quads, the whole scene replaced) and Remesh (poissonrecon rebuilds the
// principal element), with their status line, progress bar and "Cancel"
// while the helper program runs. The window stays alive meanwhile, but only
// this panel takes the user's input until the run ends.
#pragma once

#include "app/floating_panel.h"

class QLabel;
class QProgressBar;
class QToolButton;
class TDocument;
struct ConsoleStage;
struct RemeshSetup;

class TPanelRemesh : public FloatingPanel {
  Q_OBJECT

 public:
  TPanelRemesh(TDocument& doc, QWidget* parent);

  QLabel* LabelStatusRem = nullptr;
  QProgressBar* ProgressBarRemesh = nullptr;
  QToolButton* ButCancelRemesh = nullptr;  // "Cancel"

  // Remesh Compact of the current element with `voxelBudget` voxels; asks
  // before the other elements are discarded.
  void ButRemeshCompactClick(int voxelBudget);
  // Remesh of the principal element at octree `depth` (also the Edit menu's
  // "Remesh"); asks first when another element is current.
  void SpeedFixmeshClick(int depth);

  bool running() const { return running_; }
  // Ends the helper of a run under way; its scene stays as it was.
  void CancelRun() { cancelRequested_ = true; }

 signals:
  // A run replaced the scene or the principal element.
  void remeshed();
  // A run ended, whatever its outcome.
  void runEnded();

 private:
  // The exchange setup of one run: the private folder, the installation's
  // helpers, this panel's progress between `from` and `to`.
  RemeshSetup Setup(int from, int to);
  void Begin();
  void End();
  void Progress(int percent);

  TDocument& doc_;
  bool running_ = false;
  bool cancelRequested_ = false;
};

// PanelCreateAO ("Ambient Occlusion"): the occlusion bake of every element
// into its vertex colours, after the question whether to start the slow run,
// with the step's text in LabelAO, the progress in ProgressBarAO and "Cancel".
// The bake lets the window's events run, so the window repaints and the panel
// can be dragged and cancelled; nothing else takes input meanwhile. Undo gives
// back the current element's colours as they were before the bake; a bake
// cancelled before any colour changed leaves neither an undo step nor the
// scene marked as changed.
#pragma once

#include <QElapsedTimer>
#include <cstdint>

#include "app/floating_panel.h"
#include "processing/ambient_occlusion.h"

class QLabel;
class QProgressBar;
class QToolButton;
class TDocument;

class TPanelCreateAO : public FloatingPanel {
  Q_OBJECT

 public:
  TPanelCreateAO(TDocument& doc, QWidget* parent);

  QLabel* LabelAO = nullptr;
  QProgressBar* ProgressBarAO = nullptr;
  QToolButton* SpeedCancel = nullptr;

  // "Ambient Occlusion" of the Render menu and the tool panel.
  void SpeedAmbientOcclusionClick();
  void SpeedCancelClick() { aoCancel = true; }
  // The strength bar moved.
  void ScrollBarLevelAOChange(int position) { aoStrength = position; }

  bool running() const { return running_; }

  int aoStrength = kAoStrengthDefault;
  bool aoCancel = false;

 private:
  // Shows a report of the bake; lets the window's events run now and then.
  bool Progress(const AoProgress& progress);
  // Hides the panel and shows the new colours.
  void Finish();

  TDocument& doc_;
  bool running_ = false;
  bool closeAfterRun_ = false;  // the window was asked to close during the run
  bool coloursChanging_ = false;  // the run reached a finishing step: the undo step is taken
  const char* shownStatus_ = nullptr;
  int64_t unit_ = 1;       // units of work per step of the progress bar
  QElapsedTimer clock_;    // of the run
  qint64 lastEvents_ = 0;  // ms of the run's clock when the events last ran
};

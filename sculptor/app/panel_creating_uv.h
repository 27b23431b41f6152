// PanelCreatingUV ("Creating UV"): the stage and progress of "Create UVs".
#pragma once

#include <QElapsedTimer>
#include <string>

#include "app/floating_panel.h"

class QLabel;
class QProgressBar;

class TPanelCreatingUV : public FloatingPanel {
  Q_OBJECT

 public:
  explicit TPanelCreatingUV(QWidget* parent);

  QLabel* LabelUV = nullptr;
  QProgressBar* ProgressBarUV = nullptr;

  // Shows the panel at its first text with the bar at 0.
  void Start();
  // A stage and its progress (done of total; a total of 0 leaves the bar).
  // The window is repainted now and then, without taking user input.
  void ShowProgress(const std::string& label, int done, int total);

 private:
  QElapsedTimer lastPaint_;
};

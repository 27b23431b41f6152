// PanelReduction ("Mesh Reduction"): lowers the current element's triangle
// count to the chosen percentage by quadric edge collapses. Opening the panel
// takes the undo snapshot, so Undo gives back the element as it was then,
// however often "Process" ran since.
#pragma once

#include "app/floating_panel.h"

class QLabel;
class QScrollBar;
class QToolButton;
class TDocument;

class TPanelReduction : public FloatingPanel {
  Q_OBJECT

 public:
  TPanelReduction(TDocument& doc, QWidget* parent);

  QScrollBar* ScrollReduction = nullptr;  // the percentage kept, 0 .. 100
  QLabel* LabPosition = nullptr;          // its position, "40 %"
  QLabel* LabRed = nullptr;
  QToolButton* SpeedProcessRed = nullptr;      // "Process"
  QToolButton* SpeedCloseReduction = nullptr;  // "Close"

  // "Mesh Reduction" (menu item and tool-panel button).
  void SpeedReductionClick();
  void ScrollReductionChange();
  void SpeedProcessRedClick();
  void SpeedCloseReductionClick();

 private:
  TDocument& doc_;
};

// PanelEditSphere ("Edit"), the element panel: the element list with
// renaming, visibility and colour, the element transforms (Position, Rotate,
// Dimension), and the element commands Detach, Mirror, Delete and Unification.
#pragma once

#include "app/floating_panel.h"

class QLineEdit;
class QListWidget;
class QToolButton;
class TDocument;

class TPanelEditSphere : public FloatingPanel {
  Q_OBJECT

 public:
  TPanelEditSphere(TDocument& doc, QWidget* parent);

  QListWidget* ListElementos = nullptr;
  QLineEdit* EditNameEsfera = nullptr;
  QToolButton* SpeedButton6 = nullptr;  // "Change": the name
  QToolButton* SpeedVisible = nullptr;
  QToolButton* SpeedColor = nullptr;
  QToolButton* SpeedPosition = nullptr;
  QToolButton* SpeedRotate = nullptr;
  QToolButton* SpeedDimension = nullptr;
  QToolButton* SpeedMirror = nullptr;
  QToolButton* SpeedDeletar = nullptr;
  QToolButton* SpeedUnification = nullptr;
  QToolButton* SpeedFechar = nullptr;  // "Close"

  // Handlers ("Edit Object" opens the panel; Detach belongs to the tool panel's button).
  void SpeedEditarClick();
  void ListElementosClick(int row);
  void SpeedButton6Click();
  void SpeedVisibleClick();
  void SpeedColorClick();
  void SpeedPositionClick();
  void SpeedRotateClick();
  void SpeedDimensionClick();
  void SpeedMirrorClick();
  void SpeedDeletarClick();
  void SpeedUnificationClick();
  void SpeedFecharClick();
  void SpeedDetachClick();

  // The list and the name box from the scene.
  void FillElementList();
  // Detach numbers its copies from 0 again (a new scene).
  void ResetDetachCounter() { detachCounter_ = 0; }
  int detachCounter() const { return detachCounter_; }
  // Whether the detach under way is Mirror's.
  bool mirrorDetach() const { return mirrorDetach_; }

 signals:
  // A command ended selection painting.
  void maskModesChanged();

 private:
  // The detach itself: the copy takes the counter, which advances by two in all.
  void RunDetach();

  TDocument& doc_;
  int detachCounter_ = 0;
  bool mirrorDetach_ = false;
  bool listFrozen_ = false;  // no list refills during a Unification
};

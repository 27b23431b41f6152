// PanelCreateUVW ("Create UV"): what texture mode offers a mesh without
// texture coordinates: create them, or leave.
#pragma once

#include <array>

#include "app/floating_panel.h"

class QLabel;
class QToolButton;

class TPanelCreateUVW : public FloatingPanel {
  Q_OBJECT

 public:
  explicit TPanelCreateUVW(QWidget* parent);

  std::array<QLabel*, 3> LabelsUVW{};
  QToolButton* SpeedCreateMap = nullptr;       // "Create UVs"
  QToolButton* SpeedCancelCreateUV = nullptr;  // "Cancel"
};

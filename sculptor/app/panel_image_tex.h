// PanelImageTex ("Texture Image"): the size of the texture image and the
// partition control of "Create UVs", with "Ok" and "Cancel".
#pragma once

#include "app/floating_panel.h"

class QComboBox;
class QDoubleSpinBox;
class QToolButton;

class TPanelImageTex : public FloatingPanel {
  Q_OBJECT

 public:
  explicit TPanelImageTex(QWidget* parent);

  QComboBox* ComboBoxSizeImage = nullptr;      // "256" .. "4096"
  QDoubleSpinBox* FloatSpinControl = nullptr;  // "Partition Control"
  QToolButton* SpeedCreateImage = nullptr;     // "Ok"
  QToolButton* SpeedCancelCreate = nullptr;    // "Cancel"

  int textureSize() const;
  float partitionControl() const;

 signals:
  // The size box chose another texture size.
  void textureSizeChosen(int size);
};

#include "app/panel_image_tex.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QToolButton>

#include "app/widget_factory.h"

namespace {

constexpr const char* kSizes[] = {"256", "512", "1024", "2048", "4096"};
constexpr const char* kPartitionHint = "The higher the value, the more segmentation.";

}  // namespace

TPanelImageTex::TPanelImageTex(QWidget* parent) : FloatingPanel("PanelImageTex", "Texture Image", parent) {
  move(180, 40);
  hide();
  auto* grid = new QGridLayout;
  ComboBoxSizeImage = Named(new QComboBox(this), "ComboBoxSizeImage");
  for (const char* size : kSizes) ComboBoxSizeImage->addItem(size);
  ComboBoxSizeImage->setCurrentText("4096");
  grid->addWidget(new QLabel("Image Size:", this), 0, 0);
  grid->addWidget(ComboBoxSizeImage, 0, 1);
  FloatSpinControl = Named(new QDoubleSpinBox(this), "FloatSpinControl", Qt::StrongFocus);
  FloatSpinControl->setRange(0.1, 1.0);
  FloatSpinControl->setSingleStep(0.1);
  FloatSpinControl->setDecimals(1);
  FloatSpinControl->setValue(0.8);
  FloatSpinControl->setToolTip(kPartitionHint);
  grid->addWidget(new QLabel("Partition Control", this), 1, 0);
  grid->addWidget(FloatSpinControl, 1, 1);
  SpeedCreateImage = PanelButton("SpeedCreateImage", "Ok", this);
  SpeedCancelCreate = PanelButton("SpeedCancelCreate", "Cancel", this);
  grid->addWidget(SpeedCreateImage, 2, 0);
  grid->addWidget(SpeedCancelCreate, 2, 1);
  body()->addLayout(grid);
  adjustSize();
  connect(ComboBoxSizeImage, &QComboBox::currentTextChanged, this,
          [this](const QString& text) { emit textureSizeChosen(text.toInt()); });
}

int TPanelImageTex::textureSize() const { return ComboBoxSizeImage->currentText().toInt(); }

float TPanelImageTex::partitionControl() const { return static_cast<float>(FloatSpinControl->value()); }

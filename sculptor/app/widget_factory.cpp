#include "app/widget_factory.h"

#include <QCheckBox>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>

QToolButton* PanelButton(const char* objectName, const QString& caption, QWidget* parent, bool enabled) {
  auto* button = new QToolButton(parent);
  button->setObjectName(objectName);
  button->setText(caption);
  button->setEnabled(enabled);
  button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  return button;
}

void MakeToggle(QToolButton* button) {
  button->setCheckable(true);
  button->setStyleSheet(
      "QToolButton:checked { background: palette(highlight); color: palette(highlighted-text);"
      " border: 1px solid palette(dark); }");
}

QToolButton* SmallButton(const char* objectName, const QString& caption, QWidget* parent) {
  auto* button = Named(new QToolButton(parent), objectName);
  button->setText(caption);
  return button;
}

QCheckBox* CheckBox(const char* objectName, const QString& caption, QWidget* parent) {
  return Named(new QCheckBox(caption, parent), objectName);
}

QSlider* TrackBar(const char* objectName, int min, int max, int value, QWidget* parent) {
  auto* slider = Named(new QSlider(Qt::Horizontal, parent), objectName);
  slider->setRange(min, max);
  slider->setValue(value);
  return slider;
}

QSpinBox* SpinBox(const char* objectName, int min, int max, int value, QWidget* parent) {
  auto* spin = Named(new QSpinBox(parent), objectName, Qt::StrongFocus);
  spin->setRange(min, max);
  spin->setValue(value);
  return spin;
}

// The panels' components, made one way: each gets its component name as its
// object name and the keyboard focus policy of its kind. Check boxes, sliders,
// combo boxes and lists leave the keyboard to the window's shortcuts; spin
// boxes take it, so that values can be typed.
#pragma once

#include <QString>
#include <Qt>

class QCheckBox;
class QSlider;
class QSpinBox;
class QToolButton;
class QWidget;

// Names `widget` and sets its focus policy; returns it.
template <class Widget>
Widget* Named(Widget* widget, const char* objectName, Qt::FocusPolicy focus = Qt::NoFocus) {
  widget->setObjectName(objectName);
  widget->setFocusPolicy(focus);
  return widget;
}

// A command button that widens with the panel's layout.
QToolButton* PanelButton(const char* objectName, const QString& caption, QWidget* parent, bool enabled = true);

// Makes `button` a mode toggle: checkable, and plainly highlighted while down,
// so the user sees which mode is on.
void MakeToggle(QToolButton* button);

// A button of its text's width that never takes the focus (the "Ok" buttons).
QToolButton* SmallButton(const char* objectName, const QString& caption, QWidget* parent);

QCheckBox* CheckBox(const char* objectName, const QString& caption, QWidget* parent);

// A horizontal track bar from `min` to `max` at `value`.
QSlider* TrackBar(const char* objectName, int min, int max, int value, QWidget* parent);

QSpinBox* SpinBox(const char* objectName, int min, int max, int value, QWidget* parent);

// PanelSkech ("Skech Control"), the sketch-sphere tool: while it is open a
// left stroke over the principal mesh drops mirrored spheres, "Convert Skech"
// blends the principal mesh and the spheres into one mesh (at the resolution
// of ScrollBarSkech, 2 .. 10), "Automatic Convert" converts after every
// stroke at resolution 2, "Clear Skech Spheres" removes the spheres.
#pragma once

#include "app/floating_panel.h"

class QCheckBox;
class QLabel;
class QScrollBar;
class QToolButton;
class TDocument;

class TPanelSkech : public FloatingPanel {
  Q_OBJECT

 public:
  TPanelSkech(TDocument& doc, QWidget* parent);

  QScrollBar* ScrollBarSkech = nullptr;
  QLabel* Labfator = nullptr;
  QCheckBox* CheckAuto = nullptr;            // "Automatic Convert"
  QToolButton* SpeedSkechConvert = nullptr;  // "Convert Skech"
  QToolButton* SpeedClearSkech = nullptr;    // "Clear Skech Spheres"
  QToolButton* SpeedButton8 = nullptr;       // "Close"

  // "Skech Spheres" of the tool panel: opens the panel when the principal
  // mesh was started as a sketch sphere.
  void SpeedSkechClick();
  // The "Skech Sphere" start mesh became the principal mesh: the panel opens
  // in sketch mode before it loads, and its first conversion follows the load.
  void StartSketch();
  void ScrollBarSkechChange(int position);
  void CheckAutoClick(bool checked);
  void SpeedSkechConvertClick();
  void SpeedClearSkechClick();
  void SpeedButton8Click();

  float sketchResolution() const { return sketchResolution_; }
  bool autoConvert() const { return autoConvert_; }

 private:
  // After a sketch stroke: the automatic conversion, when the stroke began
  // over the model.
  void SketchStrokeEnded(bool beganOverModel);
  // Removes every element after the principal one.
  void RemoveSpheres();

  TDocument& doc_;
  float sketchResolution_ = 4;
  bool autoConvert_ = false;
};

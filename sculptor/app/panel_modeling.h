// PanelModeling ("Modelling"): the brush list RadioModel, one item per row of
// the brush table, with each brush's working intensity, and the temporary
// brushes of a stroke (Shift: the second brush, Alt: the inverse brush).
#pragma once

#include <QtGlobal>
#include <array>
#include <optional>

#include "app/floating_panel.h"
#include "sculpt/brush_table.h"

class QRadioButton;
class TDocument;
struct TPreferences;

class TPanelModeling : public FloatingPanel {
  Q_OBJECT

 public:
  TPanelModeling(TDocument& doc, QWidget* parent);

  std::array<QRadioButton*, kBrushCount> RadioModel{};

  // Brush selection: operator, strength and sign from the brush table; the
  // intensity bar moves to the brush's own intensity (a new position
  // recomputes the strength with the intensity divisor); freeze and selection
  // painting end.
  void RadioModelClick(int item);

  int selectedBrush() const { return selectedBrush_; }
  // The working intensities from the preferences' default intensities
  // (brushes without a place there start at 0), and Add's strength.
  void LoadIntensities(const TPreferences& prefs);
  // The intensity bar moved with the selected brush.
  void IntensityChanged(int position);
  // No brush selected while the mask is painted.
  void DeselectBrushList();
  // A left drag with Shift or Alt held arms the temporary brushes; the
  // release gives the brush of before back.
  void ArmTemporaryBrushes(Qt::KeyboardModifiers modifiers);
  void RestoreTemporaryBrushes();

 signals:
  // The intensity bar is to show a brush's intensity.
  void intensityShown(int intensity);
  // A brush was selected (others hide their tool panels).
  void brushSelected(int item);
  // An item of the list became the checked one.
  void brushChecked();

 private:
  TDocument& doc_;
  std::array<int, kBrushCount> brushIntensity_{};
  int selectedBrush_ = 0;
  // The RadioModel item a temporary brush replaced for the stroke.
  std::optional<int> secondBrushItem_, inverseBrushItem_;
};

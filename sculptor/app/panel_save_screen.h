// PanelSaveScreen ("Image Render"): the six maps of the current view as
// thumbnails, the one clicked last shown large in ImageScreen and saved by
// "Image Save" (PNG, JPEG or BMP), all six saved as BMP files by "All Save",
// "Reload" to render them again and "Close". While the panel shows, the
// viewport outlines the captured rectangle in red.
//
// "Save Size" makes both saves write pictures of one, two or four times the
// captured size, rendered anew at that size from the current view (the
// thumbnails stay as captured). "Image Save" also writes the depth map as a
// 16-bit grey PNG (its last file type).
#pragma once

#include <QImage>
#include <array>
#include <optional>

#include "app/floating_panel.h"
#include "render/map_renders.h"

class QComboBox;
class QLabel;
class QToolButton;
class TDocument;

class TPanelSaveScreen : public FloatingPanel {
  Q_OBJECT

 public:
  TPanelSaveScreen(TDocument& doc, QWidget* parent);

  // The thumbnails, in map order: "Shaded", "Depth Map", "Reflect Map",
  // "Mask Map", "Shadow Map", "Ambient Occlusion".
  QToolButton* ImageShaded = nullptr;
  QToolButton* ImageDepth = nullptr;
  QToolButton* ImageReflect = nullptr;
  QToolButton* ImageMask = nullptr;
  QToolButton* ImageShadow = nullptr;
  QToolButton* ImageAO = nullptr;
  QLabel* ImageScreen = nullptr;  // the selected map, large
  QToolButton* SpeedReload = nullptr;
  QToolButton* SpeedScreenSave = nullptr;  // "Image Save"
  QToolButton* SpeedAllSave = nullptr;
  QToolButton* SpeedCloseSI = nullptr;  // "Close"
  QComboBox* ComboSaveSize = nullptr;  // "1x", "2x", "4x" the captured size

  // "Image Render" of the Render menu: renders the maps unless the panel is open.
  void ImageRenderClick();
  void SpeedReloadClick();
  void ImageClick(TMapKind kind);
  void SpeedScreenSaveClick();
  void SpeedAllSaveClick();
  void SpeedCloseSIClick();

  // Set while the last capture succeeded; "Image Save" works only then.
  bool captureOk() const { return captureOk_; }
  const QImage& map(TMapKind kind) const { return maps_[static_cast<size_t>(kind)]; }
  const QImage& selected() const { return selected_; }

 private:
  // Shows the panel and captures the six maps into the thumbnails.
  void RenderMapsIntoPanel();
  // The maps of `request` rendered at the save size (`request.scale` is set
  // here); false, after the capture message, when they could not be drawn.
  bool RenderForSave(TMapRequest request, std::array<QImage, kMapCount>& maps);

  TDocument& doc_;
  std::array<QToolButton*, kMapCount> thumbnails_{};
  std::array<QImage, kMapCount> maps_;
  QImage selected_;
  std::optional<TMapKind> selectedKind_;
  bool captureOk_ = false;
};

// PanelSaveScreen ("Image Render"): the six maps of the current view as
// thumbnails, the one clicked last shown large in ImageScreen and saved by
// "Image Save" (PNG, JPEG or BMP), all six saved as BMP files by "All Save",
// "Reload" to render them again and "Close". While the panel shows, the
// viewport outlines the captured rectangle in red.
#pragma once

#include <QImage>
#include <array>

#include "app/floating_panel.h"
#include "render/map_renders.h"

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

  TDocument& doc_;
  std::array<QToolButton*, kMapCount> thumbnails_{};
  std::array<QImage, kMapCount> maps_;
  QImage selected_;
  bool captureOk_ = false;
};

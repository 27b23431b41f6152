#include "app/panel_save_screen.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageWriter>
#include <QLabel>
#include <QPixmap>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/app_paths.h"
#include "app/document.h"
#include "app/widget_factory.h"
#include "model/messages.h"
#include "render/panel_centro.h"

namespace {

constexpr const char* kCaptureFailed = "Error in create screen image. Error 2375";
constexpr const char* kSaved = "Screen image saved successfully";
constexpr const char* kSaveFailed = "Error in screen image save. Error 4376";
constexpr const char* kNotSaved = "Images were not saved.";
constexpr const char* kAllSaved = "All images have been successfully saved.";

constexpr QSize kThumbnailSize(112, 84);
constexpr QSize kScreenSize(348, 261);

struct TMapThumbnail {
  const char* objectName;
  const char* caption;
  const char* fileName;  // of "All Save", appended to the chosen folder
};
constexpr std::array<TMapThumbnail, kMapCount> kThumbnails{{
    {"ImageShaded", "Shaded", "/shaded.bmp"},
    {"ImageDepth", "Depth Map", "/depth.bmp"},
    {"ImageReflect", "Reflect Map", "/reflect.bmp"},
    {"ImageMask", "Mask Map", "/mask.bmp"},
    {"ImageShadow", "Shadow Map", "/shadow.bmp"},
    {"ImageAO", "Ambient Occlusion", "/ao.bmp"},
}};

// "Image Save"'s filters and what each writes: the selected map, or the
// depth map in 16 bits.
struct TImageFormat {
  const char* filter;
  const char* writerFormat;  // Qt's image writer
  const char* extension;
  bool depth16 = false;
};
constexpr std::array<TImageFormat, 5> kImageFormats{{
    {"Portable Network Graphics (*.png)", "png", ".png"},
    {"JPEG Image File (*.jpg)", "jpeg", ".jpg"},
    {"JPEG Image File (*.jpeg)", "jpeg", ".jpeg"},
    {"Bitmaps (*.bmp)", "bmp", ".bmp"},
    {"16-bit Depth Map PNG (*.png)", "png", ".png", true},
}};

// "Save Size": the factor of each entry is 1 << its index.
constexpr std::array<const char*, 3> kSaveSizes{"1x", "2x", "4x"};

// False for an empty picture or when the encoder or the file refused it.
bool WriteImage(const QImage& image, const QString& fileName, const char* format) {
  if (image.isNull()) return false;
  QImageWriter writer(fileName, format);
  return writer.write(image);
}

QPixmap Fitted(const QImage& image, const QSize& box) {
  return QPixmap::fromImage(image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

}  // namespace

TPanelSaveScreen::TPanelSaveScreen(TDocument& doc, QWidget* parent)
    : FloatingPanel("PanelSaveScreen", "Image Render", parent), doc_(doc) {
  move(180, 40);
  hide();
  auto* grid = new QGridLayout;
  QToolButton** members[kMapCount] = {&ImageShaded, &ImageDepth, &ImageReflect, &ImageMask, &ImageShadow, &ImageAO};
  for (int k = 0; k < kMapCount; ++k) {
    const TMapThumbnail& thumbnail = kThumbnails[static_cast<size_t>(k)];
    auto* button = SmallButton(thumbnail.objectName, thumbnail.caption, this);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setIconSize(kThumbnailSize);
    button->setMinimumSize(kThumbnailSize + QSize(8, 24));
    *members[k] = thumbnails_[static_cast<size_t>(k)] = button;
    grid->addWidget(button, k / 3, k % 3);
    connect(button, &QToolButton::clicked, this, [this, k] { ImageClick(static_cast<TMapKind>(k)); });
  }
  body()->addLayout(grid);
  ImageScreen = Named(new QLabel(this), "ImageScreen");
  ImageScreen->setFixedSize(kScreenSize);
  ImageScreen->setAlignment(Qt::AlignCenter);
  ImageScreen->setFrameShape(QFrame::Box);
  body()->addWidget(ImageScreen, 0, Qt::AlignHCenter);
  auto* buttons = new QHBoxLayout;
  SpeedReload = PanelButton("SpeedReload", "Reload", this);
  SpeedScreenSave = PanelButton("SpeedScreenSave", "Image Save", this);
  SpeedAllSave = PanelButton("SpeedAllSave", "All Save", this);
  SpeedCloseSI = PanelButton("SpeedCloseSI", "Close", this);
  for (QToolButton* button : {SpeedReload, SpeedScreenSave, SpeedAllSave, SpeedCloseSI}) buttons->addWidget(button);
  auto* saveSize = new QHBoxLayout;
  saveSize->addWidget(new QLabel("Save Size", this));
  ComboSaveSize = Named(new QComboBox(this), "ComboSaveSize");
  for (const char* size : kSaveSizes) ComboSaveSize->addItem(size);
  saveSize->addWidget(ComboSaveSize);
  saveSize->addStretch();
  body()->addLayout(saveSize);
  body()->addLayout(buttons);
  adjustSize();
  SetCloseButton(SpeedCloseSI);

  connect(SpeedReload, &QToolButton::clicked, this, &TPanelSaveScreen::SpeedReloadClick);
  connect(SpeedScreenSave, &QToolButton::clicked, this, &TPanelSaveScreen::SpeedScreenSaveClick);
  connect(SpeedAllSave, &QToolButton::clicked, this, &TPanelSaveScreen::SpeedAllSaveClick);
  connect(SpeedCloseSI, &QToolButton::clicked, this, &TPanelSaveScreen::SpeedCloseSIClick);
}

void TPanelSaveScreen::ImageRenderClick() {
  if (!isVisible()) RenderMapsIntoPanel();
}

void TPanelSaveScreen::SpeedReloadClick() { RenderMapsIntoPanel(); }

void TPanelSaveScreen::RenderMapsIntoPanel() {
  captureOk_ = false;
  show();
  raise();
  PanelCentro& view = doc_.viewport();
  view.inputs().screenSaveFrameShown = true;
  const bool ok = RenderMaps(view, doc_.scene(), [this](TMapKind kind, const QImage& image) {
    const auto k = static_cast<size_t>(kind);
    maps_[k] = image;
    thumbnails_[k]->setIcon(Fitted(image, kThumbnailSize));
    thumbnails_[k]->repaint();
  });
  if (!ok) return ShowWarning(kCaptureFailed);
  captureOk_ = true;
}

bool TPanelSaveScreen::RenderForSave(TMapRequest request, std::array<QImage, kMapCount>& maps) {
  request.scale = 1 << std::max(ComboSaveSize->currentIndex(), 0);
  const bool ok = RenderMaps(doc_.viewport(), doc_.scene(),
                             [&maps](TMapKind kind, const QImage& image) { maps[static_cast<size_t>(kind)] = image; },
                             request);
  if (!ok) ShowWarning(kCaptureFailed);
  return ok;
}

void TPanelSaveScreen::ImageClick(TMapKind kind) {
  selectedKind_ = kind;
  selected_ = maps_[static_cast<size_t>(kind)].copy();
  ImageScreen->setPixmap(selected_.isNull() ? QPixmap() : Fitted(selected_, kScreenSize));
  doc_.Redraw();
}

void TPanelSaveScreen::SpeedScreenSaveClick() {
  if (!captureOk_) return;
  TFileRequest request{true, "Image Save", {}};
  for (const TImageFormat& format : kImageFormats) request.filters << format.filter;
  const TFileChoice choice = doc_.ChooseFile(request);
  if (choice.fileName.isEmpty()) return;
  const int last = static_cast<int>(kImageFormats.size()) - 1;
  const TImageFormat& format = kImageFormats[static_cast<size_t>(std::clamp(choice.filterIndex, 0, last))];
  QImage image = selected_;
  const std::optional<TMapKind> kind = format.depth16 ? TMapKind::Depth : selectedKind_;
  if (kind && (format.depth16 || ComboSaveSize->currentIndex() > 0)) {
    std::array<QImage, kMapCount> rendered;
    if (!RenderForSave({1, MapBit(*kind), format.depth16}, rendered)) return;
    image = rendered[static_cast<size_t>(*kind)];
  }
  if (!WriteImage(image, WithExtension(choice.fileName, format.extension), format.writerFormat)) {
    return ShowError(kSaveFailed);
  }
  ShowInformation(kSaved);
}

void TPanelSaveScreen::SpeedAllSaveClick() {
  const QString folder = doc_.ChooseFile({false, "Select a directory", {}, true}).fileName;
  if (folder.isEmpty()) return ShowInformation(kNotSaved);
  std::array<QImage, kMapCount> maps = maps_;
  if (ComboSaveSize->currentIndex() > 0 && !RenderForSave({}, maps)) return;
  for (size_t k = 0; k < maps.size(); ++k) {
    if (!WriteImage(maps[k], folder + kThumbnails[k].fileName, "bmp")) return ShowError(kSaveFailed);
  }
  ShowInformation(kAllSaved);
}

void TPanelSaveScreen::SpeedCloseSIClick() {
  // The render modes of the maps are off already: each map switched its own off.
  hide();
  doc_.viewport().inputs().screenSaveFrameShown = false;
  doc_.Redraw();
}

#include "app/panel_texture.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QToolButton>
#include <cmath>

#include "app/app_paths.h"
#include "app/document.h"
#include "app/texture_image.h"
#include "app/widget_factory.h"
#include "io/image_loader.h"
#include "model/messages.h"
#include "processing/uv_texture_transfer.h"
#include "render/panel_centro.h"
#include "render/texture_space.h"
#include "render/texture_upload.h"

namespace {

constexpr int kImageTextSide = 256;
// The largest texture the size box offers; a loaded square picture within
// it sets the texture size.
constexpr int kLargestTextureSize = 4096;
constexpr const char* kCanvasUnavailable = "Not enough memory to complete this operation.";
constexpr const char* kSaveFailed = "Error in screen image save. Error 4376";

const QStringList kLoadFilters = {"All (*.jpg *.jpeg *.bmp *.tga *.png *.gif)",
                                  "JPEG Image File (*.jpeg)",
                                  "JPG Image File (*.jpg)",
                                  "Bitmaps (*.bmp)",
                                  "TGA(*.tga)",
                                  "PNG(*.png)",
                                  "GIF(*.gif)"};

// The save dialog's filters and, by index, the format and extension written.
struct SaveFormat {
  const char* filter;
  const char* format;
  const char* extension;
};
constexpr SaveFormat kSaveFormats[] = {
    {"Portable Network Graphics (*.png)", "PNG", ".png"},
    {"JPEG Image File (*.jpg)", "JPEG", ".jpg"},
    {"JPEG Image File (*.jpeg)", "JPEG", ".jpeg"},
    {"Bitmaps (*.bmp)", "BMP", ".bmp"},
};

}  // namespace

TPanelTexture::TPanelTexture(TDocument& doc, QWidget* parent)
    : FloatingPanel("PanelTexture", "Texture", parent), doc_(doc) {
  move(180, 40);
  hide();
  ImageText = new QLabel(this);
  ImageText->setObjectName("ImageText");
  ImageText->setFixedSize(kImageTextSide, kImageTextSide);
  ImageText->setScaledContents(true);
  body()->addWidget(ImageText);
  auto* grid = new QGridLayout;
  SpeedVertexColor = PanelButton("SpeedVertexColor", "Vertex To Texture", this);
  SpeedTexToVertex = PanelButton("SpeedTexToVertex", "Texture to Vertex", this);
  ButTexture = PanelButton("ButTexture", "Load Texture", this);
  SpeedSave = PanelButton("SpeedSave", "Save Image", this);
  SpeedRecreate = PanelButton("SpeedRecreate", "Recreate UVs", this);
  SpeedButClose = PanelButton("SpeedButClose", "Close", this);
  CheckTexture = CheckBox("CheckTexture", "Texture View", this);
  grid->addWidget(SpeedVertexColor, 0, 0);
  grid->addWidget(SpeedTexToVertex, 0, 1);
  grid->addWidget(ButTexture, 1, 0);
  grid->addWidget(SpeedSave, 1, 1);
  grid->addWidget(SpeedRecreate, 2, 0);
  grid->addWidget(SpeedButClose, 2, 1);
  grid->addWidget(CheckTexture, 3, 0, 1, 2);
  body()->addLayout(grid);
  adjustSize();

  connect(SpeedVertexColor, &QToolButton::clicked, this, &TPanelTexture::SpeedVertexColorClick);
  connect(SpeedTexToVertex, &QToolButton::clicked, this, &TPanelTexture::SpeedTexToVertexClick);
  connect(ButTexture, &QToolButton::clicked, this, &TPanelTexture::ButTextureClick);
  connect(SpeedSave, &QToolButton::clicked, this, &TPanelTexture::SpeedSaveClick);
  connect(CheckTexture, &QCheckBox::toggled, this, &TPanelTexture::CheckTextureClick);
}

AByte& TPanelTexture::image() {
  TScene& scene = doc_.scene();
  return doc_.viewport().buffers().slot(scene, scene.currentElement)->textureImage;
}

int TPanelTexture::textureSize() const { return doc_.viewport().state().textureSize; }

void TPanelTexture::NewImage(int size) {
  doc_.viewport().state().textureSize = size;
  const size_t side = static_cast<size_t>(size);
  AByte& rgb = image();
  rgb.assign(side * side * 3, 255);
}

void TPanelTexture::PrepareImage(bool keepSaved) {
  const AByte& rgb = image();
  const auto side = static_cast<int>(std::lround(std::sqrt(static_cast<double>(rgb.size() / 3))));
  if (keepSaved && side > 0 && static_cast<size_t>(side) * static_cast<size_t>(side) * 3 == rgb.size()) {
    doc_.viewport().state().textureSize = side;
  } else {
    NewImage(textureSize());
  }
}

bool TPanelTexture::BeginWithImage(const TImagePixels* picture) {
  const int size = textureSize();
  AByte& rgb = image();
  const size_t side = static_cast<size_t>(size);
  if (rgb.size() != side * side * 3) rgb.assign(side * side * 3, 255);
  if (!canvas_.Begin(size)) {
    ShowError(kCanvasUnavailable);
    return false;
  }
  DrawImageOverPanel(rgb.data(), size, size);
  if (picture != nullptr) {
    // The element's texture name from the loaders' count (the element keeps
    // its name when it is above 8).
    textureNameCounter = doc_.scene().current().textureId;
    const GLuint name = CreateTexture(*picture, GL_TEXTURE_2D, GL_LINEAR, GL_LINEAR,
                                      static_cast<GLuint>(doc_.scene().current().textureId));
    DrawTextureOverPanel(name, size);
  }
  return true;
}

void TPanelTexture::EndIntoImage() {
  canvas_.ReadPixels(image());
  canvas_.End();
  ShowImage();
  doc_.Redraw();
}

void TPanelTexture::RefreshView(const TImagePixels* picture) {
  if (!BeginWithImage(picture)) return;
  EndIntoImage();
}

void TPanelTexture::SpeedVertexColorClick() {
  if (!BeginWithImage(nullptr)) return;
  DrawSceneInTextureSpace(doc_.scene(), textureSize());
  doc_.scene().current().hasTextureImage = 1;
  EndIntoImage();
}

void TPanelTexture::SpeedTexToVertexClick() {
  TScene& scene = doc_.scene();
  const TTextureView texture{image(), textureSize()};
  for (int i = 0; i < scene.elementCount(); ++i) {
    TGeosphera& e = scene.elements[static_cast<size_t>(i)];
    const size_t vertices = std::min(e.colors.size(), static_cast<size_t>(std::max(e.vertexCount, 0)));
    const size_t corners = std::min(static_cast<size_t>(std::max(e.indexCount, 0)), e.faces.size());
    SampleTextureIntoColors(texture, std::span<const uint32_t>(e.faces.data(), corners), e.uvFaces, e.uvs,
                            std::span<TRGBA>(e.colors.data(), vertices));
    UploadElementBuffers(scene, i);
  }
  doc_.SceneChanged();
  ShowImage();
  doc_.Redraw();
}

void TPanelTexture::ButTextureClick() {
  const QString name = doc_.ChooseFile({false, "Load Texture", kLoadFilters}).fileName;
  if (name.isEmpty()) return;
  const TImageLoad load = LoadTextureImage(name.toStdString());
  if (!load.ok) return;
  TGeosphera& e = doc_.scene().current();
  e.hasTextureImage = 1;
  const TImagePixels& picture = load.image;
  if (picture.width == picture.height && picture.width <= kLargestTextureSize) NewImage(picture.width);
  RefreshView(&picture);
}

void TPanelTexture::SpeedSaveClick() {
  TFileRequest request{true, "Save Image", {}};
  for (const SaveFormat& format : kSaveFormats) request.filters << format.filter;
  const TFileChoice choice = doc_.ChooseFile(request);
  if (choice.fileName.isEmpty()) return;
  const SaveFormat& format = kSaveFormats[std::clamp(choice.filterIndex, 0, 3)];
  const QImage picture = TextureImagePicture(image());
  if (picture.isNull() || !picture.save(WithExtension(choice.fileName, format.extension), format.format)) {
    ShowError(kSaveFailed);
  }
}

void TPanelTexture::CheckTextureClick(bool checked) {
  doc_.viewport().state().textureViewOn = checked;
  doc_.Redraw();
}

void TPanelTexture::ShowImage() {
  const QImage picture = TextureImagePicture(image());
  if (picture.isNull()) return ImageText->clear();
  ImageText->setPixmap(QPixmap::fromImage(
      picture.scaled(kImageTextSide, kImageTextSide, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

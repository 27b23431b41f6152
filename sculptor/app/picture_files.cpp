#include "app/picture_files.h"

#include <QLabel>
#include <QPixmap>

#include "io/image_loader.h"

TFileRequest PictureRequest(const QString& caption) {
  return {false,
          caption,
          {"All pictures (*.bmp *.jpg *.jpeg *.png *.gif *.tga *.tif *.tiff)", "Bitmaps (*.bmp)",
           "JPEG images (*.jpg *.jpeg)", "PNG images (*.png)", "GIF images (*.gif)", "TGA images (*.tga)",
           "TIFF images (*.tif *.tiff)"}};
}

QImage ReadPicture(const QString& fileName) {
  QImage picture(fileName);
  if (!picture.isNull() || ImageFormatOfName(fileName.toStdString()) != ImageFormat::Tga) return picture;
  const TImageLoad load = LoadTextureImage(fileName.toStdString());
  if (!load.ok) return {};
  const TImagePixels& p = load.image;
  const QImage::Format format = p.channels == 4 ? QImage::Format_RGBA8888 : QImage::Format_RGB888;
  return QImage(p.pixels.data(), p.width, p.height, p.width * p.channels, format).mirrored();  // rows top-down
}

void ShowPicture(QLabel* label, const QImage& picture) {
  if (picture.isNull()) {
    label->clear();
    return;
  }
  label->setPixmap(QPixmap::fromImage(picture.scaled(label->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

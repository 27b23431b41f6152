#include "io/image_qt.h"

#include <QImage>
#include <climits>
#include <cstring>

namespace {

constexpr const char* kCaption = "BMP Unit";

// PNG colour types (the IHDR chunk's byte 9).
enum : uint8_t { kPngGrey = 0, kPngRgb = 2, kPngPalette = 3, kPngGreyAlpha = 4, kPngRgba = 6 };

QImage Decode(ImageBytes file, const char* format) {
  if (file.size() > static_cast<size_t>(INT_MAX)) return {};
  return QImage::fromData(file.data(), static_cast<int>(file.size()), format);
}

// The decoded image as RGBA rows, bottom row first; opaque unless `keepAlpha`.
TImageLoad BottomUpRgba(const QImage& decoded, bool keepAlpha) {
  const QImage rgba = decoded.convertToFormat(QImage::Format_RGBA8888);
  TImageLoad load;
  if (rgba.isNull()) return load;
  TImagePixels& image = load.image;
  image.width = rgba.width();
  image.height = rgba.height();
  image.channels = 4;
  const size_t row = static_cast<size_t>(image.width) * 4;
  image.pixels.resize(row * static_cast<size_t>(image.height));
  for (int r = 0; r < image.height; ++r) {
    uint8_t* out = image.pixels.data() + row * static_cast<size_t>(r);
    std::memcpy(out, rgba.constScanLine(image.height - 1 - r), row);
    if (!keepAlpha) {
      for (size_t a = 3; a < row; a += 4) out[a] = 255;
    }
  }
  load.ok = true;
  return load;
}

// The colour type of a PNG file, or -1 when it does not start like one.
int PngColorType(ImageBytes file) {
  static const uint8_t kStart[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
  if (file.size() < 26 || std::memcmp(file.data(), kStart, sizeof kStart) != 0) return -1;
  return file[25];
}

}  // namespace

TImageLoad DecodeJpegOrGif(ImageBytes file, const std::string& name) {
  const QImage decoded = Decode(file, nullptr);
  TImageLoad load = decoded.isNull() ? TImageLoad{} : BottomUpRgba(decoded, false);
  if (!load.ok) return TImageLoad::Refused("Couldn't load JPG - \"" + name + "\"", kCaption);
  return load;
}

TImageLoad DecodePng(ImageBytes file, const std::string& name) {
  const int colorType = PngColorType(file);
  if (colorType == kPngPalette) {
    return TImageLoad::Refused("This PNG type in the file:\r\n\"" + name + "\"\r\nis not supported.",
                               "Information:", MessageKind::Information);
  }
  const QImage decoded = colorType < 0 ? QImage{} : Decode(file, "PNG");
  TImageLoad load =
      decoded.isNull() ? TImageLoad{} : BottomUpRgba(decoded, colorType == kPngGreyAlpha || colorType == kPngRgba);
  if (!load.ok) return TImageLoad::Refused("Couldn't load PNG - \"" + name + "\"", kCaption);
  return load;
}

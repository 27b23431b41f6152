#include "io/image_loader.h"

#include <algorithm>
#include <cctype>

#include "io/image_bmp.h"
#include "io/image_qt.h"
#include "io/image_tga.h"
#include "io/mapped_file.h"

namespace {

std::string UpperExtension(const std::string& fileName) {
  const size_t dot = fileName.find_last_of('.');
  const size_t slash = fileName.find_last_of('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string extension = fileName.substr(dot + 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return extension;
}

// The refusal for a file that cannot be read at all.
TImageLoad Unreadable(ImageFormat format, const std::string& name) {
  switch (format) {
    case ImageFormat::Bmp: return TImageLoad::Refused("Error opening " + name, "BMP Unit");
    case ImageFormat::Tga: return TImageLoad::Refused("File not found  - " + name, "TGA Texture");
    default: return DecodeTextureImage({}, name);  // the decoder's own refusal of no data
  }
}

}  // namespace

ImageFormat ImageFormatOfName(const std::string& fileName) {
  const std::string extension = UpperExtension(fileName);
  if (extension == "BMP") return ImageFormat::Bmp;
  if (extension == "JPG" || extension == "JPEG") return ImageFormat::Jpeg;
  if (extension == "TGA") return ImageFormat::Tga;
  if (extension == "PNG") return ImageFormat::Png;
  if (extension == "GIF") return ImageFormat::Gif;
  return ImageFormat::Unknown;
}

TImageLoad DecodeTextureImage(ImageBytes file, const std::string& fileName) {
  switch (ImageFormatOfName(fileName)) {
    case ImageFormat::Bmp: return DecodeBmp(file);
    case ImageFormat::Tga: return DecodeTga(file, fileName);
    case ImageFormat::Png: return DecodePng(file, fileName);
    case ImageFormat::Jpeg:
    case ImageFormat::Gif: return DecodeJpegOrGif(file, fileName);
    case ImageFormat::Unknown: break;
  }
  return {};
}

TImageLoad LoadTextureImage(const std::string& fileName) {
  const ImageFormat format = ImageFormatOfName(fileName);
  if (format == ImageFormat::Unknown) return {};
  MappedFile file;
  TImageLoad load;
  if (file.Open(fileName)) {
    const std::string_view bytes = file.text();
    load = DecodeTextureImage({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}, fileName);
  } else {
    load = Unreadable(format, fileName);
  }
  if (!load.ok) ShowImageFailure(load.failure);
  return load;
}

void ShowImageFailure(const TImageFailure& failure) {
  if (!failure.text.empty()) ShowCaptioned(failure.kind, failure.text, failure.caption);
}

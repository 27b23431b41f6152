#include "sculpt/stamp_file.h"

#include <QImage>
#include <QString>
#include <fstream>
#include <iterator>

#include "io/image_loader.h"
#include "sculpt/stamp.h"

namespace {

std::optional<TImagePixels> ReadGeneric(const std::string& fileName) {
  QImage image(QString::fromStdString(fileName));
  if (image.isNull()) return std::nullopt;
  image = image.convertToFormat(QImage::Format_RGBA8888).mirrored();  // bottom row first
  TImagePixels pixels{image.width(), image.height(), 4, {}};
  const size_t row = static_cast<size_t>(image.width()) * 4;
  pixels.pixels.resize(row * static_cast<size_t>(image.height()));
  for (int y = 0; y < image.height(); ++y) {
    const uchar* line = image.constScanLine(y);
    std::copy(line, line + row, pixels.pixels.begin() + static_cast<std::ptrdiff_t>(row * static_cast<size_t>(y)));
  }
  return pixels;
}

}  // namespace

std::optional<TImagePixels> ReadStampPicture(const std::string& fileName) {
  const StampReader reader = StampReaderOfName(fileName);
  if (reader == StampReader::None) return std::nullopt;
  if (reader == StampReader::Generic) return ReadGeneric(fileName);
  std::ifstream in(fileName, std::ios::binary);
  if (!in) return std::nullopt;
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  TImageLoad load = DecodeTextureImage(bytes, fileName);
  if (!load.ok) return std::nullopt;
  return std::move(load.image);
}

bool ReadStampGrid(const std::string& fileName, int32_t width, int32_t height, std::vector<int32_t>& grid) {
  if (width < 1 || height < 1) return false;
  const std::optional<TImagePixels> picture = ReadStampPicture(fileName);
  if (!picture) return false;
  std::vector<int32_t> heights = SampleStampGrid(*picture, width, height);
  if (heights.empty()) return false;
  grid = std::move(heights);
  return true;
}

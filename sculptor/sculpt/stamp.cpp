#include "sculpt/stamp.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

double Fraction(double value) { return value - std::trunc(value); }

}  // namespace

TGLUV StampCoordinate(const TGLCoord& p, const TGLCoord& origin, int repeat) {
  const double a = static_cast<double>(p.x) - origin.z;
  const double b = -static_cast<double>(p.y) - origin.y;
  const double c = static_cast<double>(p.z) + origin.x;
  const double longitude = std::atan2(c, a);
  // atan2(b, |(c, a)|) is atan(b / |(c, a)|) wherever the quotient exists,
  // and stays finite straight above or below the origin.
  const double latitude = std::atan2(b, std::hypot(c, a));
  double e = 1 - longitude / (2 * std::numbers::pi);
  double d = std::fabs(0.5 - latitude / std::numbers::pi);
  if (repeat != 1) {
    e = repeat * Fraction(e);
    d = repeat * Fraction(d);
  }
  return {static_cast<float>(Fraction(e)), static_cast<float>(Fraction(d))};
}

void ComputeStampCoords(const TGeosphera& e, const TGLCoord& origin, int repeat, Tuv& coords) {
  const size_t n = std::min(e.vertices.size(), static_cast<size_t>(std::max(e.vertexCount, 0)));
  coords.resize(n);
  for (size_t i = 0; i < n; ++i) coords[i] = StampCoordinate(e.vertices[i], origin, repeat);
}

std::vector<int32_t> SampleStampGrid(const TImagePixels& picture, int32_t width, int32_t height) {
  const int64_t w = picture.width, h = picture.height, channels = picture.channels;
  if (width < 1 || height < 1 || w < 1 || h < 1 || channels < 3 ||
      picture.pixels.size() < static_cast<size_t>(w * h * channels)) {
    return {};
  }
  std::vector<int32_t> grid((static_cast<size_t>(width) + 1) * (static_cast<size_t>(height) + 1));
  size_t cell = 0;
  for (int64_t i = 0; i <= width; ++i) {
    // The last column and row fall one past the picture: they repeat its
    // edge, so a uniform picture gives one height everywhere and the tiles
    // meet without a seam.
    const int64_t x = std::min(w * i / width, w - 1);
    for (int64_t j = 0; j <= height; ++j, ++cell) {
      const int64_t y = std::min(h * j / height, h - 1);  // from the top; the pixels run bottom-up
      const uint8_t* px = &picture.pixels[static_cast<size_t>(((h - 1 - y) * w + x) * channels)];
      grid[cell] = (px[0] + 256 * px[1] + 65536 * px[2]) / 10000;
    }
  }
  return grid;
}

void CoverElement(TStampSampler& sampler, const TGeosphera& e, const TStampProjection& projection) {
  if (sampler.coords.size() < static_cast<size_t>(std::max(e.vertexCount, 0))) {
    ComputeStampCoords(e, projection.origin, projection.repeat, sampler.coords);
  }
}

StampReader StampReaderOfName(const std::string& fileName) {
  const size_t dot = fileName.rfind('.');
  if (dot == std::string::npos || fileName.find('/', dot) != std::string::npos) return StampReader::None;
  const std::string ext = fileName.substr(dot);
  if (ext == ".tif" || ext == ".tiff") return StampReader::Generic;
  if (ext == ".bmp" || ext == ".BMP") return StampReader::Bitmap;
  if (ext == ".jpg" || ext == ".jpeg") return StampReader::Jpeg;
  if (ext == ".png" || ext == ".PNG") return StampReader::Png;
  if (ext == ".gif" || ext == ".GIF") return StampReader::Gif;
  return StampReader::None;
}

// A plain RGBA raster for the generated pictures and the two formats the
// generator writes byte by byte: 32-bit TGA and 24-bit BMP.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Raster {
  int width = 0, height = 0;
  std::vector<uint8_t> rgba;  // rows top to bottom

  Raster(int w, int h) : width(w), height(h), rgba(static_cast<size_t>(w) * h * 4, 255) {}
  uint8_t* at(int x, int y) { return rgba.data() + (static_cast<size_t>(y) * width + x) * 4; }
  const uint8_t* at(int x, int y) const { return rgba.data() + (static_cast<size_t>(y) * width + x) * 4; }
  void Set(int x, int y, double r, double g, double b, double a = 1.0);
  void SetGrey(int x, int y, double v) { Set(x, y, v, v, v, 1.0); }
};

// Uncompressed true-colour TGA (image type 2), 32 bits, origin bottom-left,
// with the TGA 2.0 footer.
bool WriteTga(const std::string& path, const Raster& image);
// Uncompressed 24-bit BMP, bottom-up; the width must be a multiple of 4 so that
// rows carry no padding.
bool WriteBmp(const std::string& path, const Raster& image);

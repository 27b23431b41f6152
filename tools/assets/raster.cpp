#include "assets/raster.h"

#include <algorithm>
#include <cmath>
#include <fstream>

namespace {

uint8_t ToByte(double v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0)); }

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(file);
}

// Pixels bottom row first as B, G, R (and A when `alpha`).
void AppendBottomUpBgr(std::vector<uint8_t>& out, const Raster& image, bool alpha) {
  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) {
      const uint8_t* p = image.at(x, y);
      out.insert(out.end(), {p[2], p[1], p[0]});
      if (alpha) out.push_back(p[3]);
    }
  }
}

}  // namespace

void Raster::Set(int x, int y, double r, double g, double b, double a) {
  uint8_t* p = at(x, y);
  p[0] = ToByte(r);
  p[1] = ToByte(g);
  p[2] = ToByte(b);
  p[3] = ToByte(a);
}

bool WriteTga(const std::string& path, const Raster& image) {
  std::vector<uint8_t> out(12, 0);
  out[2] = 2;  // uncompressed true colour, no colour map
  Put16(out, static_cast<uint32_t>(image.width));
  Put16(out, static_cast<uint32_t>(image.height));
  out.push_back(32);
  out.push_back(8);  // 8 alpha bits, origin bottom-left
  AppendBottomUpBgr(out, image, true);
  // TGA 2.0 footer (no extension or developer area): some readers insist on it.
  Put32(out, 0);
  Put32(out, 0);
  static const char kSignature[] = "TRUEVISION-XFILE.";
  out.insert(out.end(), kSignature, kSignature + sizeof kSignature);  // with its closing zero
  return WriteBytes(path, out);
}

bool WriteBmp(const std::string& path, const Raster& image) {
  if (image.width % 4 != 0) return false;
  const uint32_t pixelBytes = static_cast<uint32_t>(image.width) * static_cast<uint32_t>(image.height) * 3;
  std::vector<uint8_t> out;
  out.insert(out.end(), {'B', 'M'});
  Put32(out, 54 + pixelBytes);
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(image.width));
  Put32(out, static_cast<uint32_t>(image.height));
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0);  // no compression
  Put32(out, pixelBytes);
  Put32(out, 2835);  // 72 dpi
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  AppendBottomUpBgr(out, image, false);
  return WriteBytes(path, out);
}

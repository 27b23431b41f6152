#include "io/image_bmp.h"

#include <cstdlib>

namespace {

constexpr size_t kFileHeaderBytes = 14;
constexpr size_t kInfoHeaderBytes = 40;
constexpr const char* kCaption = "BMP Unit";

uint32_t U16(ImageBytes b, size_t at) { return uint32_t{b[at]} | uint32_t{b[at + 1]} << 8; }
uint32_t U32(ImageBytes b, size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }
int32_t I32(ImageBytes b, size_t at) { return static_cast<int32_t>(U32(b, at)); }

TImageLoad BadData() { return TImageLoad::Refused("Error reading bitmap data", kCaption); }

}  // namespace

TImageLoad DecodeBmp(ImageBytes file) {
  if (file.size() < kFileHeaderBytes + kInfoHeaderBytes || file[0] != 'B' || file[1] != 'M') return BadData();
  const uint32_t pixelOffset = U32(file, 10);
  const int32_t width = I32(file, 18);
  const int32_t height = I32(file, 22);
  const uint32_t bitsPerPixel = U16(file, 28);
  const uint32_t compression = U32(file, 30);
  const uint32_t paletteBytes = U32(file, 46);  // biClrUsed, skipped as bytes

  const size_t paletteEnd = kFileHeaderBytes + kInfoHeaderBytes + size_t{paletteBytes};
  if (paletteEnd > file.size()) return TImageLoad::Refused("Error reading palette", kCaption);
  if (bitsPerPixel != 24 || compression != 0 || width <= 0 || height == 0 || height == INT32_MIN) return BadData();

  // The pixels start where the file header says, past a larger header or a
  // palette; a header that points before its own end is taken as unpadded.
  const size_t start = pixelOffset >= paletteEnd ? pixelOffset : paletteEnd;
  const uint64_t rows = static_cast<uint64_t>(std::abs(height));
  const uint64_t rowBytes = uint64_t{static_cast<uint32_t>(width)} * 3;
  const uint64_t stride = (rowBytes + 3) / 4 * 4;
  if (start > file.size() || stride * rows > file.size() - start) return BadData();

  TImageLoad load;
  load.ok = true;
  TImagePixels& image = load.image;
  image.width = width;
  image.height = static_cast<int32_t>(rows);
  image.channels = 3;
  image.pixels.resize(rowBytes * rows);
  const bool topDown = height < 0;
  for (uint64_t r = 0; r < rows; ++r) {
    const uint8_t* in = file.data() + start + stride * (topDown ? rows - 1 - r : r);
    uint8_t* out = image.pixels.data() + rowBytes * r;
    for (uint64_t x = 0; x < rowBytes; x += 3) {
      out[x] = in[x + 2];
      out[x + 1] = in[x + 1];
      out[x + 2] = in[x];
    }
  }
  return load;
}

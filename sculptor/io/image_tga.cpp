#include "io/image_tga.h"

#include <algorithm>

namespace {

constexpr size_t kHeaderBytes = 18;
constexpr const char* kCaption = "TGA File Error";
constexpr uint8_t kTopOrigin = 0x20;  // image descriptor: first row is the top one
constexpr uint64_t kLongestPacket = 128;

uint32_t U16(ImageBytes b, size_t at) { return uint32_t{b[at]} | uint32_t{b[at + 1]} << 8; }

TImageLoad Unsupported(const std::string& name, const char* why) {
  return TImageLoad::Refused("Couldn't load \"" + name + "\". " + why, kCaption);
}

TImageLoad Short(const std::string& name) {
  return TImageLoad::Refused("Couldn't read file \"" + name + "\".", kCaption);
}

// Copies one file pixel (B, G, R[, A]) as R, G, B[, A].
inline void PutPixel(const uint8_t* in, uint8_t* out, size_t bytes) {
  out[0] = in[2];
  out[1] = in[1];
  out[2] = in[0];
  if (bytes == 4) out[3] = in[3];
}

// Unpacks run-length packets into `out` (`pixels` pixels of `bytes` each):
// false when the data end first. A packet reaching past the image is cut.
bool Unpack(ImageBytes data, uint8_t* out, uint64_t pixels, size_t bytes) {
  size_t at = 0;
  uint64_t done = 0;
  while (done < pixels) {
    if (at >= data.size()) return false;
    const uint8_t header = data[at++];
    const bool run = header > 127;
    const uint64_t count = std::min<uint64_t>(run ? header - 127u : header + 1u, pixels - done);
    const uint64_t packetBytes = run ? bytes : count * bytes;
    if (packetBytes > data.size() - at) return false;
    for (uint64_t i = 0; i < count; ++i)
      PutPixel(data.data() + at + (run ? 0 : i * bytes), out + (done + i) * bytes, bytes);
    at += packetBytes;
    done += count;
  }
  return true;
}

void FlipRows(TImagePixels& image) {
  const size_t row = static_cast<size_t>(image.width) * static_cast<size_t>(image.channels);
  for (size_t top = 0, bottom = static_cast<size_t>(image.height) - 1; top < bottom; ++top, --bottom) {
    std::swap_ranges(image.pixels.begin() + static_cast<std::ptrdiff_t>(top * row),
                     image.pixels.begin() + static_cast<std::ptrdiff_t>((top + 1) * row),
                     image.pixels.begin() + static_cast<std::ptrdiff_t>(bottom * row));
  }
}

}  // namespace

TImageLoad DecodeTga(ImageBytes file, const std::string& name) {
  if (file.size() < kHeaderBytes) return Short(name);
  const uint8_t idBytes = file[0], colorMapType = file[1], imageType = file[2];
  const uint32_t width = U16(file, 12), height = U16(file, 14);
  const uint8_t bitsPerPixel = file[16], descriptor = file[17];
  if (imageType != 2 && imageType != 10) return Unsupported(name, "Only 24 and 32bit TGA supported.");
  if (colorMapType != 0) return Unsupported(name, "Colormapped TGA files not supported.");
  if (bitsPerPixel != 24 && bitsPerPixel != 32) return Unsupported(name, "Only 24 and 32 bit TGA files supported.");

  const size_t bytes = bitsPerPixel / 8;
  const uint64_t pixels = uint64_t{width} * height;
  if (pixels == 0 || kHeaderBytes + idBytes > file.size()) return Short(name);
  const ImageBytes data = file.subspan(kHeaderBytes + idBytes);
  // Every packet holds at least one header byte and one pixel for at most 128.
  const uint64_t reachable = imageType == 2 ? data.size() / bytes : data.size() / (bytes + 1) * kLongestPacket;
  if (pixels > reachable) return Short(name);

  TImageLoad load;
  TImagePixels& image = load.image;
  image.width = static_cast<int32_t>(width);
  image.height = static_cast<int32_t>(height);
  image.channels = static_cast<int32_t>(bytes);
  image.pixels.resize(pixels * bytes);
  if (imageType == 2) {
    for (uint64_t i = 0; i < pixels; ++i) PutPixel(data.data() + i * bytes, image.pixels.data() + i * bytes, bytes);
  } else if (!Unpack(data, image.pixels.data(), pixels, bytes)) {
    return Short(name);
  }
  if (descriptor & kTopOrigin) FlipRows(image);
  load.ok = true;
  return load;
}

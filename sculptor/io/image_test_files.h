// Image files made byte by byte for the decoder tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

inline void Put16(Bytes& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
inline void Put32(Bytes& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

// Test picture: pixel (x, y), y counted from the bottom, as R, G, B, A.
inline uint8_t Channel(int x, int y, int k) {
  const int value[4] = {10 * x + 1, 20 * y + 2, 100 + x + y, 200 + x};
  return static_cast<uint8_t>(value[k]);
}

// The test picture as the decoders give it: rows bottom-up, `channels` bytes a pixel.
inline Bytes ExpectedPixels(int width, int height, int channels) {
  Bytes out;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      for (int k = 0; k < channels; ++k) out.push_back(Channel(x, y, k));
    }
  }
  return out;
}

// A 24-bit bitmap of the test picture; a negative height stores the rows top
// down. `extraHeader` bytes sit between the 40-byte header and the pixels.
inline Bytes MakeBmp(int width, int height, uint32_t extraHeader = 0) {
  const int rows = height < 0 ? -height : height;
  const uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) / 4 * 4;
  Bytes b = {'B', 'M'};
  Put32(b, 54 + extraHeader + stride * static_cast<uint32_t>(rows));
  Put32(b, 0);
  Put32(b, 54 + extraHeader);
  Put32(b, 40 + extraHeader);
  Put32(b, static_cast<uint32_t>(width));
  Put32(b, static_cast<uint32_t>(height));
  Put16(b, 1);
  Put16(b, 24);
  for (int i = 0; i < 6; ++i) Put32(b, 0);
  b.resize(b.size() + extraHeader, 0);
  for (int r = 0; r < rows; ++r) {
    const int y = height < 0 ? rows - 1 - r : r;
    for (int x = 0; x < width; ++x) {
      for (int k : {2, 1, 0}) b.push_back(Channel(x, y, k));
    }
    b.resize(b.size() + stride - static_cast<uint32_t>(width) * 3, 0xEE);
  }
  return b;
}

// An 18-byte Targa header.
inline Bytes TgaHeader(int type, int bits, int width, int height, uint8_t idBytes = 0, uint8_t descriptor = 0,
                       uint8_t colorMap = 0) {
  Bytes b = {idBytes, colorMap, static_cast<uint8_t>(type), 0, 0, 0, 0, 0, 0, 0, 0, 0};
  Put16(b, static_cast<uint32_t>(width));
  Put16(b, static_cast<uint32_t>(height));
  b.push_back(static_cast<uint8_t>(bits));
  b.push_back(descriptor);
  b.resize(b.size() + idBytes, 'i');
  return b;
}

// The test picture's pixel as a Targa file stores it (B, G, R[, A]).
inline void PutTgaPixel(Bytes& b, int x, int y, int bytes) {
  for (int k : {2, 1, 0}) b.push_back(Channel(x, y, k));
  if (bytes == 4) b.push_back(Channel(x, y, 3));
}
